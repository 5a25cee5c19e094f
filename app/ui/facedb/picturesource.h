// The picture shown for a downloaded image: the picture itself, or a placeholder telling that
// the camera no longer has it (404) or that it could not be fetched or decoded.
#pragma once

#include <QByteArray>
#include <QPixmap>

namespace picturesource {

enum Place { Grid, Dialog };  // 150- and 160-pixel placeholders

// result and bytes as getImage gave them.
QPixmap picture(int result, const QByteArray& bytes, Place place);

}  // namespace picturesource
