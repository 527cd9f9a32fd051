#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <span>

class QPainter;

namespace tolvane {

// Sizes in the charts are given in "units": one unit is a pixel of a 500 x 350 picture and
// grows with the picture, so a 2000 x 1400 picture is a sharper copy of a 500 x 350 one.
double ChartUnit(const QRectF& frame);

// Borders are thin, as in print, but never thinner than a device pixel.
double BorderWidth(double unit);
// How the borders of `regions` regions drawn in `mapRect` are stroked: thinner where regions
// are small on the picture, so that a dense map is not all border; fainter still where they
// are under a few pixels, and left out (opacity 0) where they are about a pixel, since there
// a border would only grey the colours and lay a moire over them.
struct BorderStroke {
    double width = 1;
    double opacity = 1;
};
BorderStroke RegionBorder(double unit, const QRectF& mapRect, size_t regions);

// The chart's sans-serif face at a pixel size; condensed suits map labels.
QFont ChartFont(double pixelSize, bool bold = false, bool condensed = false);

// Whether the painter's device honours clipping. Qt's SVG generator ignores clips, so what
// must be cut is cut geometrically for it.
bool CanClip(const QPainter& painter);

// The colours every chart shares.
namespace palette {
inline const QColor kBackground{255, 255, 255};
inline const QColor kNoData{255, 255, 255};
inline const QColor kLand{236, 234, 229}; // context land, and the base map of city charts
inline const QColor kLandEdge{204, 200, 192};
inline const QColor kWater{221, 231, 238};
inline const QColor kDarkInk{34, 34, 34};
inline const QColor kLightInk{255, 255, 255};
inline const QColor kSubtleInk{112, 112, 112};
inline const QColor kDefaultBorder{128, 128, 128};
} // namespace palette

QColor RgbColor(uint32_t rrggbb);

// Dark text reads on light fills, light text on dark ones.
bool IsDarkFill(const QColor& fill);

// The text as far as it can be shown in `width`, elided where it is cut. Only what can be
// shown is laid out, so a text of any length costs no more than one that fits.
QString FittedText(const QString& text, const QFontMetricsF& metrics, double width,
                   Qt::TextElideMode mode = Qt::ElideRight);
// False when the text is certainly wider than `width` (told without laying it out).
bool MayFit(const QString& text, const QFontMetricsF& metrics, double width);

// Text that stays legible on any fill: an outline of `halo` behind glyphs of `ink`.
struct HaloText {
    QPainterPath glyphs; // positioned, in the painter's coordinates
    QRectF box;          // tight box of the glyphs
};
// The text laid out with its centre at `centre` (no drawing). Glyphs no installed font has
// are drawn as boxes.
HaloText LayoutCentred(const QString& text, const QFont& font, const QPointF& centre);
// The text laid out with its baseline starting at `origin`.
HaloText LayoutAt(const QString& text, const QFont& font, const QPointF& origin);
void DrawHaloText(QPainter& painter, const HaloText& text, const QColor& ink, const QColor& halo,
                  double haloWidth);
// Texts whose halos never meet, drawn over what `beneath` paints first. On a crowded map
// outlining the halos costs as much as the picture beneath them, so it is done while
// `beneath` paints.
void DrawHaloTextsOver(QPainter& painter, std::span<const HaloText> texts, const QColor& ink,
                       const QColor& halo, double haloWidth, const std::function<void()>& beneath);
// The halo that suits an ink colour.
QColor HaloFor(const QColor& ink);

} // namespace tolvane
