#include "render/ChartRenderer.h"

#include "render/ChartLayers.h"
#include "render/ChartStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

struct MapLayout {
    MapView view;
    QPointF legendAt;
    int legendColumns = 1;
};

void Shift(MapView& view, double dx, double dy) {
    view.mapRect.translate(dx, dy);
    view.toDevice *= QTransform::fromTranslate(dx, dy);
}

// The map takes what the legend leaves: beside it or below it, whichever lets the map be
// larger. Map and legend then stand together in the middle of the frame.
MapLayout LayOutMap(const QRectF& viewBox, const QRectF& inner, const LegendLayout& legend,
                    double u) {
    MapLayout out;
    if (legend.isEmpty()) {
        out.view = FitMap(viewBox, inner, u);
        return out;
    }
    const double gap = 10 * u;

    int besideColumns = 1;
    while (legend.size(besideColumns).height() > inner.height() &&
           legend.size(besideColumns + 1) != legend.size(besideColumns))
        ++besideColumns;
    const QSizeF besideSize = legend.size(besideColumns);
    MapView beside = FitMap(viewBox, inner.adjusted(0, 0, -(besideSize.width() + gap), 0), u);

    const int belowColumns = legend.columnsFor(inner.width());
    const QSizeF belowSize = legend.size(belowColumns);
    MapView below = FitMap(viewBox, inner.adjusted(0, 0, 0, -(belowSize.height() + gap)), u);

    if (beside.mapRect.width() >= below.mapRect.width()) {
        const double total = beside.mapRect.width() + gap + besideSize.width();
        Shift(beside,
              inner.left() + std::max(0.0, (inner.width() - total) / 2) - beside.mapRect.left(), 0);
        out.view = beside;
        out.legendColumns = besideColumns;
        const double x = std::min(beside.mapRect.right() + gap, inner.right() - besideSize.width());
        const double y = std::clamp(beside.mapRect.bottom() - besideSize.height(), inner.top(),
                                    std::max(inner.top(), inner.bottom() - besideSize.height()));
        out.legendAt = QPointF(x, y);
    } else {
        const double total = below.mapRect.height() + gap + belowSize.height();
        Shift(below, 0,
              inner.top() + std::max(0.0, (inner.height() - total) / 2) - below.mapRect.top());
        out.view = below;
        out.legendColumns = belowColumns;
        // Under the map's left edge, unless the legend is wider than the map.
        const double x = belowSize.width() <= below.mapRect.width()
                             ? below.mapRect.left()
                             : std::max(inner.left(), inner.center().x() - belowSize.width() / 2);
        out.legendAt = QPointF(x, below.mapRect.bottom() + gap);
    }
    return out;
}

MapLayout LayOutChart(const ChartScene& scene, const LegendLayout& legend, const QRectF& frame,
                      double u) {
    const double margin = 10 * u;
    // The attribution line needs a little more room below.
    const double below = scene.movie->attribution.trimmed().isEmpty() ? 0 : 4 * u;
    const QRectF inner = frame.adjusted(margin, margin, -margin, -margin - below);
    MapLayout layout = LayOutMap(scene.movie->viewBox, inner, legend, u);
    layout.view.area = inner;
    layout.view.frame = frame;
    return layout;
}

void PaintMapChart(QPainter& painter, const ChartScene& scene, const QRectF& frame, double u) {
    const MapMovie& movie = *scene.movie;
    const LegendLayout legend(scene, u);
    const MapLayout layout = LayOutChart(scene, legend, frame, u);
    const MapView& view = layout.view;
    if (view.mapRect.isEmpty()) return;

    const bool cityChart = movie.kind == MovieKind::City;
    const RegionFills fills =
        ComputeRegionFills(scene, !cityChart, cityChart ? palette::kLand : palette::kNoData);
    QColor border = scene.data->border ? RgbColor(*scene.data->border) : palette::kDefaultBorder;
    const BorderStroke stroke = RegionBorder(u, view.mapRect, movie.regions.size());
    border.setAlphaF(static_cast<float>(border.alphaF() * stroke.opacity));
    // Outlines are measured on other cores while the fills are drawn.
    static const PointRuns kNoLines;
    BorderLayer landEdges(painter, movie.contextEdges, view.toDevice, stroke.width * 0.8,
                          view.area);
    BorderLayer borders(painter, stroke.opacity > 0 ? movie.borders : kNoLines, view.toDevice,
                        stroke.width);
    PaintContext(painter, movie, view);
    // Where borders fade, regions are small enough to fall between pixels' centres.
    PaintRegions(painter, movie, view, fills, stroke.opacity < 1 ? 4 : 1);
    landEdges.paint(painter, palette::kLandEdge);
    borders.paint(painter, border);
    if (movie.kind == MovieKind::Region && scene.data->showText)
        PaintRegionLabels(painter, scene, view, fills);
    const bool onLand = !movie.context.empty();
    if (movie.kind == MovieKind::City || movie.kind == MovieKind::RegionCity)
        PaintBubbles(painter, scene, view, cityChart && scene.data->showText,
                     legend.area(layout.legendAt, layout.legendColumns, onLand));
    legend.paint(painter, layout.legendAt, layout.legendColumns, onLand);
}

