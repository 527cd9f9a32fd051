#include "render/PictureFile.h"

#include "model/UserError.h"
#include "platform/FileOps.h"
#include "render/ChartRenderer.h"
#include "render/PngEncoder.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace tolvane {

PictureFormat PictureFormatFor(const QString& path) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == u"png") return PictureFormat::Png;
    if (ext == u"svg") return PictureFormat::Svg;
    if (ext == u"pdf") return PictureFormat::Pdf;
    return PictureFormat::Bmp;
}

namespace {

void PutLe16(QByteArray& out, uint32_t v) {
    out.append(static_cast<char>(v & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
}

void PutLe32(QByteArray& out, uint32_t v) {
    PutLe16(out, v & 0xFFFF);
    PutLe16(out, v >> 16);
}

QImage AsRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
               ? image
               : image.convertToFormat(QImage::Format_RGB32);
}

void CheckSize(QSize size) {
    // Beyond this a picture is a mistake, and its memory would stop the program.
    constexpr int kLargest = 20000;
    if (size.width() < 1 || size.height() < 1 || size.width() > kLargest ||
        size.height() > kLargest)
        throw UserError(QStringLiteral("A chart picture of %1 x %2 pixels cannot be made.")
                            .arg(size.width())
                            .arg(size.height()));
}

} // namespace

QByteArray EncodeBmp24(const QImage& source) {
    const QImage image = AsRgb32(source);
    const auto w = static_cast<uint32_t>(image.width());
    const auto h = static_cast<uint32_t>(image.height());
    const uint32_t stride = (w * 3 + 3) & ~3u;
    const uint32_t pixelBytes = stride * h;
    QByteArray out;
    out.reserve(static_cast<qsizetype>(54 + pixelBytes));
    out.append("BM", 2);
    PutLe32(out, 54 + pixelBytes);
    PutLe32(out, 0);
    PutLe32(out, 54);
    PutLe32(out, 40); // BITMAPINFOHEADER
    PutLe32(out, w);
    PutLe32(out, h); // positive: rows bottom-up
    PutLe16(out, 1);
    PutLe16(out, 24);
    PutLe32(out, 0); // no compression
    PutLe32(out, pixelBytes);
    PutLe32(out, 3780); // 96 dpi
    PutLe32(out, 3780);
    PutLe32(out, 0);
    PutLe32(out, 0);
    const qsizetype header = out.size();
    out.resize(header + static_cast<qsizetype>(pixelBytes));
    char* dst = out.data() + header;
    for (uint32_t y = 0; y < h; ++y) {
        const auto* row =
            reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(h - 1 - y)));
        char* d = dst + static_cast<size_t>(y) * stride;
        for (uint32_t x = 0; x < w; ++x) {
            *d++ = static_cast<char>(qBlue(row[x]));
            *d++ = static_cast<char>(qGreen(row[x]));
            *d++ = static_cast<char>(qRed(row[x]));
        }
        for (uint32_t pad = w * 3; pad < stride; ++pad)
            *d++ = 0;
    }
    return out;
}

EncodedPicture EncodeChartPicture(const ChartScene& scene, PictureFormat format, QSize size) {
    CheckSize(size);
    EncodedPicture out;
    QElapsedTimer timer;
    timer.start();
    const QRectF frame(QPointF(0, 0), QSizeF(size));
    switch (format) {
    case PictureFormat::Bmp:
    case PictureFormat::Png: {
        const QImage image = RenderChartImage(scene, size);
        out.drawMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        out.bytes = format == PictureFormat::Png ? EncodePng(image) : EncodeBmp24(image);
        break;
    }
    case PictureFormat::Svg: {
        QBuffer buffer(&out.bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(frame);
        svg.setResolution(96);
        svg.setTitle(scene.movie ? scene.movie->title : QString());
        QPainter painter(&svg);
        RenderChart(painter, scene, frame);
        painter.end();
        break;
    }
    case PictureFormat::Pdf: {
        QBuffer buffer(&out.bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        // A pixel of the picture is a pixel of a 96 dpi screen on paper.
        pdf.setResolution(96);
        pdf.setPageSize(
            QPageSize(QSizeF(size.width() * 0.75, size.height() * 0.75), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(scene.movie ? scene.movie->title : QString());
        QPainter painter(&pdf);
        const QRect device = painter.viewport();
        RenderChart(painter, scene, QRectF(device));
        painter.end();
        break;
    }
    }
    if (format == PictureFormat::Svg || format == PictureFormat::Pdf)
        out.drawMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    else
        out.encodeMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    return out;
}

void WriteChartPicture(const ChartScene& scene, const QString& path, QSize size) {
    if (path.trimmed().isEmpty())
        throw UserError(QStringLiteral("No file name was given for the chart picture."));
    const EncodedPicture picture = EncodeChartPicture(scene, PictureFormatFor(path), size);
    if (picture.bytes.isEmpty())
        throw UserError(QStringLiteral("The chart picture %1 could not be made.")
                            .arg(QDir::toNativeSeparators(path)));
    WriteFileAtomically(path, picture.bytes);
}

} // namespace tolvane
