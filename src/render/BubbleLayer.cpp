#include "render/ChartLayers.h"
#include "render/ChartStyle.h"
#include "render/ThickLines.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <future>
#include <thread>

namespace tolvane {

namespace {

// A bubble is three discs, one over the other: a white rim separates touching bubbles, a
// slightly darker edge keeps pale ones visible on the pale base map, and the fill.
struct Disc {
    double radius;
    QColor color;
};
using BubbleDiscs = std::array<Disc, 3>;

BubbleDiscs DiscsOf(double radius, const QColor& fill, double unit) {
    const double rim = std::max(1.0, 0.6 * unit);
    const double edge = std::max(0.8, 0.3 * unit);
    return {Disc{radius + rim / 2, QColor(255, 255, 255, 230)},
            Disc{radius - rim / 2 + edge / 2, fill.darker(150)},
            Disc{radius - rim / 2 - edge / 2, fill}};
}

// Each byte of `x` times a / 255, rounded: two channels at a time.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
    uint32_t t = (x & 0xff00ff) * a;
    t = ((t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8) & 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080) & 0xff00ff00;
    return x | t;
}

// "Over" with a premultiplied ink at coverage `a` (0 .. 255) onto an opaque or
// premultiplied pixel.
inline QRgb Over(QRgb d, QRgb ink, uint32_t a) {
    const uint32_t s = ByteMul(ink, a);
    return s + ByteMul(d, 255 - qAlpha(s));
}

// The coverage (0 .. 255) of a disc whose rim lies `inside` pixels beyond the pixel centre.
inline uint32_t Coverage(float inside) {
    const int a = static_cast<int>(inside * 255.0f + 0.5f);
    return static_cast<uint32_t>(a < 0 ? 0 : a > 255 ? 255 : a);
}

// The pixels of a 32-bit image, detached once for all the bubbles painted on it.
struct Pixels {
    explicit Pixels(QImage& image)
        : bits(image.bits())
        , stride(image.bytesPerLine())
        , width(image.width())
        , height(image.height()) {}
    QRgb* row(int y) const { return reinterpret_cast<QRgb*>(bits + stride * y); }
    uchar* bits;
    qsizetype stride;
    int width, height;
};

// The discs laid straight onto a 32-bit image: each pixel takes the coverage of its distance
// to the centre. Filling thousands of ellipses through the painter's path filler is what
// made crowded city maps slow; inside the fill every pixel is simply the fill. Only rows
// `top` .. `bottom` are touched, so that bands of one image can be painted at once.
void PaintDiscsDirect(const Pixels& image, QPointF centre, const BubbleDiscs& discs, int top,
                      int bottom) {
    const double outer = discs[0].radius + 0.5;
    const double cx = centre.x(), cy = centre.y();
    const int y0 = std::max(top, static_cast<int>(std::floor(cy - outer)));
    const int y1 = std::min(bottom, static_cast<int>(std::ceil(cy + outer)));
    const Disc& fill = discs.back();
    const double solid = fill.color.alpha() == 255 ? fill.radius - 0.5 : 0;
    const QRgb fillPixel = qPremultiply(fill.color.rgba());
    const std::array<QRgb, 3> inks{qPremultiply(discs[0].color.rgba()),
                                   qPremultiply(discs[1].color.rgba()), fillPixel};
    const bool opaqueEdge = discs[1].color.alpha() == 255;
    const float reach0 = static_cast<float>(discs[0].radius + 0.5);
    const float reach1 = static_cast<float>(discs[1].radius + 0.5);
    const float reach2 = static_cast<float>(discs[2].radius + 0.5);
    for (int y = y0; y <= y1; ++y) {
        const double dy = y + 0.5 - cy;
        if (std::fabs(dy) >= outer) continue;
        const double reach = std::sqrt(outer * outer - dy * dy);
        const int xa = std::max(0, static_cast<int>(std::floor(cx - reach - 0.5)));
        const int xb = std::min(image.width - 1, static_cast<int>(std::ceil(cx + reach - 0.5)));
        int sa = xb + 1, sb = xb; // the run of pixels inside the fill
        if (solid > std::fabs(dy)) {
            const double half = std::sqrt(solid * solid - dy * dy);
            sa = std::max(xa, static_cast<int>(std::ceil(cx - half - 0.5)));
            sb = std::min(xb, static_cast<int>(std::floor(cx + half - 0.5)));
        }
        QRgb* px = image.row(y);
        const auto dy2 = static_cast<float>(dy * dy);
        const auto left = static_cast<float>(0.5 - cx);
        for (int x = xa; x <= xb; ++x) {
            if (x == sa && sa <= sb) {
                std::fill(px + sa, px + sb + 1, fillPixel);
                x = sb;
                continue;
            }
            // A pixel of the rings, where coverages are partial.
            const float dx = static_cast<float>(x) + left;
            const float d = std::sqrt(dx * dx + dy2);
            const uint32_t edge = Coverage(reach1 - d);
            QRgb p;
            if (edge == 255 && opaqueEdge) {
                p = inks[1]; // what lay below no longer shows
            } else {
                p = px[x];
                if (const uint32_t rim = Coverage(reach0 - d)) p = Over(p, inks[0], rim);
                if (edge) p = Over(p, inks[1], edge);
            }
            if (const uint32_t inner = Coverage(reach2 - d)) p = Over(p, inks[2], inner);
            px[x] = p;
        }
    }
}

// Boxes binned in a grid of cells: which of thousands of boxes a box may touch is found
// without testing them all.
class BoxGrid {
public:
    BoxGrid(const QRectF& area, double cell)
        : area_(area)
        , cell_(std::max(cell, 1.0))
        , cols_(std::max(1, static_cast<int>(std::ceil(area.width() / cell_))))
        , rows_(std::max(1, static_cast<int>(std::ceil(area.height() / cell_))))
        , cells_(static_cast<size_t>(cols_) * static_cast<size_t>(rows_)) {}

