#include "render/ThickLines.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <mutex>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tolvane {

bool CanStrokeDirectly(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return true;
    default:
        return false;
    }
}

namespace {

// Cleared buffers, ready for the next mask.
struct BufferPool {
    std::mutex mutex;
    std::vector<std::vector<uint8_t>> free;
};

BufferPool& Pool() {
    static BufferPool pool;
    return pool;
}

std::vector<uint8_t> TakeBuffer(size_t size) {
    {
        std::lock_guard lock(Pool().mutex);
        auto& free = Pool().free;
        for (auto it = free.begin(); it != free.end(); ++it) {
            if (it->size() == size) {
                std::vector<uint8_t> buffer = std::move(*it);
                free.erase(it);
                return buffer;
            }
        }
    }
    return std::vector<uint8_t>(size, 0);
}

void GiveBack(std::vector<uint8_t> buffer) {
    std::lock_guard lock(Pool().mutex);
    auto& free = Pool().free;
    // Two per picture (borders and land edges), and a picture or two at once.
    if (free.size() >= 4) free.erase(free.begin());
    free.push_back(std::move(buffer));
}

} // namespace

QImage* DirectTarget(const QPainter& painter, QTransform* toImage,
                     QTransform::TransformationType most) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image) return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QTransform transform = painter.deviceTransform();
    if (!CanStrokeDirectly(*image) || transform.type() > most) return nullptr;
    if (toImage) *toImage = transform;
    return image;
}

ThickLineMask::ThickLineMask(QSize size, double width)
    : width_(std::max(0, size.width()))
    , height_(std::max(0, size.height()))
    , halfWidth_(static_cast<float>(std::max(0.5, width) / 2))
    , coverage_(TakeBuffer(static_cast<size_t>(width_) * static_cast<size_t>(height_)))
    , rowMin_(static_cast<size_t>(height_), INT_MAX)
    , rowMax_(static_cast<size_t>(height_), -1) {}

ThickLineMask::~ThickLineMask() {
    for (int y = 0; y < height_; ++y) {
        const int x0 = rowMin_[static_cast<size_t>(y)], x1 = rowMax_[static_cast<size_t>(y)];
        if (x1 >= x0)
            std::memset(coverage_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_) +
                            x0,
                        0, static_cast<size_t>(x1 - x0 + 1));
    }
    GiveBack(std::move(coverage_));
}

void ThickLineMask::addPolyline(std::span<const QPointF> line, const QTransform& toDevice) {
    if (line.empty()) return;
    // A map's borders are a million points: mapped here, as QTransform::map maps an affine
    // transform, without a call and a type test for each.
    const bool affine = toDevice.type() <= QTransform::TxShear;
    const double m11 = toDevice.m11(), m12 = toDevice.m12(), m21 = toDevice.m21();
    const double m22 = toDevice.m22(), tx = toDevice.dx(), ty = toDevice.dy();
    const auto map = [&](const QPointF& p) {
        return affine ? QPointF(m11 * p.x() + m21 * p.y() + tx, m12 * p.x() + m22 * p.y() + ty)
                      : toDevice.map(p);
    };
    QPointF last = map(line[0]);
    if (line.size() == 1) addSegment(last, last);
    // A wide line (a halo around letters) hides the corners a longer step cuts off curves.
    const double step = std::max(0.5, halfWidth_ / 3.0);
    const double step2 = step * step;
    for (size_t i = 1, n = line.size(); i < n; ++i) {
        const QPointF p = map(line[i]);
        const QPointF d = p - last;
        if (i + 1 < n && d.x() * d.x() + d.y() * d.y() < step2) continue;
        addSegment(last, p);
        last = p;
    }
}

namespace {

// Floor and ceiling without a library call (the baseline x86-64 has no rounding instruction).
inline int FloorInt(float v) {
    const int i = static_cast<int>(v);
    return v < static_cast<float>(i) ? i - 1 : i;
}

inline int CeilInt(float v) {
    const int i = static_cast<int>(v);
    return v > static_cast<float>(i) ? i + 1 : i;
}

} // namespace

