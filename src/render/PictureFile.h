#pragma once

#include "render/ChartScene.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace tolvane {

enum class PictureFormat { Bmp, Png, Svg, Pdf };

// Chosen by the file name's extension; anything but .png, .svg and .pdf is a bitmap.
PictureFormat PictureFormatFor(const QString& path);

// A Windows bitmap, 24 bits per pixel, bottom-up, of exactly the image's size.
QByteArray EncodeBmp24(const QImage& image);

// A PNG of the image's RGB pixels. Chart pictures are large flat areas, which the fastest
// deflate level already packs well; level 6 would cost several times the time for a few
// per cent.
QByteArray EncodePng(const QImage& image, int zlibLevel = 1);

// Draws the scene at `size` and writes it in the format the name asks for, through a
// temporary file renamed over the target. Throws UserError with a readable message.
void WriteChartPicture(const ChartScene& scene, const QString& path, QSize size);

// The encoded bytes WriteChartPicture would write, and the time split for the command line.
struct EncodedPicture {
    QByteArray bytes;
    double drawMs = 0;
    double encodeMs = 0;
};
EncodedPicture EncodeChartPicture(const ChartScene& scene, PictureFormat format, QSize size);

} // namespace tolvane
