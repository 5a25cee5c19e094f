// A small animated-GIF writer: one fixed 256-colour palette, LZW-compressed frames, looping.
#pragma once

#include <QByteArray>
#include <QRgb>
#include <QVector>

class GifWriter {
public:
    // palette: up to 256 colours; transparentIndex marks see-through pixels (-1: none).
    GifWriter(int width, int height, const QVector<QRgb>& palette, int transparentIndex);

    // indices: width * height palette indices, row by row; delay in hundredths of a second.
    void addFrame(const QByteArray& indices, int delayCs);
    QByteArray finish();

    // The LZW code stream of one frame's indices, 8-bit minimum code size, without sub-blocks.
    static QByteArray lzw(const QByteArray& indices);

private:
    void put16(int value);
    QByteArray out_;
    int width_;
    int height_;
    int transparentIndex_;
};
