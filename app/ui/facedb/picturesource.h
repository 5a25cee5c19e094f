// The picture shown for a downloaded image: the picture itself, or a placeholder telling that
// the camera no longer has it (404) or that it could not be fetched or decoded. Camera bytes are
// hostile: the size a picture declares is read before anything is decoded.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>

namespace picturesource {

enum Place { Grid, Dialog };  // 150- and 160-pixel placeholders

// The largest picture decoded, as pixels per side and in all (64 MB as 32-bit pixels).
constexpr int kMaxSide = 8192;
constexpr qint64 kMaxPixels = qint64(4096) * 4096;

// The decoded picture, or a null image when the bytes do not decode or declare a size beyond
// the limits above (nothing is decoded then).
QImage decodeBounded(const QByteArray& bytes);

// result and bytes as getImage gave them.
QPixmap picture(int result, const QByteArray& bytes, Place place);

}  // namespace picturesource