// Cuts the segment a-b to `box`; false when none of it lies inside. An end outside is moved
// onto the edge it lies beyond, the other coordinate found from the line's slope, so a
// segment between far-away points keeps the visible part exactly where it is.
bool ClipSegment(QPointF& a, QPointF& b, const QRectF& box) {
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
        !std::isfinite(b.y()))
        return false;
    enum : int { Left = 1, Right = 2, Top = 4, Bottom = 8 };
    const auto outcode = [&box](const QPointF& p) {
        return (p.x() < box.left()    ? Left
                : p.x() > box.right() ? Right
                                      : 0) |
               (p.y() < box.top()      ? Top
                : p.y() > box.bottom() ? Bottom
                                       : 0);
    };
    // Each step puts one end on an edge; four per end at most, unless the arithmetic
    // overflowed, which leaves nothing worth drawing.
    for (int step = 0; step < 8; ++step) {
        const int ca = outcode(a), cb = outcode(b);
        if (!(ca | cb)) return true;
        if (ca & cb) return false;
        QPointF& p = ca ? a : b;
        const int c = ca ? ca : cb;
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        if (c & (Left | Right)) {
            const double x = c & Left ? box.left() : box.right();
            p = QPointF(x, a.y() + dy * ((x - a.x()) / dx));
        } else {
            const double y = c & Top ? box.top() : box.bottom();
            p = QPointF(a.x() + dx * ((y - a.y()) / dy), y);
        }
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) return false;
    }
    return false;
}

#if defined(__SSE2__)
namespace {

// Pixels x0 .. x1 of a row (at least four), four at a time, each raised to the coverage of
// its distance to the segment from (ax, ay) by (dx, dy); py is the row's centre less ay.
// Pixels beyond reach get coverage 0, which leaves them as they were; the last four may
// overlap pixels already done, which then take the same value again.
void CoverRun(uint8_t* row, int x0, int x1, float ax, float py, float dx, float dy, float inv,
              float reach, float solid2) {
    const __m128 zero = _mm_setzero_ps(), one = _mm_set1_ps(1.0f);
    const __m128 dxV = _mm_set1_ps(dx), dyV = _mm_set1_ps(dy), invV = _mm_set1_ps(inv);
    const __m128 pyV = _mm_set1_ps(py), reachV = _mm_set1_ps(reach);
    const __m128 solid2V = _mm_set1_ps(solid2);
    const __m128 along0 = _mm_mul_ps(pyV, dyV);
    const __m128 axV = _mm_set1_ps(ax), half = _mm_set1_ps(0.5f);
    const __m128i steps = _mm_setr_epi32(0, 1, 2, 3);
    for (int x = x0; x <= x1; x += 4) {
        const int base = std::min(x, x1 - 3);
        const __m128 px = _mm_add_ps(
            _mm_sub_ps(_mm_cvtepi32_ps(_mm_add_epi32(_mm_set1_epi32(base), steps)), axV), half);
        const __m128 t = _mm_min_ps(
            _mm_max_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(px, dxV), along0), invV), zero), one);
        const __m128 ex = _mm_sub_ps(px, _mm_mul_ps(t, dxV));
        const __m128 ey = _mm_sub_ps(pyV, _mm_mul_ps(t, dyV));
        const __m128 d2 = _mm_add_ps(_mm_mul_ps(ex, ex), _mm_mul_ps(ey, ey));
        __m128 cover = _mm_max_ps(_mm_min_ps(_mm_sub_ps(reachV, _mm_sqrt_ps(d2)), one), zero);
        cover = _mm_max_ps(cover, _mm_and_ps(_mm_cmple_ps(d2, solid2V), one));
        const __m128i v32 =
            _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(cover, _mm_set1_ps(255.0f)), half));
        const __m128i v16 = _mm_packs_epi32(v32, v32);
        const __m128i v8 = _mm_packus_epi16(v16, v16);
        int32_t old;
        std::memcpy(&old, row + base, sizeof old);
        const int32_t laid = _mm_cvtsi128_si32(_mm_max_epu8(v8, _mm_cvtsi32_si128(old)));
        std::memcpy(row + base, &laid, sizeof laid);
    }
}

