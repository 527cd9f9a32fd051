#pragma once

#include "render/ChartScene.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QTransform>
#include <optional>

class QPainter;

namespace tolvane {

// Draws the chart of a scene into `frame` of any painter: a widget, an image, an SVG or
// PDF generator. Sizes of text and lines follow the frame, so every output is the same
// picture at its own sharpness. The painter is left as it was.
void RenderChart(QPainter& painter, const ChartScene& scene, const QRectF& frame);

// Where a map chart puts the movie's plane in `frame`; none for charts without a map.
std::optional<QTransform> MapPlacement(const ChartScene& scene, const QRectF& frame);

// The chart as an opaque image of exactly `size` pixels (none for an empty size).
QImage RenderChartImage(const ChartScene& scene, QSize size);

} // namespace tolvane
