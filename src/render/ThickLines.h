#pragma once

#include <QColor>
#include <QImage>
#include <QPolygonF>
#include <QTransform>
#include <span>
#include <vector>

class QPainter;

namespace tolvane {

// Strokes polylines of any width straight into a 32-bit image, antialiased, with round
// joins and caps. Qt strokes lines wider than a pixel through a general outline stroker and
// polygon filler, which takes a second for a detailed world map; here each pixel near a
// segment takes the coverage of its distance to the segment, and overlapping segments keep
// the largest coverage, so joins neither gap nor darken. Points are device pixels.
class ThickLineMask {
public:
    ThickLineMask(QSize size, double width);
    ~ThickLineMask();
    ThickLineMask(const ThickLineMask&) = delete;
    ThickLineMask& operator=(const ThickLineMask&) = delete;
    // Points closer than a fraction of a pixel to the last one drawn are passed over: they
    // would not change the picture.
    void addPolyline(std::span<const QPointF> line, const QTransform& toDevice);
    // Blends `color` through the collected coverage; the image must be of `size` and
    // RGB32, ARGB32 or ARGB32_Premultiplied.
    void composite(QImage& image, const QColor& color, const QRect& clip = QRect()) const;

private:
    void addSegment(QPointF a, QPointF b);
    int width_, height_;
    float halfWidth_;
    // Coverage buffers are reused between pictures: a fresh one of a few megabytes costs
    // more in page faults than the lines take to measure. A buffer is handed back cleared,
    // row span by row span, so it never needs clearing whole.
    std::vector<uint8_t> coverage_;
    std::vector<int> rowMin_, rowMax_; // touched columns per row, for the blend pass
};

// Whether the fast stroker can draw for this image format.
bool CanStrokeDirectly(const QImage& image);

// The image a painter draws on, when lines can be laid on it directly: a 32-bit image
// painted with a transform of no more than `most` (by default without scaling). `toImage`
// receives the painter's coordinates-to-pixels transform. Null for any other device (SVG,
// PDF, a widget); callers then stroke with the painter.
QImage* DirectTarget(const QPainter& painter, QTransform* toImage,
                     QTransform::TransformationType most = QTransform::TxTranslate);

} // namespace tolvane
