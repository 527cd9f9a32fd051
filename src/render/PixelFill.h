#pragma once

#include "render/MapMovie.h"

#include <QImage>
#include <QTransform>
#include <climits>
#include <optional>
#include <vector>

class QPainter;

namespace tolvane {

// Fills shapes a few pixels across straight into a 32-bit image, odd-even. For a shape that
// small the painter's setting up costs many times the pixels it sets, and a map of 200,000
// regions drawn small is that shape 200,000 times.
//
// With one sample a pixel, a pixel takes a shape's colour when its centre lies inside, as the
// painter fills without antialiasing: right for shapes of a few pixels, whose edges lie under
// their borders. Shapes under a pixel hold a pixel's centre by chance, and a regular pattern
// of them turns into a moire; with `samples` x `samples` points a pixel, each pixel blends
// the colours of the shapes its points lie in, with what lies beneath for points none holds.
class SmallShapeFiller {
public:
    // The filler for what `painter` draws, or none when its device is no 32-bit image, it
    // clips or blends otherwise than "over", or its transform does more than scale and move.
    static std::optional<SmallShapeFiller> For(QPainter& painter, int samples = 1);

    // Fills rings first .. first + count - 1 of `rings`, lying within `bounds`, with an
    // opaque colour.
    void fill(const PointRuns& rings, uint32_t first, uint32_t count, const QRectF& bounds,
              QRgb color);
    // Lays the blended pixels on the image; with one sample a pixel, they are laid already.
    void finish();
    // Fills only the image's rows from .. to - 1 (for sharing a picture between cores).
    void keepToRows(int from, int to) {
        fromRow_ = from;
        toRow_ = to;
    }
    int samples() const { return samples_; }

private:
    SmallShapeFiller(QImage& image, const QTransform& toImage, int samples);
    void addSpan(int row, int from, int to, QRgb color);

    QImage* image_;
    int samples_;
    int width_, height_;          // in sample points
    double sx_, sy_, dx_, dy_;    // to sample points
    std::vector<QPointF> points_; // the shape, in sample points
    std::vector<size_t> ends_;    // where each of its rings ends in points_
    uchar* bits_;                 // the image's rows, found once
    size_t stride_;
    // Where the shape's edges cross rows' centres.
    struct Hit {
        int row;
        double x;
    };
    std::vector<Hit> hits_;
    // Per pixel, while blending: the colours of the points filled, and how many.
    struct Sum {
        uint16_t blue = 0, green = 0, red = 0, count = 0;
    };
    std::vector<Sum> sums_;
    int firstRow_ = INT_MAX, lastRow_ = -1; // pixel rows with sums
    int fromRow_ = 0, toRow_ = INT_MAX / 8; // pixel rows filled
};

} // namespace tolvane
