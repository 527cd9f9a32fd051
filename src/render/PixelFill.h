#pragma once

#include "render/MapMovie.h"

#include <QImage>
#include <QTransform>
#include <vector>

class QPainter;

namespace tolvane {

// Fills shapes a few pixels across straight into a 32-bit image, aliased and odd-even: a
// pixel takes the colour when its centre lies inside, as the painter fills without
// antialiasing. For a shape that small the painter's setting up costs many times the pixels
// it sets, and a map of 200,000 regions drawn small is that shape 200,000 times.
class SmallShapeFiller {
public:
    // The filler for what `painter` draws, or none when its device is no 32-bit image, it
    // clips or blends otherwise than "over", or its transform does more than scale and move.
    static std::optional<SmallShapeFiller> For(QPainter& painter);

    // Fills rings first .. first + count - 1 of `rings`, lying within `bounds`, with an
    // opaque colour.
    void fill(const PointRuns& rings, uint32_t first, uint32_t count, const QRectF& bounds,
              QRgb color);

private:
    SmallShapeFiller(QImage& image, const QTransform& toImage);
    QImage* image_;
    double sx_, sy_, dx_, dy_;
    std::vector<QPointF> points_; // the shape in pixels
    std::vector<size_t> ends_;    // where each of its rings ends in points_
    std::vector<double> crossings_;
};

} // namespace tolvane
