// The pictures a benchmark uploads: plain 160 x 200 JPEGs, each of its own colour and marked
// with its number, so that no two of a run have the same bytes.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include "dbutil/records.h"

namespace benchpictures {

// Picture number index as JPEG bytes; colourStep sets how far apart the colours lie.
QByteArray jpeg(int index, int colourStep);

// Writes count pictures to dir, named "person N", files "pN.jpg".
QVector<SFeatrueInfo> write(const QString& dir, int count, int colourStep);

}  // namespace benchpictures