// The rows y0 .. y1 of a segment at most `Wide` pixels wide (four or eight), pixels x0 ..
// x0 + Wide - 1 each (within the image): a map's borders are mostly such short segments,
// where narrowing each row to the segment's part costs more than measuring the pixels it
// skips, which lie beyond reach and keep their coverage. Same arithmetic as CoverRun.
template <int Wide>
void CoverNarrow(uint8_t* rows, size_t stride, int x0, int y0, int y1, float ax, float ay, float dx,
                 float dy, float inv, float reach, float solid2) {
    const __m128 zero = _mm_setzero_ps(), one = _mm_set1_ps(1.0f), half = _mm_set1_ps(0.5f);
    const __m128 dxV = _mm_set1_ps(dx), dyV = _mm_set1_ps(dy), invV = _mm_set1_ps(inv);
    const __m128 reachV = _mm_set1_ps(reach), solid2V = _mm_set1_ps(solid2);
    const __m128 scale = _mm_set1_ps(255.0f), axV = _mm_set1_ps(ax);
    const __m128i first = _mm_add_epi32(_mm_set1_epi32(x0), _mm_setr_epi32(0, 1, 2, 3));
    const __m128 pxLo = _mm_add_ps(_mm_sub_ps(_mm_cvtepi32_ps(first), axV), half);
    const __m128 pxHi =
        _mm_add_ps(_mm_sub_ps(_mm_cvtepi32_ps(_mm_add_epi32(first, _mm_set1_epi32(4))), axV), half);
    const auto cover = [&](__m128 px, __m128 pyV, __m128 along0) {
        const __m128 t = _mm_min_ps(
            _mm_max_ps(_mm_mul_ps(_mm_add_ps(_mm_mul_ps(px, dxV), along0), invV), zero), one);
        const __m128 ex = _mm_sub_ps(px, _mm_mul_ps(t, dxV));
        const __m128 ey = _mm_sub_ps(pyV, _mm_mul_ps(t, dyV));
        const __m128 d2 = _mm_add_ps(_mm_mul_ps(ex, ex), _mm_mul_ps(ey, ey));
        __m128 c = _mm_max_ps(_mm_min_ps(_mm_sub_ps(reachV, _mm_sqrt_ps(d2)), one), zero);
        c = _mm_max_ps(c, _mm_and_ps(_mm_cmple_ps(d2, solid2V), one));
        return _mm_cvttps_epi32(_mm_add_ps(_mm_mul_ps(c, scale), half));
    };
    uint8_t* at = rows + static_cast<size_t>(y0) * stride + x0;
    for (int y = y0; y <= y1; ++y, at += stride) {
        const __m128 pyV = _mm_set1_ps(static_cast<float>(y) + 0.5f - ay);
        const __m128 along0 = _mm_mul_ps(pyV, dyV);
        if constexpr (Wide == 8) {
            const __m128i v16 = _mm_packs_epi32(cover(pxLo, pyV, along0), cover(pxHi, pyV, along0));
            const __m128i old = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(at));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(at),
                             _mm_max_epu8(_mm_packus_epi16(v16, v16), old));
        } else {
            const __m128i v32 = cover(pxLo, pyV, along0);
            const __m128i v16 = _mm_packs_epi32(v32, v32);
            int32_t old;
            std::memcpy(&old, at, sizeof old);
            const int32_t laid =
                _mm_cvtsi128_si32(_mm_max_epu8(_mm_packus_epi16(v16, v16), _mm_cvtsi32_si128(old)));
            std::memcpy(at, &laid, sizeof laid);
        }
    }
}

} // namespace
#endif

