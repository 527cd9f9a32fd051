#include "render/ChartStyle.h"

#include "render/ThickLines.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace tolvane {

double ChartUnit(const QRectF& frame) {
    return std::max(0.05, std::min(frame.width() / 500.0, frame.height() / 350.0));
}

double BorderWidth(double unit) {
    return std::max(1.0, 0.5 * unit);
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

bool CanClip(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    return !engine || engine->type() != QPaintEngine::SVG;
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

namespace {

// Glyph outlines, kept once made. QPainterPath::addText asks the font engine for every
// glyph again, and the engine runs the font's hinting program on each: with a hundred
// labels that was most of the time a chart took to draw.
QPainterPath GlyphOutline(const QRawFont& font, quint32 glyph) {
    struct Key {
        QString family;
        QString style;
        double size;
        quint32 glyph;
        bool operator==(const Key& o) const {
            return glyph == o.glyph && size == o.size && family == o.family && style == o.style;
        }
    };
    struct KeyHash {
        size_t operator()(const Key& k) const {
            return qHashMulti(0, k.family, k.style, k.size, k.glyph);
        }
    };
    static std::mutex mutex;
    static std::unordered_map<Key, QPainterPath, KeyHash> cache;
    Key key{font.familyName(), font.styleName(), font.pixelSize(), glyph};
    std::lock_guard lock(mutex);
    const auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    // Charts use a few sizes of one face; a bound keeps odd uses from growing it forever.
    if (cache.size() > 20000) cache.clear();
    QPainterPath path = font.pathForGlyph(glyph);
    cache.emplace(std::move(key), path);
    return path;
}

} // namespace

HaloText LayoutAt(const QString& text, const QFont& font, const QPointF& origin) {
    HaloText out;
    if (text.isEmpty()) return out;
    QTextLayout layout(text, font);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) return out;
    // Glyph positions are relative to the top of the line; the caller gives the baseline.
    const QPointF shift = origin - QPointF(0, line.ascent());
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
            const QPainterPath glyph = GlyphOutline(raw, glyphs[i]);
            if (!glyph.isEmpty()) out.glyphs.addPath(glyph.translated(positions[i] + shift));
        }
    }
    out.glyphs.setFillRule(Qt::WindingFill);
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
    QTransform toImage;
    QImage* image = DirectTarget(painter, &toImage);
    if (haloWidth > 0 && image && !painter.hasClipping()) {
        // Stroking glyph outlines through Qt's general stroker costs about a millisecond a
        // line of text; the direct stroker does it in a fraction.
        ThickLineMask mask(image->size(), haloWidth);
        for (const QPolygonF& ring : text.glyphs.toSubpathPolygons())
            mask.addPolyline(ring, toImage);
        mask.composite(*image, halo);
    } else if (haloWidth > 0) {
        QPen pen(halo, haloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.strokePath(text.glyphs, pen);
    }
    painter.fillPath(text.glyphs, ink);
    painter.restore();
}

} // namespace tolvane