    void insert(const QRectF& box, int tag) {
        const int index = static_cast<int>(boxes_.size());
        boxes_.push_back({box, tag});
        forCells(box, [&](std::vector<int>& cell) {
            cell.push_back(index);
            return false;
        });
    }

    // Whether a box not tagged `except` intersects `box`.
    bool intersects(const QRectF& box, int except = -1) {
        return forCells(box, [&](std::vector<int>& cell) {
            return std::any_of(cell.begin(), cell.end(), [&](int i) {
                const Entry& e = boxes_[static_cast<size_t>(i)];
                return e.tag != except && e.box.intersects(box);
            });
        });
    }

private:
    struct Entry {
        QRectF box;
        int tag;
    };
    int column(double x) const {
        return std::clamp(static_cast<int>((x - area_.left()) / cell_), 0, cols_ - 1);
    }
    int row(double y) const {
        return std::clamp(static_cast<int>((y - area_.top()) / cell_), 0, rows_ - 1);
    }
    template <typename Visit> bool forCells(const QRectF& box, Visit visit) {
        for (int r = row(box.top()); r <= row(box.bottom()); ++r)
            for (int c = column(box.left()); c <= column(box.right()); ++c)
                if (visit(cells_[static_cast<size_t>(r) * static_cast<size_t>(cols_) +
                                 static_cast<size_t>(c)]))
                    return true;
        return false;
    }

    QRectF area_;
    double cell_;
    int cols_, rows_;
    std::vector<std::vector<int>> cells_;
    std::vector<Entry> boxes_;
};

struct Bubble {
    QPointF centre;
    double radius;
    QColor fill;
    QString name;
};

// The bubbles in order. Laid directly on an image, a crowded map is painted in horizontal
// bands at once, each band taking every bubble in the same order: the picture is the same.
void PaintBubbleDiscs(QPainter& painter, const std::vector<Bubble>& bubbles, double unit) {
    QTransform toImage;
    QImage* image = DirectTarget(painter, &toImage);
    if (!image || painter.hasClipping() || image->format() == QImage::Format_ARGB32) {
        for (const Bubble& b : bubbles)
            PaintBubble(painter, b.centre, b.radius, b.fill, unit);
        return;
    }
    std::vector<std::pair<QPointF, BubbleDiscs>> discs;
    discs.reserve(bubbles.size());
    for (const Bubble& b : bubbles)
        discs.emplace_back(toImage.map(b.centre), DiscsOf(b.radius, b.fill, unit));
    const Pixels pixels(*image);
    const auto paintBand = [&](int top, int bottom) {
        for (const auto& [centre, d] : discs)
            PaintDiscsDirect(pixels, centre, d, top, bottom);
    };
    const int height = pixels.height;
    constexpr size_t kWorthABand = 200; // fewer bubbles are drawn before a thread starts
    const int bands = discs.size() < kWorthABand
                          ? 1
                          : std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 4);
    std::vector<std::future<void>> others;
    for (int band = 1; band < bands; ++band)
        others.push_back(std::async(std::launch::async, paintBand, band * height / bands,
                                    (band + 1) * height / bands - 1));
    paintBand(0, height / bands - 1);
    for (std::future<void>& other : others)
        other.get();
}

