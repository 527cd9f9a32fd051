#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <array>
#include <span>

namespace tolvane {

// A bubble is three discs, one over the other: a white rim separates touching bubbles, a
// slightly darker edge keeps pale ones visible on the pale base map, and the fill.
struct Disc {
    double radius;
    QColor color;
};
using BubbleDiscs = std::array<Disc, 3>;

BubbleDiscs DiscsOf(double radius, const QColor& fill, double unit);

// The pixels of a 32-bit premultiplied or opaque image, detached once for all the bubbles
// painted on it.
struct Pixels {
    explicit Pixels(QImage& image)
        : bits(image.bits())
        , stride(image.bytesPerLine())
        , width(image.width())
        , height(image.height()) {}
    QRgb* row(int y) const { return reinterpret_cast<QRgb*>(bits + stride * y); }
    uchar* bits;
    qsizetype stride;
    int width, height;
};

// The discs laid straight onto the image, centred on `centre` (pixel coordinates): each
// pixel takes the coverage of its distance to the centre. Only pixels in `clip` (none: the
// whole image) are read or written, so that several painters can lay parts of one image at
// once.
void PaintDiscsDirect(const Pixels& image, QPointF centre, const BubbleDiscs& discs,
                      const QRect& clip = QRect());

struct PlacedDiscs {
    QPointF centre; // in pixels
    BubbleDiscs discs;
};

// Thousands of bubbles in order, as PaintDiscsDirect lays them one after the other: the
// picture is the same, painted in tiles, several at once.
void PaintManyDiscs(const Pixels& image, std::span<const PlacedDiscs> discs);

} // namespace tolvane
