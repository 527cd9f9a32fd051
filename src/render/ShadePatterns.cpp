#include "render/ShadePatterns.h"

#include "render/ChartStyle.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <array>
#include <cmath>
#include <optional>

namespace tolvane {

namespace {

// Nine families, told apart first by direction and kind.
constexpr std::array<ShadePattern, 9> kFamilies{{
    {HatchKind::Lines, 45, 0, 0},  // "/"
    {HatchKind::Lines, 135, 0, 0}, // "\"
    {HatchKind::Lines, 0, 0, 0},   // horizontal
    {HatchKind::Lines, 90, 0, 0},  // vertical
    {HatchKind::Cross, 0, 0, 0},   // "+"
    {HatchKind::Cross, 45, 0, 0},  // "x"
    {HatchKind::Dots, 0, 0, 0},
    {HatchKind::Rings, 0, 0, 0},
    {HatchKind::Dashes, 0, 0, 0},
}};

// Then by density (medium, dense, sparse), then by weight (thin, bold).
constexpr std::array<double, 3> kSpacing{5.0, 3.2, 8.0};
constexpr std::array<double, 2> kLineWeight{0.55, 1.2};
constexpr std::array<double, 2> kDotWeight{0.75, 1.25};

void LineFamily(QPainterPath& out, const QRectF& bounds, double angleDeg, double spacing) {
    const double a = angleDeg * M_PI / 180.0;
    // y grows downward, so "counter-clockwise" turns towards negative y.
    const QPointF d(std::cos(a), -std::sin(a));
    const QPointF n(std::sin(a), std::cos(a));
    double nMin = INFINITY, nMax = -INFINITY, dMin = INFINITY, dMax = -INFINITY;
    for (const QPointF& c :
         {bounds.topLeft(), bounds.topRight(), bounds.bottomLeft(), bounds.bottomRight()}) {
        const double pn = c.x() * n.x() + c.y() * n.y();
        const double pd = c.x() * d.x() + c.y() * d.y();
        nMin = std::min(nMin, pn);
        nMax = std::max(nMax, pn);
        dMin = std::min(dMin, pd);
        dMax = std::max(dMax, pd);
    }
    for (double k = std::floor(nMin / spacing); k * spacing <= nMax; k += 1) {
        const QPointF base = n * (k * spacing);
        out.moveTo(base + d * (dMin - spacing));
        out.lineTo(base + d * (dMax + spacing));
    }
}

} // namespace

ShadePattern ShadePatternFor(int code) {
    if (code < kFirstShadeCode || code > kLastShadeCode) return {};
    const int i = code - kFirstShadeCode;
    const auto family = static_cast<size_t>(i % 9);
    const auto density = static_cast<size_t>((i / 9) % 3);
    const auto weight = static_cast<size_t>(i / 27);
    ShadePattern p = kFamilies[family];
    p.spacing = kSpacing[density];
    p.weight = p.kind == HatchKind::Dots ? kDotWeight[weight] : kLineWeight[weight];
    return p;
}

QColor ShadeInk(const QColor& fill) {
    return IsDarkFill(fill) ? QColor(255, 255, 255, 190) : QColor(0, 0, 0, 150);
}

void PaintShade(QPainter& painter, const QPainterPath& area, int code, const QColor& fill,
                double unit, const QRectF& visible) {
    const ShadePattern p = ShadePatternFor(code);
    if (p.kind == HatchKind::None || area.isEmpty()) return;
    const double spacing = std::max(2.5, p.spacing * unit);
    const double weight = std::max(0.6, p.weight * unit);
    // Hatch lines cost their count: only what can be seen is hatched.
    QRectF bounds = area.boundingRect().intersected(visible);
    if (painter.hasClipping()) bounds = bounds.intersected(painter.clipBoundingRect());
    if (bounds.isEmpty()) return;

    const QColor ink = ShadeInk(fill);
    QPainterPath hatch;
    std::optional<QPen> pen; // stroked, or else filled
    switch (p.kind) {
    case HatchKind::Lines:
        LineFamily(hatch, bounds, p.angle, spacing);
        pen = QPen(ink, weight, Qt::SolidLine, Qt::FlatCap);
        break;
    case HatchKind::Cross:
        LineFamily(hatch, bounds, p.angle, spacing);
        LineFamily(hatch, bounds, p.angle + 90, spacing);
        pen = QPen(ink, weight, Qt::SolidLine, Qt::FlatCap);
        break;
    case HatchKind::Dots:
    case HatchKind::Rings: {
        // Rows shifted by half a step: a staggered grid reads as dots, not as lines.
        const double rowStep = spacing * 0.866;
        for (double j = std::floor(bounds.top() / rowStep) - 1;
             j * rowStep <= bounds.bottom() + rowStep; j += 1) {
            const double shift = std::fmod(std::fabs(j), 2.0) == 1.0 ? spacing / 2 : 0;
            for (double i = std::floor(bounds.left() / spacing) - 1;
                 i * spacing <= bounds.right() + spacing; i += 1) {
                const QPointF c(i * spacing + shift, j * rowStep);
                const double r = p.kind == HatchKind::Dots ? weight : spacing * 0.28;
                hatch.addEllipse(c, r, r);
            }
        }
        if (p.kind == HatchKind::Rings) pen = QPen(ink, weight * 0.8);
        break;
    }
    case HatchKind::Dashes: {
        // Short dashes in staggered rows, like courses of bricks.
        const double rowStep = spacing * 0.8;
        const double dash = spacing * 0.55;
        for (double j = std::floor(bounds.top() / rowStep) - 1;
             j * rowStep <= bounds.bottom() + rowStep; j += 1) {
            const double shift = std::fmod(std::fabs(j), 2.0) == 1.0 ? spacing / 2 : 0;
            for (double i = std::floor(bounds.left() / spacing) - 1;
                 i * spacing <= bounds.right() + spacing; i += 1) {
                const double x = i * spacing + shift;
                hatch.moveTo(x, j * rowStep);
                hatch.lineTo(x + dash, j * rowStep);
            }
        }
        pen = QPen(ink, weight, Qt::SolidLine, Qt::FlatCap);
        break;
    }
    case HatchKind::None:
        break;
    }

    painter.save();
    if (CanClip(painter)) {
        painter.setClipPath(area, Qt::IntersectClip);
        if (pen)
            painter.strokePath(hatch, *pen);
        else
            painter.fillPath(hatch, ink);
    } else {
        // Without clipping the hatch is cut to the region's shape beforehand.
        QPainterPath shape = hatch;
        if (pen) {
            QPainterPathStroker stroker(*pen);
            shape = stroker.createStroke(hatch);
        }
        painter.fillPath(shape.intersected(area), ink);
    }
    painter.restore();
}

void PaintShadeSwatch(QPainter& painter, const QRectF& box, int code, const QColor& fill,
                      double unit) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(box, fill);
    QPainterPath area;
    area.addRect(box);
    PaintShade(painter, area, code, fill, unit, box);
    const double frame = BorderWidth(unit) * 0.8;
    painter.setPen(QPen(palette::kSubtleInk, frame));
    painter.setBrush(Qt::NoBrush);
    const double inset = frame / 2;
    painter.drawRect(box.adjusted(inset, inset, -inset, -inset));
    painter.restore();
}

} // namespace tolvane
