// Real JPEG pictures made at test time.
#pragma once

#include <QString>

namespace testpictures {

// Writes a width x height JPEG of varied content to dir/name and returns its path (empty on
// failure). seed varies the content, and so the bytes.
QString writeJpeg(const QString& dir, const QString& name, int width, int height, int seed = 0);

}  // namespace testpictures
