#include "render/PixelFill.h"

#include "render/ThickLines.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tolvane {

std::optional<SmallShapeFiller> SmallShapeFiller::For(QPainter& painter) {
    QPaintDevice* device = painter.device();
    if (!device || device->devType() != QInternal::Image) return std::nullopt;
    auto* image = static_cast<QImage*>(device);
    const QTransform toImage = painter.deviceTransform();
    if (!CanStrokeDirectly(*image) || toImage.type() > QTransform::TxScale ||
        painter.hasClipping() || painter.opacity() < 1 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    return SmallShapeFiller(*image, toImage);
}

SmallShapeFiller::SmallShapeFiller(QImage& image, const QTransform& toImage)
    : image_(&image)
    , sx_(toImage.m11())
    , sy_(toImage.m22())
    , dx_(toImage.dx())
    , dy_(toImage.dy()) {}

namespace {

// The first pixel whose centre lies at or beyond `v`, kept within 0 .. limit.
int FirstCentreFrom(double v, int limit) {
    return static_cast<int>(std::clamp(std::ceil(v - 0.5), 0.0, static_cast<double>(limit)));
}

} // namespace

void SmallShapeFiller::fill(const PointRuns& rings, uint32_t first, uint32_t count,
                            const QRectF& bounds, QRgb color) {
    // Smaller than a pixel, most shapes hold no pixel's centre: they are passed over on
    // their bounds alone.
    const int width = image_->width(), height = image_->height();
    const auto centres = [](double from, double to, int limit) {
        return FirstCentreFrom(std::min(from, to), limit) <
               FirstCentreFrom(std::max(from, to), limit);
    };
    if (!centres(bounds.left() * sx_ + dx_, bounds.right() * sx_ + dx_, width) ||
        !centres(bounds.top() * sy_ + dy_, bounds.bottom() * sy_ + dy_, height))
        return;
    points_.clear();
    ends_.clear();
    double top = std::numeric_limits<double>::infinity(), bottom = -top;
    for (uint32_t k = first; k < first + count; ++k) {
        for (const QPointF& p : rings[k]) {
            const QPointF q(p.x() * sx_ + dx_, p.y() * sy_ + dy_);
            top = std::min(top, q.y());
            bottom = std::max(bottom, q.y());
            points_.push_back(q);
        }
        ends_.push_back(points_.size());
    }
    if (!(top <= bottom)) return; // no points, or not finite
    const int y0 = FirstCentreFrom(top, height);
    const int y1 = FirstCentreFrom(bottom, height);
    const QRgb pixel = color | 0xff000000u;
    for (int y = y0; y < y1; ++y) {
        const double centre = y + 0.5;
        crossings_.clear();
        size_t start = 0;
        for (const size_t end : ends_) {
            for (size_t i = start; i < end; ++i) {
                const QPointF& a = points_[i];
                const QPointF& b = points_[i + 1 < end ? i + 1 : start];
                if ((a.y() <= centre) != (b.y() <= centre))
                    crossings_.push_back(a.x() +
                                         (centre - a.y()) * (b.x() - a.x()) / (b.y() - a.y()));
            }
            start = end;
        }
        std::sort(crossings_.begin(), crossings_.end());
        auto* row = reinterpret_cast<QRgb*>(image_->scanLine(y));
        for (size_t j = 0; j + 1 < crossings_.size(); j += 2)
            std::fill(row + FirstCentreFrom(crossings_[j], width),
                      row + FirstCentreFrom(crossings_[j + 1], width), pixel);
    }
}

} // namespace tolvane
