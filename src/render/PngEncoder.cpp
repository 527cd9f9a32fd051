#include "render/PngEncoder.h"

#include <algorithm>
#include <isa-l/igzip_lib.h>
#include <libdeflate.h>
#include <memory>
#include <thread>
#include <vector>
#include <zlib.h>

namespace tolvane {

namespace {

void PutBe32(QByteArray& out, uint32_t v) {
    const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    out.append(bytes, 4);
}

void PutChunk(QByteArray& out, const char* type, const char* data, qsizetype size) {
    PutBe32(out, static_cast<uint32_t>(size));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data, size);
    PutBe32(out, libdeflate_crc32(0, out.constData() + start, static_cast<size_t>(size + 4)));
}

// A row as PNG stores it unfiltered: the filter byte 0, then red, green, blue.
void PackRow(const QImage& image, int y, uint8_t* out) {
    const auto* pixel = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const int width = image.width();
    *out++ = 0;
    for (int x = 0; x < width; ++x, out += 3) {
        const QRgb p = pixel[x];
        out[0] = static_cast<uint8_t>(p >> 16);
        out[1] = static_cast<uint8_t>(p >> 8);
        out[2] = static_cast<uint8_t>(p);
    }
}

size_t RowBytes(const QImage& image) {
    return 1 + 3 * static_cast<size_t>(image.width());
}

// One band of rows deflated: raw deflate data, and the Adler-32 of the rows it holds.
struct Band {
    int y0 = 0, y1 = 0;
    QByteArray deflated;
    uint32_t adler = 1;
    bool ok = false;
};

// Rows through ISA-L, a few at a time, so only those few are ever unpacked. A sync flush
// at the end leaves the band on a byte boundary, with no final-block mark.
void DeflateFast(const QImage& image, Band& band) {
    constexpr int kRows = 16;
    const size_t rowBytes = RowBytes(image);
    std::vector<uint8_t> rows(rowBytes * kRows);
    std::vector<uint8_t> levelBuffer(ISAL_DEF_LVL2_DEFAULT);
    isal_zstream z;
    isal_deflate_init(&z);
    z.level = 2;
    z.level_buf = levelBuffer.data();
    z.level_buf_size = static_cast<uint32_t>(levelBuffer.size());
    // Pictures pack to a tenth or less; the buffer grows when one does not.
    band.deflated = QByteArray(static_cast<qsizetype>(rowBytes * (band.y1 - band.y0) / 8 + 4096),
                               Qt::Uninitialized);
    qsizetype written = 0;
    for (int y = band.y0; y < band.y1; y += kRows) {
        const int n = std::min(kRows, band.y1 - y);
        for (int k = 0; k < n; ++k)
            PackRow(image, y + k, rows.data() + rowBytes * static_cast<size_t>(k));
        const size_t size = rowBytes * static_cast<size_t>(n);
        band.adler = isal_adler32(band.adler, rows.data(), size);
        z.next_in = rows.data();
        z.avail_in = static_cast<uint32_t>(size);
        // New Huffman tables every 128 rows follow the picture's changes.
        const bool last = y + n >= band.y1;
        z.flush = last || (y - band.y0) % 128 == 128 - kRows ? SYNC_FLUSH : NO_FLUSH;
        do {
            if (band.deflated.size() - written < 65536)
                band.deflated.resize(band.deflated.size() * 2 + 65536);
            z.next_out = reinterpret_cast<uint8_t*>(band.deflated.data()) + written;
            z.avail_out = static_cast<uint32_t>(band.deflated.size() - written);
            if (isal_deflate(&z) != COMP_OK) return;
            written = band.deflated.size() - z.avail_out;
            // A full output buffer may hold back input or the flush.
        } while (z.avail_in > 0 || z.avail_out == 0);
    }
    band.deflated.resize(written);
    band.ok = true;
}

// Rows through libdeflate in one call, ending the stream.
void DeflateLast(const QImage& image, Band& band) {
    const size_t rowBytes = RowBytes(image);
    const size_t size = rowBytes * static_cast<size_t>(band.y1 - band.y0);
    const std::unique_ptr<uint8_t[]> rows(new uint8_t[size]);
    for (int y = band.y0; y < band.y1; ++y)
        PackRow(image, y, rows.get() + rowBytes * static_cast<size_t>(y - band.y0));
    band.adler = libdeflate_adler32(1, rows.get(), size);
    const std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
        libdeflate_alloc_compressor(2), libdeflate_free_compressor);
    if (!compressor) return;
    band.deflated = QByteArray(
        static_cast<qsizetype>(libdeflate_deflate_compress_bound(compressor.get(), size)),
        Qt::Uninitialized);
    const size_t written =
        libdeflate_deflate_compress(compressor.get(), rows.get(), size, band.deflated.data(),
                                    static_cast<size_t>(band.deflated.size()));
    band.deflated.resize(static_cast<qsizetype>(written));
    band.ok = written > 0;
}

