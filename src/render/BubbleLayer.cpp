#include "render/ChartLayers.h"
#include "render/ChartStyle.h"
#include "render/DiscPixels.h"
#include "render/ThickLines.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace tolvane {

namespace {

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
        const Entry entry = EntryOf(box, tag);
        // An empty box touches nothing.
        if (!entry.some()) return;
        forCells(box, [&](std::vector<Entry>& cell) {
            cell.push_back(entry);
            return false;
        });
    }

    // Whether a box not tagged `except` intersects `box`, as QRectF::intersects has it.
    bool intersects(const QRectF& box, int except = -1) {
        const Entry probe = EntryOf(box, except);
        if (!probe.some()) return false;
        return forCells(box, [&](const std::vector<Entry>& cell) {
            return std::any_of(cell.begin(), cell.end(), [&](const Entry& e) {
                return e.left < probe.right && probe.left < e.right && e.top < probe.bottom &&
                       probe.top < e.bottom && e.tag != except;
            });
        });
    }

private:
    // A box by its edges, as each test of thousands reads them; each cell holds its own
    // copies, so that one cell's boxes lie together in memory.
    struct Entry {
        double left, top, right, bottom;
        int tag;
        bool some() const { return left < right && top < bottom; }
    };
    static Entry EntryOf(const QRectF& box, int tag) {
        const QRectF r = box.normalized();
        return {r.left(), r.top(), r.right(), r.bottom(), tag};
    }
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
    std::vector<std::vector<Entry>> cells_;
};

struct Bubble {
    QPointF centre;
    double radius;
    QColor fill;
    QString name;
};

QFont NameFont(double unit) {
    return ChartFont(7 * unit, false, true);
}

// The bubbles in order, laid directly on an image where the painter allows.
void PaintBubbleDiscs(QPainter& painter, const std::vector<Bubble>& bubbles, double unit) {
    QTransform toImage;
    QImage* image = DirectTarget(painter, &toImage);
    if (!image || painter.hasClipping() || image->format() == QImage::Format_ARGB32) {
        for (const Bubble& b : bubbles)
            PaintBubble(painter, b.centre, b.radius, b.fill, unit);
        return;
    }
    std::vector<PlacedDiscs> discs;
    discs.reserve(bubbles.size());
    for (const Bubble& b : bubbles)
        discs.push_back({toImage.map(b.centre), DiscsOf(b.radius, b.fill, unit)});
    PaintManyDiscs(Pixels(*image), discs);
}

// The names laid out beside their bubbles where there is room: never over another name, the
// middle of another bubble or `keepClear`, never outside the frame. Larger bubbles, drawn
// first, are named first; a name with no room is left out. `halo` is the width of the
// names' halos, which their boxes keep clear of one another.
std::vector<HaloText> PlaceNames(const std::vector<Bubble>& bubbles, const MapView& view,
                                 const QRectF& keepClear, double halo) {
    const QFont font = NameFont(view.unit);
    const QFontMetricsF fm(font);
    const double gap = 1.5 * view.unit;
    const double cell = 24 * view.unit;
    // A name may cross its own bubble's rim but not hide the middle of another bubble. The
    // middles are small and, on a crowded map, hundreds to a name's cell: they get cells of
    // their own size, so that a test reads only those near it.
    BoxGrid cores(view.frame, 8 * view.unit);
    for (size_t k = 0; k < bubbles.size(); ++k) {
        const Bubble& b = bubbles[k];
        cores.insert(
            QRectF(b.centre - QPointF(b.radius, b.radius) * 0.6, QSizeF(b.radius, b.radius) * 1.2),
            static_cast<int>(k));
    }
    BoxGrid placed(view.frame, cell);
    std::vector<HaloText> labels;
    const double ascent = fm.ascent(), capHeight = fm.capHeight();
    const double h = ascent + fm.descent();
    const double probe = std::min(fm.averageCharWidth(), h);
    for (size_t k = 0; k < bubbles.size(); ++k) {
        const Bubble& b = bubbles[k];
        // A name wider than the picture has no room anywhere: it is never measured.
        if (std::all_of(b.name.begin(), b.name.end(), [](QChar c) { return c.isSpace(); }) ||
            !MayFit(b.name, fm, view.frame.width()))
            continue;
        const auto blocked = [&](const QRectF& box) {
            return !view.frame.contains(box) || box.intersects(keepClear) ||
                   placed.intersects(box) || cores.intersects(box, static_cast<int>(k));
        };
        // The box LayoutCentred fills, `w` wide: capitals centred on `at`, descenders below.
        const auto boxAt = [&](const QPointF& at, double w) {
            const double baseline = at.y() + capHeight / 2;
            return QRectF(at.x() - w / 2, baseline - ascent, w, h)
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
            labels.push_back(LayoutCentred(b.name, font, at));
            break;
        }
    }
    return labels;
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
        PaintDiscsDirect(pixels, toImage.map(centre), discs);
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
    for (size_t i = 0; i < scene.data->cities.size() && i < scene.match.cityPoint.size(); ++i) {
        const int point = scene.match.cityPoint[i];
        const StagedCity& c = scene.data->cities[i];
        const double radius = BubbleRadius(c.scale, view.unit);
        if (point < 0 || radius <= 0) continue;
        const QColor fill = c.color ? RgbColor(*c.color) : palette::kSubtleInk;
        bubbles.push_back({view.toDevice.map(movie.cities[static_cast<size_t>(point)].position),
                           radius, fill, c.name});
    }
    // Large bubbles first, so the small ones drawn later stay visible on top.
    std::stable_sort(bubbles.begin(), bubbles.end(),
                     [](const Bubble& a, const Bubble& b) { return a.radius > b.radius; });
    // Names are placed by where the bubbles are, not by their pixels: their halos are
    // outlined while the bubbles are painted.
    const double halo = NameFont(view.unit).pixelSize() * 0.28;
    const std::vector<HaloText> names =
        withNames ? PlaceNames(bubbles, view, keepClear, halo) : std::vector<HaloText>();
    DrawHaloTextsOver(painter, names, palette::kDarkInk, HaloFor(palette::kDarkInk), halo,
                      [&] { PaintBubbleDiscs(painter, bubbles, view.unit); });
}

} // namespace tolvane