void PaintAttribution(QPainter& painter, const QString& text, const QRectF& frame, double u) {
    if (text.trimmed().isEmpty()) return;
    const QFont font = ChartFont(5.5 * u);
    const QFontMetricsF fm(font);
    const QString shown = FittedText(text.simplified(), fm, frame.width() - 12 * u);
    const double width = fm.horizontalAdvance(shown);
    const HaloText t =
        LayoutAt(shown, font, QPointF(frame.right() - 5 * u - width, frame.bottom() - 3.5 * u));
    // It stands in the margin below the map's area, on paper: no halo needed.
    DrawHaloText(painter, t, palette::kSubtleInk, QColor(), 0);
}

void PaintNotes(QPainter& painter, const QStringList& notes, const QRectF& frame, double u,
                bool nothingElse) {
    if (notes.isEmpty()) return;
    painter.save();
    if (nothingElse) {
        // Nothing else to see: the note is the picture.
        painter.setFont(ChartFont(9 * u));
        painter.setPen(palette::kSubtleInk);
        const QRectF box = frame.adjusted(20 * u, 20 * u, -20 * u, -20 * u);
        const QFontMetricsF fm(painter.font());
        QStringList lines;
        for (const QString& note : notes)
            lines << FittedText(note, fm, box.width() * 4, Qt::ElideMiddle);
        painter.drawText(box, Qt::AlignCenter | Qt::TextWrapAnywhere, lines.join(u'\n'));
    } else {
        const QFont font = ChartFont(6.5 * u);
        const QFontMetricsF fm(font);
        double y = frame.top() + 3 * u + fm.ascent();
        for (const QString& note : notes) {
            const QString shown = FittedText(note, fm, frame.width() - 10 * u, Qt::ElideMiddle);
            const HaloText t = LayoutAt(shown, font, QPointF(frame.left() + 5 * u, y));
            DrawHaloText(painter, t, QColor(150, 50, 30), QColor(255, 255, 255, 220),
                         font.pixelSize() * 0.25);
            y += fm.lineSpacing();
        }
    }
    painter.restore();
}

} // namespace

std::optional<QTransform> MapPlacement(const ChartScene& scene, const QRectF& frame) {
    if (!scene.movie || frame.isEmpty()) return std::nullopt;
    const MovieKind kind = scene.movie->kind;
    if (kind != MovieKind::Region && kind != MovieKind::City && kind != MovieKind::RegionCity)
        return std::nullopt;
    const double u = ChartUnit(frame);
    const MapLayout layout = LayOutChart(scene, LegendLayout(scene, u), frame, u);
    if (layout.view.mapRect.isEmpty()) return std::nullopt;
    return layout.view.toDevice;
}

void RenderChart(QPainter& painter, const ChartScene& scene, const QRectF& frame) {
    if (frame.isEmpty()) return;
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    painter.fillRect(frame, palette::kBackground);
    const double u = ChartUnit(frame);
    if (scene.movie) {
        switch (scene.movie->kind) {
        case MovieKind::Region:
        case MovieKind::City:
        case MovieKind::RegionCity:
            PaintMapChart(painter, scene, frame, u);
            break;
        case MovieKind::Flag:
            PaintFlagChart(painter, scene, frame, u);
            break;
        case MovieKind::Blank:
            break;
        }
        PaintAttribution(painter, scene.movie->attribution, frame, u);
    }
    PaintNotes(painter, scene.notes, frame, u, !scene.movie);
    painter.restore();
}

QImage RenderChartImage(const ChartScene& scene, QSize size) {
    if (size.isEmpty()) return {};
    QImage image(size, QImage::Format_RGB32); // every pixel is painted: no fill needed
    QPainter painter(&image);
    RenderChart(painter, scene, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace tolvane
