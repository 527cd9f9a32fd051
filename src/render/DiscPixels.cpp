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

// Which pixels of a row a later bubble's fill covers whole: `top` holds, for each pixel
// (indexed by x), the number of the last bubble whose opaque fill covers it, 0 for none.
// Whatever an earlier bubble lays on such a pixel is painted over by that fill, so the
// rings of bubbles numbered below it need not be worked out there. Null: nothing is hidden.
struct Above {
    const uint16_t* top = nullptr;
    uint16_t self = 0;
    bool hides(int x) const { return top && top[x] > self; }
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
             const RingLanes& lanes, const Above& above) {
    if (right - x0 < 3) {
        for (int x = x0; x <= x1; ++x)
            if (!above.hides(x)) px[x] = RingPixel(px[x], r, static_cast<float>(x) + left, dy2);
        return;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128 leftV = _mm_set1_ps(left), dy2V = _mm_set1_ps(dy2);
    const __m128 scale = _mm_set1_ps(255.0f), half = _mm_set1_ps(0.5f);
    const __m128i full = _mm_set1_epi16(255);
    const __m128i steps = _mm_setr_epi32(0, 1, 2, 3);
    const __m128i last = _mm_set1_epi32(x1);
    const __m128i self = _mm_set1_epi16(static_cast<short>(above.self));
    for (int x = x0; x <= x1; x += 4) {
        const int base = std::min(x, right - 3);
        const __m128i index = _mm_add_epi32(_mm_set1_epi32(base), steps);
        __m128i skip =
            _mm_or_si128(_mm_cmplt_epi32(index, _mm_set1_epi32(x)), _mm_cmpgt_epi32(index, last));
        if (above.top) {
            const __m128i tops =
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(above.top + base));
            const __m128i hidden = _mm_cmpgt_epi16(tops, self);
            skip = _mm_or_si128(skip, _mm_unpacklo_epi16(hidden, hidden));
            if (_mm_movemask_epi8(skip) == 0xFFFF) continue;
        }
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

void RingRun(QRgb* px, int x0, int x1, int, float left, float dy2, const Rings& r, const RingLanes&,
             const Above& above) {
    for (int x = x0; x <= x1; ++x)
        if (!above.hides(x)) px[x] = RingPixel(px[x], r, static_cast<float>(x) + left, dy2);
}
#endif

// clamp(floor(v), lo, hi) and clamp(ceil(v), lo, hi) for lo <= hi, without the library's
// rounding (the baseline x86-64 has no rounding instruction) and without a cast of a value
// beyond the range of int.
inline int FloorWithin(double v, int lo, int hi) {
    if (!(v > lo)) return lo;
    if (v >= hi) return hi;
    const int i = static_cast<int>(v);
    return v < i ? i - 1 : i;
}

inline int CeilWithin(double v, int lo, int hi) {
    if (!(v < hi)) return hi;
    if (v <= lo) return lo;
    const int i = static_cast<int>(v);
    return v > i ? i + 1 : i;
}

// One row of a bubble within an area: the run of pixels any disc reaches (xa .. xb) and
// within it the run inside the opaque fill (sa .. sb; sa > sb when there is none), whose
// pixels are the fill and nothing else.
struct Row {
    int y;
    float dy2; // the square of the distance from the pixel centres to the bubble's centre row
    int xa, xb, sa, sb;
};

// The rows of a bubble within `area`, top to bottom. Painting and finding what a fill hides
// go by the same rows.
template <typename Visit>
void ForEachRow(QPointF centre, const BubbleDiscs& discs, const QRect& area, Visit visit) {
    const double outer = discs[0].radius + 0.5;
    const double cx = centre.x(), cy = centre.y();
    // A bubble far outside the area has no row in it (and its numbers no int to be cast to).
    if (!(cy + outer > area.top() && cy - outer < area.bottom() + 1)) return;
    const int y0 = std::max(area.top(), FloorWithin(cy - outer, area.top(), area.bottom()));
    const int y1 = std::min(area.bottom(), CeilWithin(cy + outer, area.top(), area.bottom()));
    const Disc& fill = discs.back();
    const double solid = fill.color.alpha() == 255 ? fill.radius - 0.5 : 0;
    const int left = area.left(), right = area.right();
    for (int y = y0; y <= y1; ++y) {
        const double dy = y + 0.5 - cy;
        if (std::fabs(dy) >= outer) continue;
        // Both half-widths at once; the fill's is no number when the row misses the fill.
        double reach, half;
#if defined(__SSE2__)
        const __m128d both =
            _mm_sqrt_pd(_mm_sub_pd(_mm_set_pd(solid * solid, outer * outer), _mm_set1_pd(dy * dy)));
        reach = _mm_cvtsd_f64(both);
        half = _mm_cvtsd_f64(_mm_unpackhi_pd(both, both));
#else
        reach = std::sqrt(outer * outer - dy * dy);
        half = solid > std::fabs(dy) ? std::sqrt(solid * solid - dy * dy) : 0;
#endif
        // Runs that end up empty keep xa > xb (or sa > sb) as they would have unclamped.
        Row r{y, static_cast<float>(dy * dy), 0, 0, 0, 0};
        r.xa = FloorWithin(cx - reach - 0.5, left, right + 1);
        r.xb = CeilWithin(cx + reach - 0.5, left - 1, right);
        r.sa = r.xb + 1;
        r.sb = r.xb;
        if (solid > std::fabs(dy)) {
            r.sa = CeilWithin(cx - half - 0.5, r.xa, std::max(r.xa, r.xb + 1));
            r.sb = FloorWithin(cx + half - 0.5, std::min(r.xb, r.xa - 1), r.xb);
        }
        visit(r);
    }
}

// Sets `count` items from `at` to `value`, sixteen bytes at a time: the compiler leaves such
// a loop one item at a time.
template <typename T> inline void FillRun(T* at, ptrdiff_t count, T value) {
#if defined(__SSE2__)
    if (count >= static_cast<ptrdiff_t>(16 / sizeof(T))) {
        __m128i wide;
        if constexpr (sizeof(T) == 4)
            wide = _mm_set1_epi32(static_cast<int>(value));
        else
            wide = _mm_set1_epi16(static_cast<short>(value));
        constexpr ptrdiff_t kStep = 16 / sizeof(T);
        ptrdiff_t i = 0;
        for (; i + kStep <= count; i += kStep)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(at + i), wide);
        // The last sixteen bytes again, overlapping those already set.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at + count - kStep), wide);
        return;
    }
#endif
    std::fill(at, at + count, value);
}

// What painting a bubble's rows needs, set out once per bubble.
struct DiscInks {
    explicit DiscInks(const BubbleDiscs& discs)
        : fill(qPremultiply(discs.back().color.rgba()))
        , rings(RingsOf(discs))
        , lanes(rings) {}
    static Rings RingsOf(const BubbleDiscs& discs) {
        Rings r{};
        for (size_t k = 0; k < 3; ++k) {
            r.inks[k] = qPremultiply(discs[k].color.rgba());
            r.reach[k] = static_cast<float>(discs[k].radius + 0.5);
        }
        return r;
    }
    QRgb fill;
    Rings rings;
    RingLanes lanes;
};

// One row of a bubble, none of it right of `right`: pixel x lies x + left pixels right of
// the centre.
inline void PaintRow(const Pixels& image, const Row& r, int right, float left, const DiscInks& inks,
                     const Above& above) {
    QRgb* px = image.row(r.y);
    const auto ringRun = [&](int x0, int x1) {
        RingRun(px, x0, x1, right, left, r.dy2, inks.rings, inks.lanes, above);
    };
    if (r.sa <= r.sb) {
        // The run of pixels inside the fill, with ring pixels on either side. Where a later
        // fill covers part of it, that fill lays its own pixels again.
        ringRun(r.xa, r.sa - 1);
        FillRun(px + r.sa, r.sb - r.sa + 1, inks.fill);
        ringRun(r.sb + 1, r.xb);
    } else {
        ringRun(r.xa, r.xb);
    }
}

QRect ImageArea(const Pixels& image, const QRect& clip) {
    const QRect whole(0, 0, image.width, image.height);
    return clip.isNull() ? whole : clip.intersected(whole);
}

} // namespace

