#include "render/ChartStyle.h"

#include "render/ThickLines.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <future>
#include <mutex>
#include <unordered_map>

namespace tolvane {

double ChartUnit(const QRectF& frame) {
    return std::max(0.05, std::min(frame.width() / 500.0, frame.height() / 350.0));
}

double BorderWidth(double unit) {
    return std::max(1.0, 0.5 * unit);
}

BorderStroke RegionBorder(double unit, const QRectF& mapRect, size_t regions) {
    const double normal = BorderWidth(unit);
    if (regions == 0 || mapRect.isEmpty()) return {normal, 1};
    // An eighth of a typical region's side at most: 200,000 regions at 2000 x 1400 get half
    // a pixel, the shipped maps their usual width. Thinner than 0.3 px a line no longer
    // shows as one: the border fades instead, and goes where regions are 1.2 px across.
    constexpr double kThinnest = 0.3;
    const double side = std::sqrt(mapRect.width() * mapRect.height() / double(regions));
    const double width = side / 8;
    if (width >= kThinnest) return {std::min(width, normal), 1};
    const double opacity = width / kThinnest;
    return {kThinnest, opacity < 0.5 ? 0 : opacity};
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
    // Beyond any picture that can be made; the bound keeps the conversion to int defined.
    font.setPixelSize(qRound(std::clamp(pixelSize, 1.0, 100000.0)));
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
    // A raw font compares and hashes by its font engine: one key per face and size.
    struct Key {
        QRawFont font;
        quint32 glyph;
        bool operator==(const Key& o) const { return glyph == o.glyph && font == o.font; }
    };
    struct KeyHash {
        size_t operator()(const Key& k) const { return qHashMulti(0, k.font, k.glyph); }
    };
    static std::mutex mutex;
    static std::unordered_map<Key, QPainterPath, KeyHash> cache;
    Key key{font, glyph};
    std::lock_guard lock(mutex);
    const auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    // Charts use a few sizes of one face; a bound keeps odd uses from growing it forever.
    if (cache.size() > 20000) cache.clear();
    QPainterPath path = font.pathForGlyph(glyph);
    cache.emplace(std::move(key), path);
    return path;
}

// Text in a script no installed font covers is set in Qt's stand-in engine, which has no
// outlines, no family and no size (asking it for its family crashes).
bool IsStandInFont(const QRawFont& font) {
    return !font.isValid() || !(font.pixelSize() > 0);
}

// A box in place of each glyph of a run that no installed font covers (its raw font is not
// a real font: it has no outlines and no family to ask for).
void AddMissingGlyphBoxes(QPainterPath& out, const QGlyphRun& run, const QPointF& shift,
                          double pixelSize) {
    const QList<QPointF> positions = run.positions();
    const double right = run.boundingRect().right();
    for (qsizetype i = 0; i < positions.size(); ++i) {
        const double x = positions[i].x();
        const double next = i + 1 < positions.size() ? positions[i + 1].x() : right;
        double advance = next - x;
        if (!(advance > 0) || advance > pixelSize) advance = 0.6 * pixelSize;
        const QRectF box(x + shift.x() + 0.1 * advance,
                         positions[i].y() + shift.y() - 0.7 * pixelSize, 0.8 * advance,
                         0.7 * pixelSize);
        const double line = std::max(0.5, 0.07 * pixelSize);
        out.addRect(box);
        // The inside runs the other way, so the winding fill leaves it open.
        const QRectF inside = box.adjusted(line, line, -line, -line);
        if (inside.isEmpty()) continue;
        out.moveTo(inside.topLeft());
        out.lineTo(inside.bottomLeft());
        out.lineTo(inside.bottomRight());
        out.lineTo(inside.topRight());
        out.closeSubpath();
    }
}

} // namespace

QString FittedText(const QString& text, const QFontMetricsF& metrics, double width,
                   Qt::TextElideMode mode) {
    if (!(width > 0)) return {};
    // No glyph is narrower than a tenth of the font's size, so what lies beyond this many
    // characters cannot be shown and is never laid out.
    const double narrowest = std::max(0.5, 0.1 * metrics.height());
    const auto most = static_cast<qsizetype>(std::min(width / narrowest, 1e6)) + 2;
    QString cut = text;
    if (text.size() > most) {
        const auto boundary = [&text](qsizetype i) {
            return i > 0 && i < text.size() && text[i].isLowSurrogate() ? i - 1 : i;
        };
        if (mode == Qt::ElideMiddle) {
            const qsizetype head = boundary(most / 2);
            const qsizetype tail = boundary(text.size() - most / 2);
            cut = text.left(head) + text.mid(tail);
        } else {
            cut = text.left(boundary(most));
        }
    }
    return metrics.elidedText(cut, mode, width);
}

bool MayFit(const QString& text, const QFontMetricsF& metrics, double width) {
    return width > 0 && static_cast<double>(text.size()) * 0.1 * metrics.height() <= width;
}

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
        if (IsStandInFont(raw)) {
            AddMissingGlyphBoxes(out.glyphs, run, shift, font.pixelSize());
            continue;
        }
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

namespace {

// The glyphs' outlines, the middle of the halo a mask then draws.
void AddOutlines(ThickLineMask& mask, const HaloText& text, const QTransform& toImage) {
    for (const QPolygonF& ring : text.glyphs.toSubpathPolygons())
        mask.addPolyline(ring, toImage);
}

} // namespace

void DrawHaloText(QPainter& painter, const HaloText& text, const QColor& ink, const QColor& halo,
                  double haloWidth) {
    painter.save();
    QTransform toImage;
    QImage* image = DirectTarget(painter, &toImage);
    if (haloWidth > 0 && image && !painter.hasClipping()) {
        // Stroking glyph outlines through Qt's general stroker costs about a millisecond a
        // line of text; the direct stroker does it in a fraction.
        ThickLineMask mask(image->size(), haloWidth);
        AddOutlines(mask, text, toImage);
        mask.composite(*image, halo);
    } else if (haloWidth > 0) {
        QPen pen(halo, haloWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.strokePath(text.glyphs, pen);
    }
    painter.fillPath(text.glyphs, ink);
    painter.restore();
}

void DrawHaloTextsOver(QPainter& painter, std::span<const HaloText> texts, const QColor& ink,
                       const QColor& halo, double haloWidth, const std::function<void()>& beneath) {
    QTransform toImage;
    QImage* image = DirectTarget(painter, &toImage);
    if (texts.empty() || haloWidth <= 0 || !image || painter.hasClipping()) {
        beneath();
        for (const HaloText& text : texts)
            DrawHaloText(painter, text, ink, halo, haloWidth);
        return;
    }
    ThickLineMask mask(image->size(), haloWidth);
    auto outlining = std::async(std::launch::async, [&] {
        for (const HaloText& text : texts)
            AddOutlines(mask, text, toImage);
    });
    beneath();
    outlining.get();
    mask.composite(*image, halo);
    painter.save();
    for (const HaloText& text : texts)
        painter.fillPath(text.glyphs, ink);
    painter.restore();
}

} // namespace tolvane
