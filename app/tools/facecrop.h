// The geometry of a face crop: the enlarged box around a face and the size limit of the result.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QTransform>

// The face box mapped through enlarge (a pure scale), then moved back so that its centre is
// the face box's centre. It may reach past the picture's edges.
QRect faceCropRect(const QRect& face, const QTransform& enlarge);

// The largest picture the image checks accept.
constexpr QSize kMaxCropSize(1920, 1080);

// size unchanged when it fits within limit; else shrunk by the larger of the two side ratios,
// each side truncated (3840 x 1620 -> 1920 x 810 for 1920 x 1080).
QSize limitedSize(const QSize& size, const QSize& limit = kMaxCropSize);

// The crop as a JPEG that passes the upload check it feeds: within kMaxCropSize, at least 100
// pixels on its shorter side (a smaller crop is enlarged) and at most 102400 bytes. The quality
// is lowered step by step first, then the size; empty when even a picture of 100 pixels on its
// shorter side does not fit.
QByteArray uploadableJpeg(const QImage& crop);
