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
