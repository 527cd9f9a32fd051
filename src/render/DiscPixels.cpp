#include "render/DiscPixels.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <future>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tolvane {

BubbleDiscs DiscsOf(double radius, const QColor& fill, double unit) {
    const double rim = std::max(1.0, 0.6 * unit);
    const double edge = std::max(0.8, 0.3 * unit);
    return {Disc{radius + rim / 2, QColor(255, 255, 255, 230)},
            Disc{radius - rim / 2 + edge / 2, fill.darker(150)},
            Disc{radius - rim / 2 - edge / 2, fill}};
}

namespace {

// Each byte of `x` times a / 255, rounded: two channels at a time.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
    uint32_t t = (x & 0xff00ff) * a;
    t = ((t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return x | t;
}

// "Over" with a premultiplied ink at coverage `a` (0 .. 255) onto an opaque or
// premultiplied pixel. At coverage 0 the pixel stays as it was, bit for bit.
inline QRgb Over(QRgb d, QRgb ink, uint32_t a) {
    const uint32_t s = ByteMul(ink, a);
    return s + ByteMul(d, 255 - qAlpha(s));
}

// The coverage (0 .. 255) of a disc whose rim lies `inside` pixels beyond the pixel centre.
inline uint32_t Coverage(float inside) {
    const int a = static_cast<int>(inside * 255.0f + 0.5f);
    return static_cast<uint32_t>(a < 0 ? 0 : a > 255 ? 255 : a);
}

// What a run of ring pixels needs: the three inks, premultiplied, and how far each disc
// reaches (its radius and half a pixel).
struct Rings {
    std::array<QRgb, 3> inks;
    std::array<float, 3> reach;
};

// Pixel x of a row lies x + left pixels right of the centre and dy2 is the square of its
// distance below it. Every ring is laid over the pixel: one the pixel lies beyond leaves it
// as it was, so no pixel needs a decision of its own.
inline QRgb RingPixel(QRgb p, const Rings& r, float dx, float dy2) {
    const float d = std::sqrt(dx * dx + dy2);
    for (size_t k = 0; k < 3; ++k)
        p = Over(p, r.inks[k], Coverage(r.reach[k] - d));
    return p;
}

#if defined(__SSE2__)
// The same arithmetic as ByteMul and Over, on two pixels spread to 16-bit channels. Every
// sum stays below 65,536, so the results are those of the scalar code exactly.
inline __m128i MulLanes(__m128i x, __m128i a) {
    const __m128i u = _mm_mullo_epi16(x, a);
    return _mm_srli_epi16(
        _mm_add_epi16(_mm_add_epi16(u, _mm_srli_epi16(u, 8)), _mm_set1_epi16(0x80)), 8);
}

inline __m128i OverLanes(__m128i d, __m128i ink, __m128i a) {
    const __m128i s = MulLanes(ink, a);
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
    return _mm_add_epi16(s, MulLanes(d, _mm_sub_epi16(_mm_set1_epi16(255), alpha)));
}

// The same rings, set out once per bubble for four pixels at a time.
struct RingLanes {
    explicit RingLanes(const Rings& r) {
        for (size_t k = 0; k < 3; ++k) {
            inks[k] =
                _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(r.inks[k])), _mm_setzero_si128());
            reach[k] = _mm_set1_ps(r.reach[k]);
        }
    }
    __m128i inks[3];
    __m128 reach[3];
};

// Pixels x0 .. x1 of a row, four at a time, none of them right of `right`. Most runs are a
// few pixels long, so none is left to a slower loop: the last four may reach back over
// pixels already laid, or past x1, and those keep what they had.
void RingRun(QRgb* px, int x0, int x1, int right, float left, float dy2, const Rings& r,
             const RingLanes& lanes) {
    if (right - x0 < 3) {
        for (int x = x0; x <= x1; ++x)
            px[x] = RingPixel(px[x], r, static_cast<float>(x) + left, dy2);
        return;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128 leftV = _mm_set1_ps(left), dy2V = _mm_set1_ps(dy2);
    const __m128 scale = _mm_set1_ps(255.0f), half = _mm_set1_ps(0.5f);
    const __m128i full = _mm_set1_epi16(255);
    const __m128i steps = _mm_setr_epi32(0, 1, 2, 3);
    const __m128i last = _mm_set1_epi32(x1);
    for (int x = x0; x <= x1; x += 4) {
        const int base = std::min(x, right - 3);
        const __m128i index = _mm_add_epi32(_mm_set1_epi32(base), steps);
        const __m128i skip =
            _mm_or_si128(_mm_cmplt_epi32(index, _mm_set1_epi32(x)), _mm_cmpgt_epi32(index, last));
        const __m128 dx = _mm_add_ps(_mm_cvtepi32_ps(index), leftV);
        const __m128 d = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(dx, dx), dy2V));
        auto* at = reinterpret_cast<__m128i*>(px + base);
        const __m128i four = _mm_loadu_si128(at);
        __m128i lo = _mm_unpacklo_epi8(four, zero), hi = _mm_unpackhi_epi8(four, zero);
        for (size_t k = 0; k < 3; ++k) {
            const __m128i cover32 = _mm_cvttps_epi32(
                _mm_add_ps(_mm_mul_ps(_mm_sub_ps(lanes.reach[k], d), scale), half));
            __m128i cover = _mm_packs_epi32(cover32, cover32);
            cover = _mm_max_epi16(_mm_min_epi16(cover, full), zero);
            cover = _mm_unpacklo_epi16(cover, cover); // a0 a0 a1 a1 a2 a2 a3 a3
            lo = OverLanes(lo, lanes.inks[k], _mm_unpacklo_epi32(cover, cover));
            hi = OverLanes(hi, lanes.inks[k], _mm_unpackhi_epi32(cover, cover));
        }
        const __m128i laid = _mm_packus_epi16(lo, hi);
        _mm_storeu_si128(at, _mm_or_si128(_mm_and_si128(skip, four), _mm_andnot_si128(skip, laid)));
    }
}
#else
struct RingLanes {
    explicit RingLanes(const Rings&) {}
};

