#include "render/ChartLayers.h"
#include "render/ChartStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tolvane {

// A bubble's scale is a percentage of its AREA: a city at 200 % covers twice the ground of
// one at 100 %, which is how readers compare circles. At 100 % the radius is 6 units.
double BubbleRadius(double scale, double unit) {
    if (!(scale > 0)) return 0;
    return 6.0 * unit * std::sqrt(scale / 100.0);
}

void PaintBubble(QPainter& painter, const QPointF& centre, double radius, const QColor& fill,
                 double unit) {
    if (radius <= 0) return;
    // A white rim separates overlapping bubbles; a slightly darker edge keeps pale ones
    // visible on the pale base map.
    // Drawn as three discs, one over the other: filling is much cheaper than stroking.
    const double rim = std::max(1.0, 0.6 * unit);
    const double edge = std::max(0.8, 0.3 * unit);
    painter.setPen(Qt::NoPen);
    const std::pair<double, QColor> discs[] = {{radius + rim / 2, QColor(255, 255, 255, 230)},
                                               {radius - rim / 2 + edge / 2, fill.darker(150)},
                                               {radius - rim / 2 - edge / 2, fill}};
    for (const auto& [r, color] : discs) {
        if (r <= 0) continue;
        painter.setBrush(color);
        painter.drawEllipse(centre, r, r);
    }
}

void PaintBubbles(QPainter& painter, const ChartScene& scene, const MapView& view, bool withNames) {
    const MapMovie& movie = *scene.movie;
    struct Bubble {
        QPointF centre;
        double radius;
        QColor fill;
        QString name;
    };
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

    painter.save();
    for (const Bubble& b : bubbles)
        PaintBubble(painter, b.centre, b.radius, b.fill, view.unit);
    painter.restore();

    if (!withNames) return;
    const QFont font = ChartFont(7 * view.unit, false, true);
    const QFontMetricsF metrics(font);
    const double halo = font.pixelSize() * 0.28;
    const double gap = 1.5 * view.unit;
    // A name may cross its own bubble's rim but not hide the middle of another bubble.
    std::vector<QRectF> cores;
    for (const Bubble& b : bubbles)
        cores.emplace_back(b.centre - QPointF(b.radius, b.radius) * 0.6,
                           QSizeF(b.radius, b.radius) * 1.2);
    std::vector<QRectF> placed;
    for (size_t k = 0; k < bubbles.size(); ++k) {
        const Bubble& b = bubbles[k];
        if (b.name.trimmed().isEmpty() || !MayFit(b.name, metrics, view.frame.width())) continue;
        const HaloText probe = LayoutCentred(b.name, font, b.centre);
        const double w = probe.box.width(), h = probe.box.height();
        // Right of the bubble reads best; then left, above, below.
        const QPointF shifts[] = {{b.radius + gap + w / 2, 0},
                                  {-(b.radius + gap + w / 2), 0},
                                  {0, -(b.radius + gap + h / 2)},
                                  {0, b.radius + gap + h / 2}};
        for (const QPointF& shift : shifts) {
            const QRectF box =
                probe.box.translated(shift).adjusted(-halo / 2, -halo / 2, halo / 2, halo / 2);
            if (!view.frame.contains(box)) continue;
            if (std::any_of(placed.begin(), placed.end(),
                            [&](const QRectF& r) { return r.intersects(box); }))
                continue;
            bool hides = false;
            for (size_t o = 0; o < cores.size() && !hides; ++o)
                hides = o != k && cores[o].intersects(box);
            if (hides) continue;
            placed.push_back(box);
            const HaloText label{probe.glyphs.translated(shift), probe.box.translated(shift)};
            DrawHaloText(painter, label, palette::kDarkInk, HaloFor(palette::kDarkInk), halo);
            break;
        }
    }
}

} // namespace tolvane