// The bands: the last third of the rows (at most 16 MB of them unpacked at once) for
// libdeflate, the rest split among the other cores.
std::vector<Band> SplitRows(const QImage& image) {
    const int h = image.height();
    constexpr size_t kLastBandBytes = 16u << 20;
    const int lastRows =
        std::clamp(std::min(h / 3, static_cast<int>(kLastBandBytes / RowBytes(image))), 1, h);
    // Small pictures take no time either way: one band, packed tightest.
    const int fastRows = h < 96 ? 0 : h - lastRows;
    const int cores = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 2, 8);
    const int fastBands = fastRows == 0 ? 0 : std::min(cores - 1, std::max(1, fastRows / 64));
    std::vector<Band> bands(static_cast<size_t>(fastBands) + 1);
    for (int b = 0; b < fastBands; ++b) {
        bands[static_cast<size_t>(b)].y0 = fastRows * b / fastBands;
        bands[static_cast<size_t>(b)].y1 = fastRows * (b + 1) / fastBands;
    }
    bands.back().y0 = fastRows;
    bands.back().y1 = h;
    return bands;
}

} // namespace

QByteArray EncodePng(const QImage& source) {
    if (source.isNull()) return {};
    const QImage image =
        source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
            ? source
            : source.convertToFormat(QImage::Format_RGB32);
    std::vector<Band> bands = SplitRows(image);
    std::vector<std::thread> workers;
    for (size_t b = 0; b + 1 < bands.size(); ++b)
        workers.emplace_back([&image, &band = bands[b]] { DeflateFast(image, band); });
    DeflateLast(image, bands.back());
    for (std::thread& t : workers)
        t.join();

    uLong adler = bands[0].adler;
    for (size_t b = 0; b < bands.size(); ++b) {
        if (!bands[b].ok) return {};
        if (b > 0)
            adler = adler32_combine(
                adler, bands[b].adler,
                static_cast<z_off_t>(RowBytes(image) *
                                     static_cast<size_t>(bands[b].y1 - bands[b].y0)));
    }

    qsizetype total = 128;
    for (const Band& band : bands)
        total += band.deflated.size() + 12;
    QByteArray out;
    out.reserve(total);
    out.append("\x89PNG\r\n\x1a\n", 8);
    QByteArray header;
    PutBe32(header, static_cast<uint32_t>(image.width()));
    PutBe32(header, static_cast<uint32_t>(image.height()));
    header.append("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, deflate, no filter set, no interlace
    PutChunk(out, "IHDR", header.constData(), header.size());
    // The zlib header (deflate, 32K window, fastest), the bands, and the checksum, each its
    // own IDAT chunk: a decoder reads the chunks as one stream.
    PutChunk(out, "IDAT", "\x78\x01", 2);
    for (const Band& band : bands)
        PutChunk(out, "IDAT", band.deflated.constData(), band.deflated.size());
    QByteArray trailer;
    PutBe32(trailer, static_cast<uint32_t>(adler));
    PutChunk(out, "IDAT", trailer.constData(), trailer.size());
    PutChunk(out, "IEND", "", 0);
    return out;
}

} // namespace tolvane
