#include "render/PictureFile.h"

#include "model/UserError.h"
#include "platform/FileOps.h"
#include "render/ChartRenderer.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <thread>
#include <vector>
#include <zlib.h>

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

void PutBe32(QByteArray& out, uint32_t v) {
    out.append(static_cast<char>((v >> 24) & 0xFF));
    out.append(static_cast<char>((v >> 16) & 0xFF));
    out.append(static_cast<char>((v >> 8) & 0xFF));
    out.append(static_cast<char>(v & 0xFF));
}

void PutChunk(QByteArray& out, const char* type, const QByteArray& data) {
    PutBe32(out, static_cast<uint32_t>(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    PutBe32(out,
            static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(out.constData() + start),
                                        static_cast<uInt>(out.size() - start))));
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

namespace {

// One band of rows, filtered and deflated on its own. Bands are raw deflate streams; all
// but the last end on a byte boundary without the final-block mark, so written one after
// the other they form a single stream.
struct PngBand {
    QByteArray deflated;
    uLong adler = 1;
    size_t rawSize = 0;
};

PngBand DeflateRows(const QImage& image, int y0, int y1, int level, bool last) {
    const auto w = static_cast<size_t>(image.width());
    const size_t rowBytes = w * 3 + 1;
    std::vector<uint8_t> raw(rowBytes * static_cast<size_t>(y1 - y0));
    for (int y = y0; y < y1; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uint8_t* d = raw.data() + rowBytes * static_cast<size_t>(y - y0);
        *d++ = 0; // filter "none": flat colours compress well without prediction
        for (size_t x = 0; x < w; ++x) {
            *d++ = static_cast<uint8_t>(qRed(row[x]));
            *d++ = static_cast<uint8_t>(qGreen(row[x]));
            *d++ = static_cast<uint8_t>(qBlue(row[x]));
        }
    }
    PngBand band;
    band.rawSize = raw.size();
    band.adler = adler32(1, raw.data(), static_cast<uInt>(raw.size()));
    z_stream z{};
    if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) return band;
    band.deflated.resize(
        static_cast<qsizetype>(deflateBound(&z, static_cast<uLong>(raw.size())) + 16));
    z.next_in = raw.data();
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(band.deflated.data());
    z.avail_out = static_cast<uInt>(band.deflated.size());
    deflate(&z, last ? Z_FINISH : Z_SYNC_FLUSH);
    band.deflated.resize(static_cast<qsizetype>(z.total_out));
    deflateEnd(&z);
    return band;
}

} // namespace

QByteArray EncodePng(const QImage& source, int zlibLevel) {
    const QImage image = AsRgb32(source);
    const int h = image.height();
    // Deflate is most of the cost: bands go to the cores there are.
    const int cores = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
    const int bands = h >= 256 ? cores : 1;
    std::vector<PngBand> parts(static_cast<size_t>(bands));
    std::vector<std::thread> workers;
    for (int b = 1; b < bands; ++b)
        workers.emplace_back([&, b] {
            parts[static_cast<size_t>(b)] =
                DeflateRows(image, h * b / bands, h * (b + 1) / bands, zlibLevel, b == bands - 1);
        });
    parts[0] = DeflateRows(image, 0, h / bands, zlibLevel, bands == 1);
    for (std::thread& t : workers)
        t.join();

    uLong adler = parts[0].adler;
    for (size_t b = 1; b < parts.size(); ++b)
        adler = adler32_combine(adler, parts[b].adler, static_cast<z_off_t>(parts[b].rawSize));

    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    QByteArray ihdr;
    PutBe32(ihdr, static_cast<uint32_t>(image.width()));
    PutBe32(ihdr, static_cast<uint32_t>(h));
    ihdr.append("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, deflate, no interlace
    PutChunk(out, "IHDR", ihdr);
    // The zlib header (deflate, 32K window, fastest), the bands, and the checksum, each its
    // own IDAT chunk: a decoder reads the chunks as one stream.
    PutChunk(out, "IDAT", QByteArray("\x78\x01", 2));
    for (const PngBand& band : parts)
        PutChunk(out, "IDAT", band.deflated);
    QByteArray trailer;
    PutBe32(trailer, static_cast<uint32_t>(adler));
    PutChunk(out, "IDAT", trailer);
    PutChunk(out, "IEND", QByteArray());
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
