#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

class QPainter;

namespace tolvane {

// The hatch a shade code draws over a region's colour. Codes 0 (no data) and 1 (no code
// given) are plain; every code from 2 to kLastShadeCode has a pattern of its own, and the
// first sixteen differ most (direction and kind first, then density, then weight).
enum class HatchKind { None, Lines, Cross, Dots, Rings, Dashes };

struct ShadePattern {
    HatchKind kind = HatchKind::None;
    double angle = 0;   // degrees, counter-clockwise from horizontal (Lines and Cross)
    double spacing = 0; // between lines or dot centres, in chart units
    double weight = 0;  // line width, or dot radius, in chart units
};

inline constexpr int kFirstShadeCode = 2;
inline constexpr int kLastShadeCode = 55;

// The pattern of a code; a code outside 2 .. kLastShadeCode is plain.
ShadePattern ShadePatternFor(int code);

// The colour the hatch is drawn in over a fill: dark on light fills, light on dark ones.
QColor ShadeInk(const QColor& fill);

// Hatches `area` (device coordinates) for `code` where it lies within `visible` (the picture:
// a region may reach far beyond it). The pattern is anchored to the device origin, so
// neighbouring regions with the same code continue each other's lines.
void PaintShade(QPainter& painter, const QPainterPath& area, int code, const QColor& fill,
                double unit, const QRectF& visible);

// A legend or help swatch: the fill, the hatch and a thin frame.
void PaintShadeSwatch(QPainter& painter, const QRectF& box, int code, const QColor& fill,
                      double unit);

} // namespace tolvane
