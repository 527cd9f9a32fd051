#pragma once

#include "render/ChartScene.h"

#include <QColor>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QTransform>
#include <future>
#include <memory>
#include <vector>

class QImage;
class QPainter;

namespace tolvane {
class ThickLineMask;
}

namespace tolvane {

// The pieces a chart picture is drawn from, each a layer that leaves the painter as it
// found it. They work in device coordinates of the frame; `toDevice` places the movie's
// plane in it.
struct MapView {
    QTransform toDevice;
    QRectF mapRect; // the movie's view box, fitted into the frame
    QRectF area;    // all the map may use: the frame inside its margins; context fills it
    QRectF frame;   // the whole picture: labels may use the margins, never beyond
    double unit = 1;
};

// Fits the view box into `area` keeping its proportions, centred.
MapView FitMap(const QRectF& viewBox, const QRectF& area, double unit);

// What each region shape is filled with; shapes no entry names keep `fallback`.
struct RegionFills {
    std::vector<QColor> fill;
    std::vector<int> shade;
};
RegionFills ComputeRegionFills(const ChartScene& scene, bool withData, const QColor& fallback);

// The fills of the context (cut to the map's area) and of the regions, with their hatches;
// their outlines are BorderLayers.
void PaintContext(QPainter& painter, const MapMovie& movie, const MapView& view);
// Regions a few pixels across are filled from `samples` x `samples` points a pixel, where
// the painter allows; see SmallShapeFiller.
void PaintRegions(QPainter& painter, const MapMovie& movie, const MapView& view,
                  const RegionFills& fills, int samples);
// Lines of the movie's plane stroked `width` device pixels wide. On an image the lines are
// measured from construction on, on another thread, and laid on by paint(); elsewhere
// paint() strokes them with the painter.
class BorderLayer {
public:
    BorderLayer(QPainter& painter, const PointRuns& lines, const QTransform& toDevice, double width,
                const QRectF& clip = QRectF());
    ~BorderLayer();
    BorderLayer(const BorderLayer&) = delete;
    BorderLayer& operator=(const BorderLayer&) = delete;
    void paint(QPainter& painter, const QColor& color);

private:
    const PointRuns& lines_;
    QTransform toDevice_;
    double width_;
    QRectF clip_; // in the frame; none: no clip
    QRect deviceClip_;
    QImage* image_ = nullptr;
    std::future<std::unique_ptr<ThickLineMask>> mask_;
};

void PaintRegionLabels(QPainter& painter, const ChartScene& scene, const MapView& view,
                       const RegionFills& fills);

// Bubble radius in device pixels for a scale in percent; see BubbleLayer.cpp.
double BubbleRadius(double scale, double unit);
// Names, when shown, stay off `keepClear` (the legend).
void PaintBubbles(QPainter& painter, const ChartScene& scene, const MapView& view, bool withNames,
                  const QRectF& keepClear = QRectF());
// A single bubble, as on the map and in the legend.
void PaintBubble(QPainter& painter, const QPointF& centre, double radius, const QColor& fill,
                 double unit);

// The legend of region, shade and city charts: a swatch and a text per item, in columns.
class LegendLayout {
public:
    LegendLayout(const ChartScene& scene, double unit);
    bool isEmpty() const { return items_.empty(); }
    // The area painted at `topLeft`, its paper box included.
    QRectF area(const QPointF& topLeft, int columns, bool onLand = false) const;
    // Size when laid out in `columns` columns.
    QSizeF size(int columns) const;
    // The most columns that fit `width` (at least 1).
    int columnsFor(double width) const;
    // `onLand`: the legend stands on context land and needs a box of paper behind it.
    void paint(QPainter& painter, const QPointF& topLeft, int columns, bool onLand = false) const;

private:
    struct Item {
        QString text;
        QColor color;
        int shade = 1;
        double radius = 0; // city legends: bubble radius
    };
    std::vector<Item> items_;
    bool bubbles_ = false;
    double unit_;
    QSizeF swatch_;
    double textWidth_ = 0;
    double rowHeight_ = 0;
    double columnGap_ = 0;
};

void PaintFlagChart(QPainter& painter, const ChartScene& scene, const QRectF& frame, double unit);

} // namespace tolvane