void ThickLineMask::addSegment(QPointF pa, QPointF pb) {
    // Pixels whose centre lies within `reach` of the segment get some coverage; those
    // within `solid` are covered whole.
    const float reach = halfWidth_ + 0.5f;
    const float reach2 = reach * reach;
    const float solid = std::max(0.0f, halfWidth_ - 0.5f);
    const float solid2 = solid * solid;
    // Only the part near the image is measured: a point far outside (a damaged map, a
    // picture of a small part of a large one) must neither cost time nor leave the range
    // the pixel arithmetic works in.
    const double margin = reach + 2.0;
    const QRectF box(-margin, -margin, width_ + 2 * margin, height_ + 2 * margin);
    const auto within = [&box](const QPointF& p) {
        return p.x() >= box.left() && p.x() <= box.right() && p.y() >= box.top() &&
               p.y() <= box.bottom();
    };
    if (!(within(pa) && within(pb)) && !ClipSegment(pa, pb, box)) return;
    const auto ax = static_cast<float>(pa.x()), ay = static_cast<float>(pa.y());
    const auto bx = static_cast<float>(pb.x()), by = static_cast<float>(pb.y());
    const float dx = bx - ax, dy = by - ay;
    const float len2 = dx * dx + dy * dy;
    const float inv = len2 > 0 ? 1.0f / len2 : 0.0f;
    const float invDy = dy != 0 ? 1.0f / dy : 0.0f;

    const int y0 = std::max(0, FloorInt(std::min(ay, by) - reach));
    const int y1 = std::min(height_ - 1, CeilInt(std::max(ay, by) + reach));
#if defined(__SSE2__)
    // Only pixels whose centre (k + 0.5) lies within reach of the box of the segment can
    // take any coverage.
    const int left = std::max(0, CeilInt(std::min(ax, bx) - reach - 0.5f));
    const int right = std::min(width_ - 1, FloorInt(std::max(ax, bx) + reach - 0.5f));
    const int top = std::max(0, CeilInt(std::min(ay, by) - reach - 0.5f));
    const int bottom = std::min(height_ - 1, FloorInt(std::max(ay, by) + reach - 0.5f));
    if (right - left < 8 && width_ >= 8) {
        if (top > bottom || left > right) return;
        const int wide = right - left < 4 ? 4 : 8;
        const int x0 = std::min(left, width_ - wide);
        const auto stride = static_cast<size_t>(width_);
        if (wide == 4)
            CoverNarrow<4>(coverage_.data(), stride, x0, top, bottom, ax, ay, dx, dy, inv, reach,
                           solid2);
        else
            CoverNarrow<8>(coverage_.data(), stride, x0, top, bottom, ax, ay, dx, dy, inv, reach,
                           solid2);
        for (int y = top; y <= bottom; ++y) {
            int& from = rowMin_[static_cast<size_t>(y)];
            int& to = rowMax_[static_cast<size_t>(y)];
            from = std::min(from, x0);
            to = std::max(to, x0 + wide - 1);
        }
        return;
    }
#endif
    for (int y = y0; y <= y1; ++y) {
        const float py = static_cast<float>(y) + 0.5f - ay;
        // The part of the segment within `reach` rows of this one, widened by `reach`.
        float tA = 0, tB = 1;
        if (dy != 0) {
            tA = (py - reach) * invDy;
            tB = (py + reach) * invDy;
            if (tA > tB) std::swap(tA, tB);
            tA = std::clamp(tA, 0.0f, 1.0f);
            tB = std::clamp(tB, 0.0f, 1.0f);
        }
        const float xa = dx * tA, xb = dx * tB;
        const int x0 = std::max(0, FloorInt(ax + std::min(xa, xb) - reach));
        const int x1 = std::min(width_ - 1, CeilInt(ax + std::max(xa, xb) + reach));
        if (x0 > x1) continue;
        uint8_t* row = coverage_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
#if defined(__SSE2__)
        if (x1 - x0 >= 3) {
            CoverRun(row, x0, x1, ax, py, dx, dy, inv, reach, solid2);
        } else
#endif
        {
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) - ax + 0.5f;
                const float t = std::clamp((px * dx + py * dy) * inv, 0.0f, 1.0f);
                const float ex = px - t * dx, ey = py - t * dy;
                const float d2 = ex * ex + ey * ey;
                if (d2 >= reach2) continue;
                const uint8_t v = d2 <= solid2
                                      ? uint8_t(255)
                                      : static_cast<uint8_t>(
                                            std::min(1.0f, reach - std::sqrt(d2)) * 255.0f + 0.5f);
                if (v > row[x]) row[x] = v;
            }
        }
        rowMin_[static_cast<size_t>(y)] = std::min(rowMin_[static_cast<size_t>(y)], x0);
        rowMax_[static_cast<size_t>(y)] = std::max(rowMax_[static_cast<size_t>(y)], x1);
    }
}

