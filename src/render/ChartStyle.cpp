#include "render/ChartStyle.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace tolvane {

double ChartUnit(const QRectF& frame) {
    return std::max(0.05, std::min(frame.width() / 500.0, frame.height() / 350.0));
}

double BorderWidth(double unit) {
    return qEnvironmentVariableIsSet("BW1") ? 1.0 : std::max(1.0, 0.5 * unit);
}

QFont ChartFont(double pixelSize, bool bold, bool condensed) {
    QFont font;
    font.setFamilies(condensed
                         ? QStringList{QStringLiteral("DejaVu Sans Condensed"),
                                       QStringLiteral("DejaVu Sans"),
                                       QStringLiteral("Liberation Sans"), QStringLiteral("Arial")}
                         : QStringList{QStringLiteral("DejaVu Sans"),
                                       QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    if (condensed) font.setStretch(QFont::SemiCondensed);
    font.setPixelSize(std::max(1, qRound(pixelSize)));
    font.setBold(bold);
    // Glyph outlines scale smoothly; hinting would snap small labels to the pixel grid and
    // make a large picture look different from a small one.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QColor RgbColor(uint32_t rrggbb) {
    return QColor(static_cast<int>((rrggbb >> 16) & 0xFF), static_cast<int>((rrggbb >> 8) & 0xFF),
                  static_cast<int>(rrggbb & 0xFF));
}

bool IsDarkFill(const QColor& fill) {
    // Relative luminance with the usual weights; 0.45 keeps mid tones on dark text.
    const double y = 0.2126 * fill.redF() + 0.7152 * fill.greenF() + 0.0722 * fill.blueF();
    return y < 0.45;
}

QColor HaloFor(const QColor& ink) {
    return IsDarkFill(ink) ? QColor(255, 255, 255, 215) : QColor(20, 20, 20, 200);
}

HaloText LayoutAt(const QString& text, const QFont& font, const QPointF& origin) {
    HaloText out;
    out.glyphs.addText(origin, font, text);
    out.box = out.glyphs.boundingRect();
    return out;
}

HaloText LayoutCentred(const QString& text, const QFont& font, const QPointF& centre) {
    const QFontMetricsF fm(font);
    // Centre on the ink of the capitals, not on the whole line box, so labels sit visually
    // in the middle of their region.
    const double width = fm.horizontalAdvance(text);
    const double capHeight = fm.capHeight();
    return LayoutAt(text, font, QPointF(centre.x() - width / 2, centre.y() + capHeight / 2));
}

void DrawHaloText(QPainter& painter, const HaloText& text, const QColor& ink, const QColor& halo,
                  double haloWidth) {
    painter.save();
    if (haloWidth > 0) {
        QPen pen(halo, haloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.strokePath(text.glyphs, pen);
    }
    painter.fillPath(text.glyphs, ink);
    painter.restore();
}

} // namespace tolvane
