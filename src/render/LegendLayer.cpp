#include "render/ChartLayers.h"
#include "render/ChartStyle.h"
#include "render/ShadePatterns.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

QFont LegendFont(double unit) {
    return ChartFont(8 * unit);
}

// A legend text may take this share of a chart's width (in units); the rest is elided.
constexpr double kLegendTextWidth = 240;

} // namespace

LegendLayout::LegendLayout(const ChartScene& scene, double unit)
    : unit_(unit) {
    if (!scene.movie || !scene.data->showLegend) return;
    const MovieKind kind = scene.movie->kind;
    if (kind != MovieKind::Region && kind != MovieKind::City) return;
    bubbles_ = kind == MovieKind::City;
    const QFontMetricsF fm(LegendFont(unit));
    double maxRadius = 0;
    for (int i = 0; i < scene.data->legendCount; ++i) {
        const StagedLegendItem& src = scene.data->legend[static_cast<size_t>(i)];
        Item item;
        item.text = FittedText(src.text, fm, kLegendTextWidth * unit);
        item.color = src.color ? RgbColor(*src.color) : palette::kNoData;
        item.shade = src.shade;
        item.radius = bubbles_ ? BubbleRadius(src.scale, unit) : 0;
        maxRadius = std::max(maxRadius, item.radius);
        textWidth_ = std::max(textWidth_, fm.horizontalAdvance(item.text));
        items_.push_back(std::move(item));
    }
    swatch_ = bubbles_
                  ? QSizeF(std::max(2 * maxRadius, 6 * unit), std::max(2 * maxRadius, 6 * unit))
                  : QSizeF(15 * unit, 9.5 * unit);
    rowHeight_ = std::max(swatch_.height(), fm.height()) + 3 * unit;
    columnGap_ = 12 * unit;
}

QSizeF LegendLayout::size(int columns) const {
    if (items_.empty()) return {};
    columns = std::clamp(columns, 1, static_cast<int>(items_.size()));
    const int rows = (static_cast<int>(items_.size()) + columns - 1) / columns;
    const double itemWidth = swatch_.width() + 5 * unit_ + textWidth_;
    return {columns * itemWidth + (columns - 1) * columnGap_, rows * rowHeight_ - 3 * unit_};
}

int LegendLayout::columnsFor(double width) const {
    int columns = 1;
    while (columns < static_cast<int>(items_.size()) && size(columns + 1).width() <= width)
        ++columns;
    return columns;
}

QRectF LegendLayout::area(const QPointF& topLeft, int columns, bool onLand) const {
    if (items_.empty()) return {};
    const double pad = onLand ? 5 * unit_ : 0;
    return QRectF(topLeft, size(columns)).adjusted(-pad, -pad, pad, pad);
}

void LegendLayout::paint(QPainter& painter, const QPointF& topLeft, int columns,
                         bool onLand) const {
    if (items_.empty()) return;
    columns = std::clamp(columns, 1, static_cast<int>(items_.size()));
    if (onLand) {
        // Nearly opaque: the land's outlines may show through faintly, as on a printed map,
        // but never compete with the swatches.
        painter.fillRect(area(topLeft, columns, true), QColor(255, 255, 255, 235));
    }
    const int rows = (static_cast<int>(items_.size()) + columns - 1) / columns;
    const double itemWidth = swatch_.width() + 5 * unit_ + textWidth_;
    const QFont font = LegendFont(unit_);
    const QFontMetricsF fm(font);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (size_t k = 0; k < items_.size(); ++k) {
        const Item& item = items_[k];
        // Down the first column, then the next: the order of the items reads naturally.
        const int column = static_cast<int>(k) / rows;
        const int row = static_cast<int>(k) % rows;
        const QPointF origin =
            topLeft + QPointF(column * (itemWidth + columnGap_), row * rowHeight_);
        const double middle = origin.y() + (rowHeight_ - 3 * unit_) / 2;
        if (bubbles_) {
            PaintBubble(painter, QPointF(origin.x() + swatch_.width() / 2, middle), item.radius,
                        item.color, unit_);
        } else {
            const QRectF box(origin.x(), middle - swatch_.height() / 2, swatch_.width(),
                             swatch_.height());
            PaintShadeSwatch(painter, box, item.shade, item.color, unit_);
        }
        const QPointF baseline(origin.x() + swatch_.width() + 5 * unit_,
                               middle + (fm.ascent() - fm.descent()) / 2);
        const HaloText text = LayoutAt(item.text, font, baseline);
        DrawHaloText(painter, text, palette::kDarkInk, QColor(), 0); // on paper or its box
    }
    painter.restore();
}

} // namespace tolvane