// Filling thousands of ellipses through the painter's path filler is what made crowded city
// maps slow; inside the fill every pixel is simply the fill.
void PaintDiscsDirect(const Pixels& image, QPointF centre, const BubbleDiscs& discs,
                      const QRect& clip) {
    const QRect area = ImageArea(image, clip);
    const DiscInks inks(discs);
    const auto left = static_cast<float>(0.5 - centre.x());
    ForEachRow(centre, discs, area,
               [&](const Row& r) { PaintRow(image, r, area.right(), left, inks, Above()); });
}

// Each tile is small enough to stay in a processor's cache while it takes every bubble over
// it. Painted whole, bubble after bubble across the picture, most of the time went in
// waiting for memory.
//
// On a crowded map most of a bubble ends up under the fills of smaller bubbles drawn after
// it. Each tile is therefore gone over twice: first the fills are numbered into a map of
// the tile, each over those before it, so that every pixel knows the last fill laid on it;
// then the bubbles are painted in order, and ring pixels that a later fill covers are passed
// over. What a later fill covers takes that fill's colour whatever lay there, so the
// picture is the one the bubbles make painted one after the other, to the bit.
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
    // Fills are numbered from 1 in 16 bits, compared as signed numbers four pixels at a time.
    constexpr size_t kMostNumbered = 32767;
    std::atomic<int> next{0};
    const auto paintTiles = [&] {
        std::vector<uint16_t> top(static_cast<size_t>(kTile) * kTile);
        std::vector<Row> rowsHere;    // the rows of every bubble on the tile, in order
        std::vector<size_t> firstRow; // where each bubble's rows start in rowsHere
        for (int t; (t = next.fetch_add(1)) < columns * rows;) {
            const QRect clip =
                ImageArea(image, QRect((t % columns) * kTile, (t / columns) * kTile, kTile, kTile));
            const std::vector<size_t>& here = onTile[static_cast<size_t>(t)];
            if (here.size() > kMostNumbered) {
                for (const size_t k : here)
                    PaintDiscsDirect(image, discs[k].centre, discs[k].discs, clip);
                continue;
            }
            const auto topRow = [&](int y) {
                return top.data() + static_cast<ptrdiff_t>(y - clip.top()) * kTile - clip.left();
            };
            for (int y = clip.top(); y <= clip.bottom(); ++y)
                FillRun(topRow(y) + clip.left(), clip.width(), uint16_t(0));
            rowsHere.clear();
            firstRow.clear();
            uint16_t number = 0;
            for (const size_t k : here) {
                ++number;
                firstRow.push_back(rowsHere.size());
                ForEachRow(discs[k].centre, discs[k].discs, clip, [&](const Row& r) {
                    rowsHere.push_back(r);
                    if (r.sa <= r.sb) FillRun(topRow(r.y) + r.sa, r.sb - r.sa + 1, number);
                });
            }
            firstRow.push_back(rowsHere.size());
            for (size_t i = 0; i < here.size(); ++i) {
                const PlacedDiscs& d = discs[here[i]];
                const DiscInks inks(d.discs);
                const auto left = static_cast<float>(0.5 - d.centre.x());
                const auto self = static_cast<uint16_t>(i + 1);
                for (size_t j = firstRow[i]; j < firstRow[i + 1]; ++j) {
                    const Row& r = rowsHere[j];
                    PaintRow(image, r, clip.right(), left, inks, Above{topRow(r.y), self});
                }
            }
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
