// The pictures a benchmark uploads: count plain 160 x 200 JPEGs in dir, each of its own colour.
#pragma once

#include <QString>
#include <QVector>

#include "dbutil/records.h"

namespace benchpictures {

// Named "person N", files "pN.jpg"; colourStep sets how far apart their colours lie.
QVector<SFeatrueInfo> write(const QString& dir, int count, int colourStep);

}  // namespace benchpictures
