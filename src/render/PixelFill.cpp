#include "render/PixelFill.h"

#include "render/ThickLines.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tolvane {

std::optional<SmallShapeFiller> SmallShapeFiller::For(QPainter& painter, int samples) {
    QTransform toImage;
    QImage* image = DirectTarget(painter, &toImage, QTransform::TxScale);
    if (!image || painter.hasClipping() || painter.opacity() < 1 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver)
        return std::nullopt;
    return SmallShapeFiller(*image, toImage, std::clamp(samples, 1, 8));
}

SmallShapeFiller::SmallShapeFiller(QImage& image, const QTransform& toImage, int samples)
    : image_(&image)
    , samples_(samples)
    , width_(image.width() * samples)
    , height_(image.height() * samples)
    , sx_(toImage.m11() * samples)
    , sy_(toImage.m22() * samples)
    , dx_(toImage.dx() * samples)
    , dy_(toImage.dy() * samples)
    , bits_(image.bits())
    , stride_(static_cast<size_t>(image.bytesPerLine())) {
    if (samples > 1)
        sums_.resize(static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()));
}

namespace {

// The first sample point at or beyond `v` (points lie at the middles, k + 0.5), kept within
// 0 .. limit.
int FirstPointFrom(double v, int limit) {
    const double from = v - 0.5;
    if (!(from > 0)) return 0; // NaN too
    if (!(from < limit)) return limit;
    // The ceiling, without the library call the baseline x86-64 needs for it.
    const int point = static_cast<int>(from);
    return point < from ? point + 1 : point;
}

} // namespace

void SmallShapeFiller::fill(const PointRuns& rings, uint32_t first, uint32_t count,
                            const QRectF& bounds, QRgb color) {
    // Smaller than a pixel, most shapes hold no sample point: they are passed over on their
    // bounds alone.
    const auto holdsPoints = [](double from, double to, int limit) {
        return FirstPointFrom(std::min(from, to), limit) <
               FirstPointFrom(std::max(from, to), limit);
    };
    if (!holdsPoints(bounds.left() * sx_ + dx_, bounds.right() * sx_ + dx_, width_) ||
        !holdsPoints(bounds.top() * sy_ + dy_, bounds.bottom() * sy_ + dy_, height_))
        return;
    // Nor do those wholly outside the rows this filler keeps to.
    const double boxTop = bounds.top() * sy_ + dy_, boxBottom = bounds.bottom() * sy_ + dy_;
    if (FirstPointFrom(std::max(boxTop, boxBottom), height_) <= fromRow_ * samples_ ||
        FirstPointFrom(std::min(boxTop, boxBottom), height_) >= toRow_ * samples_)
        return;
    points_.clear();
    ends_.clear();
    double top = std::numeric_limits<double>::infinity(), bottom = -top;
    for (uint32_t k = first; k < first + count; ++k) {
        for (const QPointF& p : rings[k]) {
            const QPointF q(p.x() * sx_ + dx_, p.y() * sy_ + dy_);
            // A damaged map's point out of range would make no crossing worth sorting.
            if (!std::isfinite(q.x()) || !std::isfinite(q.y())) return;
            top = std::min(top, q.y());
            bottom = std::max(bottom, q.y());
            points_.push_back(q);
        }
        ends_.push_back(points_.size());
    }
    if (points_.empty()) return;
    const int y0 = std::max(FirstPointFrom(top, height_), fromRow_ * samples_);
    const int y1 = std::min(FirstPointFrom(bottom, height_), toRow_ * samples_);
    if (y0 >= y1) return;
    // Each edge's crossings of the rows' centres (y + 0.5) it spans, row by row: an edge
    // from a to b crosses the rows whose centre c has a.y <= c < b.y or b.y <= c < a.y.
    hits_.clear();
    size_t start = 0;
    for (const size_t end : ends_) {
        for (size_t i = start; i < end; ++i) {
            const QPointF& a = points_[i];
            const QPointF& b = points_[i + 1 < end ? i + 1 : start];
            const double lo = std::min(a.y(), b.y()), hi = std::max(a.y(), b.y());
            // The first and last such row, estimated and then made sure of.
            int from = std::max(y0, FirstPointFrom(lo, y1));
            if (from > y0 && from - 0.5 >= lo) --from;
            while (from < y1 && from + 0.5 < lo)
                ++from;
            for (int y = from; y < y1 && y + 0.5 < hi; ++y) {
                const double centre = y + 0.5;
                hits_.push_back({y, a.x() + (centre - a.y()) * (b.x() - a.x()) / (b.y() - a.y())});
            }
        }
        start = end;
    }
    // Sorted by row, then by place in the row: few, and mostly in order already.
    const auto before = [](const Hit& a, const Hit& b) {
        return a.row < b.row || (a.row == b.row && a.x < b.x);
    };
    if (hits_.size() > 32) std::sort(hits_.begin(), hits_.end(), before);
    for (size_t i = 1; i < hits_.size() && hits_.size() <= 32; ++i) {
        const Hit hit = hits_[i];
        size_t j = i;
        for (; j > 0 && before(hit, hits_[j - 1]); --j)
            hits_[j] = hits_[j - 1];
        hits_[j] = hit;
    }
    for (size_t j = 0; j + 1 < hits_.size();) {
        if (hits_[j + 1].row != hits_[j].row) { // an odd crossing left over (a damaged ring)
            ++j;
            continue;
        }
        addSpan(hits_[j].row, FirstPointFrom(hits_[j].x, width_),
                FirstPointFrom(hits_[j + 1].x, width_), color);
        j += 2;
    }
}