void RingRun(QRgb* px, int x0, int x1, int, float left, float dy2, const Rings& r,
             const RingLanes&) {
    for (int x = x0; x <= x1; ++x)
        px[x] = RingPixel(px[x], r, static_cast<float>(x) + left, dy2);
}
#endif

} // namespace

// Filling thousands of ellipses through the painter's path filler is what made crowded city
// maps slow; inside the fill every pixel is simply the fill.
void PaintDiscsDirect(const Pixels& image, QPointF centre, const BubbleDiscs& discs,
                      const QRect& clip) {
    const QRect area = clip.isNull() ? QRect(0, 0, image.width, image.height)
                                     : clip.intersected(QRect(0, 0, image.width, image.height));
    const double outer = discs[0].radius + 0.5;
    const double cx = centre.x(), cy = centre.y();
    const int y0 = std::max(area.top(), static_cast<int>(std::floor(cy - outer)));
    const int y1 = std::min(area.bottom(), static_cast<int>(std::ceil(cy + outer)));
    const Disc& fill = discs.back();
    const double solid = fill.color.alpha() == 255 ? fill.radius - 0.5 : 0;
    const QRgb fillPixel = qPremultiply(fill.color.rgba());
    Rings rings{};
    for (size_t k = 0; k < 3; ++k) {
        rings.inks[k] = qPremultiply(discs[k].color.rgba());
        rings.reach[k] = static_cast<float>(discs[k].radius + 0.5);
    }
    const RingLanes lanes(rings);
    const auto ringRun = [&](QRgb* px, int x0, int x1, float left, float dy2) {
        RingRun(px, x0, x1, area.right(), left, dy2, rings, lanes);
    };
    for (int y = y0; y <= y1; ++y) {
        const double dy = y + 0.5 - cy;
        if (std::fabs(dy) >= outer) continue;
        const double reach = std::sqrt(outer * outer - dy * dy);
        const int xa = std::max(area.left(), static_cast<int>(std::floor(cx - reach - 0.5)));
        const int xb = std::min(area.right(), static_cast<int>(std::ceil(cx + reach - 0.5)));
        QRgb* px = image.row(y);
        const auto dy2 = static_cast<float>(dy * dy);
        const auto left = static_cast<float>(0.5 - cx);
        if (solid > std::fabs(dy)) {
            // The run of pixels inside the fill, with ring pixels on either side.
            const double half = std::sqrt(solid * solid - dy * dy);
            const int sa = std::max(xa, static_cast<int>(std::ceil(cx - half - 0.5)));
            const int sb = std::min(xb, static_cast<int>(std::floor(cx + half - 0.5)));
            if (sa <= sb) {
                ringRun(px, xa, sa - 1, left, dy2);
                std::fill(px + sa, px + sb + 1, fillPixel);
                ringRun(px, sb + 1, xb, left, dy2);
                continue;
            }
        }
        ringRun(px, xa, xb, left, dy2);
    }
}

// Each tile is small enough to stay in a processor's cache while it takes every bubble over
// it. Painted whole, bubble after bubble across the picture, most of the time went in
// waiting for memory.
void PaintManyDiscs(const Pixels& image, std::span<const PlacedDiscs> discs) {
    constexpr int kTile = 256;
    const int columns = (image.width + kTile - 1) / kTile;
    const int rows = (image.height + kTile - 1) / kTile;
    std::vector<std::vector<size_t>> onTile(static_cast<size_t>(columns) *
                                            static_cast<size_t>(rows));
    const auto tile = [](double v, int count) {
        return std::clamp(static_cast<int>(std::floor(v / kTile)), 0, count - 1);
    };
    for (size_t k = 0; k < discs.size(); ++k) {
        const QPointF c = discs[k].centre;
        const double reach = discs[k].discs[0].radius + 1;
        // Far outside the picture a bubble touches no tile (and a cast to int would overflow).
        if (!(c.x() + reach >= 0 && c.x() - reach < image.width && c.y() + reach >= 0 &&
              c.y() - reach < image.height))
            continue;
        for (int r = tile(c.y() - reach, rows); r <= tile(c.y() + reach, rows); ++r)
            for (int col = tile(c.x() - reach, columns); col <= tile(c.x() + reach, columns); ++col)
                onTile[static_cast<size_t>(r * columns + col)].push_back(k);
    }
    std::atomic<int> next{0};
    const auto paintTiles = [&] {
        for (int t; (t = next.fetch_add(1)) < columns * rows;) {
            const QRect clip((t % columns) * kTile, (t / columns) * kTile, kTile, kTile);
            for (const size_t k : onTile[static_cast<size_t>(t)])
                PaintDiscsDirect(image, discs[k].centre, discs[k].discs, clip);
        }
    };
    constexpr size_t kWorthAThread = 200; // fewer bubbles are drawn before a thread starts
    const int painters =
        discs.size() < kWorthAThread
            ? 1
            : std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
    std::vector<std::future<void>> others;
    for (int k = 1; k < painters; ++k)
        others.push_back(std::async(std::launch::async, paintTiles));
    paintTiles();
    for (std::future<void>& other : others)
        other.get();
}

} // namespace tolvane