// Names go beside their bubbles where there is room: never over another name, the middle
// of another bubble or `keepClear`, never outside the frame. Larger bubbles, drawn first,
// are named first; a name with no room is left out.
void PaintNames(QPainter& painter, const std::vector<Bubble>& bubbles, const MapView& view,
                const QRectF& keepClear) {
    const QFont font = ChartFont(7 * view.unit, false, true);
    const QFontMetricsF fm(font);
    const double halo = font.pixelSize() * 0.28;
    const double gap = 1.5 * view.unit;
    const double cell = 24 * view.unit;
    // A name may cross its own bubble's rim but not hide the middle of another bubble.
    BoxGrid cores(view.frame, cell);
    for (size_t k = 0; k < bubbles.size(); ++k) {
        const Bubble& b = bubbles[k];
        cores.insert(
            QRectF(b.centre - QPointF(b.radius, b.radius) * 0.6, QSizeF(b.radius, b.radius) * 1.2),
            static_cast<int>(k));
    }
    BoxGrid placed(view.frame, cell);
    const double h = fm.ascent() + fm.descent();
    const double probe = std::min(fm.averageCharWidth(), h);
    for (size_t k = 0; k < bubbles.size(); ++k) {
        const Bubble& b = bubbles[k];
        // A name wider than the picture has no room anywhere: it is never measured.
        if (b.name.trimmed().isEmpty() || !MayFit(b.name, fm, view.frame.width())) continue;
        const auto blocked = [&](const QRectF& box) {
            return !view.frame.contains(box) || box.intersects(keepClear) ||
                   placed.intersects(box) || cores.intersects(box, static_cast<int>(k));
        };
        // The box LayoutCentred fills, `w` wide: capitals centred on `at`, descenders below.
        const auto boxAt = [&](const QPointF& at, double w) {
            const double baseline = at.y() + fm.capHeight() / 2;
            return QRectF(at.x() - w / 2, baseline - fm.ascent(), w, h)
                .adjusted(-halo / 2, -halo / 2, halo / 2, halo / 2);
        };
        // Right of the bubble reads best; then left, above, below. Most names of a crowded
        // map find no room: the part of each place nearest the bubble is tried first, and
        // the name is measured only when one of them is free.
        const double side = b.radius + gap;
        const double vertical = b.radius + gap + h / 2;
        const QPointF probes[] = {
            {side + probe / 2, 0}, {-(side + probe / 2), 0}, {0, -vertical}, {0, vertical}};
        if (std::all_of(std::begin(probes), std::end(probes),
                        [&](const QPointF& p) { return blocked(boxAt(b.centre + p, probe)); }))
            continue;
        const double w = fm.horizontalAdvance(b.name);
        const QPointF shifts[] = {
            {side + w / 2, 0}, {-(side + w / 2), 0}, {0, -vertical}, {0, vertical}};
        for (const QPointF& shift : shifts) {
            const QPointF at = b.centre + shift;
            const QRectF box = boxAt(at, w);
            if (blocked(box)) continue;
            placed.insert(box, 0);
            const HaloText label = LayoutCentred(b.name, font, at);
            DrawHaloText(painter, label, palette::kDarkInk, HaloFor(palette::kDarkInk), halo);
            break;
        }
    }
}

} // namespace

// A bubble's scale is a percentage of its AREA: a city at 200 % covers twice the ground of
// one at 100 %, which is how readers compare circles. At 100 % the radius is 6 units.
double BubbleRadius(double scale, double unit) {
    if (!(scale > 0)) return 0;
    return 6.0 * unit * std::sqrt(scale / 100.0);
}

void PaintBubble(QPainter& painter, const QPointF& centre, double radius, const QColor& fill,
                 double unit) {
    if (radius <= 0) return;
    const BubbleDiscs discs = DiscsOf(radius, fill, unit);
    QTransform toImage;
    if (QImage* image = DirectTarget(painter, &toImage);
        image && !painter.hasClipping() && image->format() != QImage::Format_ARGB32) {
        const Pixels pixels(*image);
        PaintDiscsDirect(pixels, toImage.map(centre), discs, 0, pixels.height - 1);
        return;
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    for (const Disc& disc : discs) {
        if (disc.radius <= 0) continue;
        painter.setBrush(disc.color);
        painter.drawEllipse(centre, disc.radius, disc.radius);
    }
    painter.restore();
}

void PaintBubbles(QPainter& painter, const ChartScene& scene, const MapView& view, bool withNames,
                  const QRectF& keepClear) {
    const MapMovie& movie = *scene.movie;
    std::vector<Bubble> bubbles;
    for (size_t i = 0; i < scene.data.cities.size() && i < scene.match.cityPoint.size(); ++i) {
        const int point = scene.match.cityPoint[i];
        const StagedCity& c = scene.data.cities[i];
        const double radius = BubbleRadius(c.scale, view.unit);
        if (point < 0 || radius <= 0) continue;
        const QColor fill = c.color ? RgbColor(*c.color) : palette::kSubtleInk;
        bubbles.push_back({view.toDevice.map(movie.cities[static_cast<size_t>(point)].position),
                           radius, fill, c.name});
    }
    // Large bubbles first, so the small ones drawn later stay visible on top.
    std::stable_sort(bubbles.begin(), bubbles.end(),
                     [](const Bubble& a, const Bubble& b) { return a.radius > b.radius; });
    PaintBubbleDiscs(painter, bubbles, view.unit);
    if (withNames) PaintNames(painter, bubbles, view, keepClear);
}

} // namespace tolvane