void SmallShapeFiller::addSpan(int row, int from, int to, QRgb color) {
    if (from >= to) return;
    if (samples_ == 1) {
        auto* pixels = reinterpret_cast<QRgb*>(bits_ + static_cast<size_t>(row) * stride_);
        std::fill(pixels + from, pixels + to, color | 0xff000000u);
        return;
    }
    const int pixelRow = row / samples_;
    firstRow_ = std::min(firstRow_, pixelRow);
    lastRow_ = std::max(lastRow_, pixelRow);
    const int full = samples_ * samples_;
    Sum* sums = sums_.data() + static_cast<size_t>(pixelRow) * static_cast<size_t>(image_->width());
    for (int x = from; x < to;) {
        const int pixel = x / samples_;
        const int end = std::min(to, (pixel + 1) * samples_);
        const auto n = static_cast<uint16_t>(end - x);
        Sum& s = sums[pixel];
        // Shapes that overlap (a damaged map) fill a pixel once over at most: the sums stay
        // well within their 16 bits.
        if (s.count < full) {
            s.blue = static_cast<uint16_t>(s.blue + qBlue(color) * n);
            s.green = static_cast<uint16_t>(s.green + qGreen(color) * n);
            s.red = static_cast<uint16_t>(s.red + qRed(color) * n);
            s.count = static_cast<uint16_t>(s.count + n);
        }
        x = end;
    }
}

void SmallShapeFiller::finish() {
    const int full = samples_ * samples_;
    const int width = image_->width();
    for (int y = firstRow_; y <= lastRow_; ++y) {
        auto* pixels = reinterpret_cast<QRgb*>(bits_ + static_cast<size_t>(y) * stride_);
        Sum* sums = sums_.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            Sum& s = sums[x];
            if (!s.count) continue;
            // Points no shape holds show what lies beneath.
            const int rest = std::max(0, full - s.count);
            const int total = s.count + rest;
            const QRgb under = pixels[x];
            const auto mix = [&](int sum, int beneath) {
                return (sum + rest * beneath + total / 2) / total;
            };
            pixels[x] = qRgb(mix(s.red, qRed(under)), mix(s.green, qGreen(under)),
                             mix(s.blue, qBlue(under)));
            s = Sum();
        }
    }
    firstRow_ = INT_MAX;
    lastRow_ = -1;
}

} // namespace tolvane