#if defined(__SSE2__)
namespace {

// x / 255 rounded down, for every x up to 65,152 (255 * 255 + 127), in 16-bit lanes.
inline __m128i Div255(__m128i x) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)),
                          8);
}

// Four pixels "over" with `ink` (blue, green, red, 255 in 16-bit lanes, twice) at the four
// coverages in `cover`: the arithmetic of the one-pixel blend, lane by lane, so the pixels
// come out the same. A pixel at coverage 0 keeps its value.
inline void BlendFour(QRgb* at, uint32_t cover, __m128i ink, __m128i alpha) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i a = Div255(_mm_mullo_epi16(
        _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(cover)), zero), alpha));
    const __m128i pairs = _mm_unpacklo_epi16(a, a); // a0 a0 a1 a1 a2 a2 a3 a3
    const __m128i full = _mm_set1_epi16(255), round = _mm_set1_epi16(127);
    const auto blend = [&](__m128i d, __m128i a4) {
        const __m128i sum = _mm_add_epi16(
            _mm_add_epi16(_mm_mullo_epi16(ink, a4), _mm_mullo_epi16(d, _mm_sub_epi16(full, a4))),
            round);
        return Div255(sum);
    };
    auto* p = reinterpret_cast<__m128i*>(at);
    const __m128i four = _mm_loadu_si128(p);
    const __m128i lo = blend(_mm_unpacklo_epi8(four, zero), _mm_unpacklo_epi32(pairs, pairs));
    const __m128i hi = blend(_mm_unpackhi_epi8(four, zero), _mm_unpackhi_epi32(pairs, pairs));
    _mm_storeu_si128(p, _mm_packus_epi16(lo, hi));
}

} // namespace
#endif

void ThickLineMask::composite(QImage& image, const QColor& color, const QRect& clip) const {
    if (image.width() != width_ || image.height() != height_ || !CanStrokeDirectly(image)) return;
    const int alpha = color.alpha();
    const int cr = color.red(), cg = color.green(), cb = color.blue();
    const QRect area = clip.isNull() ? QRect(0, 0, width_, height_)
                                     : clip.intersected(QRect(0, 0, width_, height_));
#if defined(__SSE2__)
    const __m128i ink = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(qRgba(cr, cg, cb, 255))),
                                          _mm_setzero_si128());
    const __m128i alphaV = _mm_set1_epi16(static_cast<short>(alpha));
#endif
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const int x0 = std::max(rowMin_[static_cast<size_t>(y)], area.left());
        const int x1 = std::min(rowMax_[static_cast<size_t>(y)], area.right());
        if (x1 < x0) continue;
        const uint8_t* cov =
            coverage_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
        auto* px = reinterpret_cast<QRgb*>(image.scanLine(y));
        int x = x0;
#if defined(__SSE2__)
        // Lines are sparse: untouched stretches are passed over sixteen pixels at a time, and
        // the rest blended four at a time.
        for (; x + 15 <= x1; x += 16) {
            const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cov + x));
            if (_mm_movemask_epi8(_mm_cmpeq_epi8(sixteen, _mm_setzero_si128())) == 0xFFFF) continue;
            for (int k = 0; k < 16; k += 4) {
                uint32_t cover;
                std::memcpy(&cover, cov + x + k, sizeof cover);
                if (cover) BlendFour(px + x + k, cover, ink, alphaV);
            }
        }
#endif
        for (; x <= x1; ++x) {
            if (!cov[x]) {
                // Lines are sparse: pass over untouched stretches eight pixels at a time.
                while (x + 8 <= x1) {
                    uint64_t word;
                    std::memcpy(&word, cov + x + 1, sizeof word);
                    if (word) break;
                    x += 8;
                }
                continue;
            }
            // "Over" with an opaque colour at coverage a: exact for opaque and premultiplied
            // pixels, which are all a chart ever paints on.
            const int a = cov[x] * alpha / 255;
            const int keep = 255 - a;
            const QRgb d = px[x];
            px[x] = qRgba(
                (cr * a + qRed(d) * keep + 127) / 255, (cg * a + qGreen(d) * keep + 127) / 255,
                (cb * a + qBlue(d) * keep + 127) / 255, a + (qAlpha(d) * keep + 127) / 255);
        }
    }
}

} // namespace tolvane
