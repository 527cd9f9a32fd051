#include "render/ChartLayers.h"
#include "render/ChartStyle.h"
#include "render/SvgMarkers.h"

#include <QFile>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace tolvane {

namespace {

const QColor kNegativeInk(178, 34, 34);

// Flags are small SVG files; each is parsed once per run.
std::shared_ptr<QSvgRenderer> FlagArt(const QString& folder, const QString& code) {
    static QHash<QString, std::shared_ptr<QSvgRenderer>> cache;
    // A code names a file: letters, digits and "-" only, never a path.
    static const QRegularExpression valid(QStringLiteral("^[A-Za-z0-9-]{1,12}$"));
    if (!valid.match(code).hasMatch()) return nullptr;
    const QString path =
        folder + QStringLiteral("flags/") + code.toLower() + QStringLiteral(".svg");
    const auto it = cache.constFind(path);
    if (it != cache.constEnd()) return *it;
    std::shared_ptr<QSvgRenderer> art;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        art = std::make_shared<QSvgRenderer>(ExpandSvgMarkers(file.readAll()));
        if (!art->isValid()) art.reset();
    }
    cache.insert(path, art);
    return art;
}

// The shape of a flag: its drawing's own proportions (the files draw each flag in its
// official shape), 3:2 for the box that stands in for a code without a flag.
double FlagAspect(const QString& folder, const QString& code) {
    constexpr double kPlaceholder = 1.5;
    const auto art = FlagArt(folder, code);
    if (!art) return kPlaceholder;
    const QRectF box = art->viewBoxF();
    if (!(box.width() > 0 && box.height() > 0)) return kPlaceholder;
    return std::clamp(box.width() / box.height(), 0.4, 4.0);
}

// The flag's box of `height` (narrowed to `maxWidth` keeping its shape), its bottom centre
// at `bottomCentre`.
QRectF FlagBox(double aspect, double height, double maxWidth, const QPointF& bottomCentre) {
    const double width = std::min(height * aspect, maxWidth);
    const double h = width / aspect;
    return {bottomCentre.x() - width / 2, bottomCentre.y() - h, width, h};
}

// A negative value's flag is drawn faded inside a dashed red edge, so that it never reads
// as a positive one.
void PaintFlag(QPainter& painter, const QRectF& box, const QString& folder, const QString& code,
               double unit, bool negative = false) {
    if (box.width() < 1 || box.height() < 1) return;
    painter.save();
    if (negative) painter.setOpacity(0.38);
    if (const auto art = FlagArt(folder, code)) {
        // The SVG renderer ignores clip paths inside the files; some flags would spill over.
        if (CanClip(painter)) {
            painter.save();
            painter.setClipRect(box, Qt::IntersectClip);
            art->render(&painter, box);
            painter.restore();
        } else {
            // A device without clipping gets the flag as a picture, which ends at its edges.
            // Three pixels a unit, but never a picture larger than a screen.
            const QSize pixels =
                (box.size() * std::min(3.0, 2000 / std::max(box.width(), box.height())))
                    .toSize()
                    .expandedTo(QSize(1, 1));
            QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter flag(&image);
            art->render(&flag, QRectF(QPointF(0, 0), QSizeF(pixels)));
            flag.end();
            painter.drawImage(box, image);
        }
    } else {
        painter.fillRect(box, QColor(228, 228, 228));
        const QFont font = ChartFont(std::min(box.height() * 0.38, box.width() * 0.3), true);
        painter.setFont(font);
        painter.setPen(palette::kSubtleInk);
        painter.drawText(box, Qt::AlignCenter,
                         code.isEmpty()
                             ? QStringLiteral("?")
                             : FittedText(code, QFontMetricsF(font), box.width()).toUpper());
    }
    painter.setOpacity(1);
    const double edge = std::max(1.0, (negative ? 0.9 : 0.4) * unit);
    QPen pen(negative ? kNegativeInk : QColor(150, 150, 150), edge);
    if (negative) pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(edge / 2, edge / 2, -edge / 2, -edge / 2));
    painter.restore();
}

// The text centred on `centre`, elided to `width`.
void CentredText(QPainter& painter, const QString& text, const QFont& font, const QPointF& centre,
                 double width, const QColor& ink = palette::kDarkInk) {
    if (text.isEmpty()) return;
    const HaloText t = LayoutCentred(FittedText(text, QFontMetricsF(font), width), font, centre);
    DrawHaloText(painter, t, ink, QColor(255, 255, 255, 220), font.pixelSize() * 0.22);
}

QColor ValueInk(const StagedFlag& flag) {
    return flag.size < 0 ? kNegativeInk : palette::kDarkInk;
}

// The value range the bars share: zero always inside, 100 % at least when nothing is larger.
struct Range {
    double low = 0, high = 100;
    double span() const { return high - low; }
};

Range RangeOf(const std::vector<StagedFlag>& flags) {
    Range r{0, 0};
    for (const StagedFlag& f : flags) {
        r.low = std::min(r.low, f.size);
        r.high = std::max(r.high, f.size);
    }
    if (r.span() <= 0) r.high = 100;
    return r;
}

std::vector<double> AspectsOf(const ChartScene& scene) {
    std::vector<double> aspects;
    for (const StagedFlag& f : scene.data->flags)
        aspects.push_back(FlagAspect(scene.folder, f.code));
    return aspects;
}

const QColor kBar(74, 111, 138);
const QColor kNegativeBar(190, 84, 72);

// Flag1: a column per country, its flag on top. Flags share one height; a flag too wide
// for its column is narrowed, keeping its shape.
void PaintColumns(QPainter& painter, const ChartScene& scene, const QRectF& area, double u) {
    const auto& flags = scene.data->flags;
    const std::vector<double> aspects = AspectsOf(scene);
    const double n = static_cast<double>(flags.size());
    const QFont codeFont = ChartFont(8.5 * u, true);
    const QFont valueFont = ChartFont(8 * u);
    const double textH = QFontMetricsF(codeFont).height();
    const double colW = area.width() / n;
    const double flagMaxW = colW * 0.86;
    const double flagH = std::min(area.height() * 0.2, colW * 0.6);
    const double barW = std::min(colW * 0.45, flagH * 0.8);
    const double top = area.top() + textH + 2 * u + flagH + 3 * u;
    const double bottom = area.bottom() - textH - 4 * u;
    const Range range = RangeOf(flags);
    const double scale = std::max(0.0, bottom - top) / range.span();
    const double zeroY = top + range.high * scale;

    painter.setPen(QPen(QColor(160, 160, 160), std::max(1.0, 0.5 * u)));
    painter.drawLine(QPointF(area.left(), zeroY), QPointF(area.right(), zeroY));
    for (size_t i = 0; i < flags.size(); ++i) {
        const StagedFlag& f = flags[i];
        const double cx = area.left() + colW * (static_cast<double>(i) + 0.5);
        const double h = f.size * scale;
        const QRectF bar = QRectF(QPointF(cx - barW / 2, zeroY - std::max(h, 0.0)),
                                  QPointF(cx + barW / 2, zeroY - std::min(h, 0.0)));
        painter.fillRect(bar, f.size < 0 ? kNegativeBar : kBar);
        const QRectF flag =
            FlagBox(aspects[i], flagH, flagMaxW, QPointF(cx, std::min(zeroY, bar.top()) - 1.5 * u));
        PaintFlag(painter, flag, scene.folder, f.code, u);
        CentredText(painter, f.data, valueFont, QPointF(cx, flag.top() - 1.5 * u - textH / 2), colW,
                    ValueInk(f));
        CentredText(painter, f.code.toUpper(), codeFont,
                    QPointF(cx, std::max(zeroY, bar.bottom()) + 2 * u + textH / 2), colW);
    }
}

// Flag2: a row per country, the flag at the left and a bar to the right.
void PaintBars(QPainter& painter, const ChartScene& scene, const QRectF& area, double u) {
    const auto& flags = scene.data->flags;
    const std::vector<double> aspects = AspectsOf(scene);
    const double n = static_cast<double>(flags.size());
    const QFont codeFont = ChartFont(8.5 * u, true);
    const QFont valueFont = ChartFont(8 * u);
    const QFontMetricsF codeFm(codeFont), valueFm(valueFont);
    // Codes and values share at most a quarter of the width each with the bars.
    std::vector<QString> codes, values;
    double codeW = 0, valueW = 0;
    for (const StagedFlag& f : flags) {
        codes.push_back(FittedText(f.code.toUpper(), codeFm, area.width() / 4));
        values.push_back(FittedText(f.data, valueFm, area.width() / 4));
        codeW = std::max(codeW, codeFm.horizontalAdvance(codes.back()));
        valueW = std::max(valueW, valueFm.horizontalAdvance(values.back()));
    }
    const double rowH = area.height() / n;
    const double flagH = std::min(rowH * 0.72, 30 * u);
    const double flagMaxW = flagH * 2;
    double flagsW = 0;
    for (const double aspect : aspects)
        flagsW = std::max(flagsW, std::min(flagH * aspect, flagMaxW));
    const double flagLeft = area.left() + codeW + 5 * u;
    const double x0 = flagLeft + flagsW + 6 * u;
    const double x1 = area.right() - valueW - 5 * u;
    const Range range = RangeOf(flags);
    const double scale = std::max(0.0, x1 - x0) / range.span();
    const double zeroX = x0 - range.low * scale;

    painter.setPen(QPen(QColor(160, 160, 160), std::max(1.0, 0.5 * u)));
    painter.drawLine(QPointF(zeroX, area.top()), QPointF(zeroX, area.bottom()));
    for (size_t i = 0; i < flags.size(); ++i) {
        const StagedFlag& f = flags[i];
        const double cy = area.top() + rowH * (static_cast<double>(i) + 0.5);
        const HaloText code =
            LayoutAt(codes[i], codeFont, QPointF(area.left(), cy + codeFm.capHeight() / 2));
        DrawHaloText(painter, code, palette::kDarkInk, Qt::white, 0);
        QRectF flag = FlagBox(aspects[i], flagH, flagMaxW, QPointF(0, 0));
        flag.moveTo(flagLeft, cy - flag.height() / 2);
        PaintFlag(painter, flag, scene.folder, f.code, u);
        const double w = f.size * scale;
        const double barH = flagH * 0.62;
        const QRectF bar(QPointF(zeroX + std::min(w, 0.0), cy - barH / 2),
                         QPointF(zeroX + std::max(w, 0.0), cy + barH / 2));
        painter.fillRect(bar, f.size < 0 ? kNegativeBar : kBar);
        // A negative value is written left of its bar's end... unless that is the flags.
        const HaloText value =
            LayoutAt(values[i], valueFont,
                     QPointF(std::max(zeroX, bar.right()) + 3 * u, cy + valueFm.capHeight() / 2));
        DrawHaloText(painter, value, ValueInk(f), QColor(255, 255, 255, 220),
                     valueFont.pixelSize() * 0.22);
    }
}

// Flag3: the flags themselves sized by value, their areas in proportion, standing in rows;
// as many rows as make the flags largest. A negative value's flag has the area of its
// magnitude and is drawn faded inside a dashed red edge.
void PaintProportional(QPainter& painter, const ChartScene& scene, const QRectF& area, double u) {
    const auto& flags = scene.data->flags;
    const std::vector<double> aspects = AspectsOf(scene);
    const int n = static_cast<int>(flags.size());
    const QFont codeFont = ChartFont(8.5 * u, true);
    const QFont valueFont = ChartFont(8 * u);
    const double textH = QFontMetricsF(codeFont).height();
    const double textBlock = 2 * textH + 5 * u;
    double largest = 0;
    for (const StagedFlag& f : flags)
        largest = std::max(largest, std::abs(f.size));
    std::vector<double> shares;
    for (const StagedFlag& f : flags)
        shares.push_back(largest > 0 ? std::abs(f.size) / largest : 0);
    // The area (in square pixels) of a flag of share 1 that lets every flag fit its cell.
    const auto fullArea = [&](int rows) {
        const int cols = (n + rows - 1) / rows;
        const double w = area.width() / cols * 0.86;
        const double h = area.height() / rows - textBlock - 4 * u;
        if (w <= 0 || h <= 0) return 0.0;
        double best = std::numeric_limits<double>::max();
        for (int i = 0; i < n; ++i) {
            const double share = shares[static_cast<size_t>(i)];
            const double aspect = aspects[static_cast<size_t>(i)];
            if (share > 0)
                best = std::min({best, w * w / (share * aspect), h * h * aspect / share});
        }
        return best == std::numeric_limits<double>::max() ? 0.0 : best;
    };
    int rows = 1;
    double full = 0;
    for (int r = 1; r <= n; ++r) {
        if (const double a = fullArea(r); a > full) {
            full = a;
            rows = r;
        }
    }
    const int cols = (n + rows - 1) / rows;
    const double cellW = area.width() / cols, cellH = area.height() / rows;
    for (int i = 0; i < n; ++i) {
        const StagedFlag& f = flags[static_cast<size_t>(i)];
        const int row = i / cols, col = i % cols;
        // A short last row is centred under the others.
        const int inRow = row == rows - 1 ? n - row * cols : cols;
        const double rowLeft = area.left() + (area.width() - inRow * cellW) / 2;
        const double cx = rowLeft + cellW * (col + 0.5);
        const double baseline = area.top() + cellH * (row + 1) - textBlock;
        const double flagArea = full * shares[static_cast<size_t>(i)];
        const double aspect = aspects[static_cast<size_t>(i)];
        const double w = std::sqrt(flagArea * aspect), h = std::sqrt(flagArea / aspect);
        if (w >= 1 && h >= 1)
            PaintFlag(painter, QRectF(cx - w / 2, baseline - h, w, h), scene.folder, f.code, u,
                      f.size < 0);
        CentredText(painter, f.code.toUpper(), codeFont, QPointF(cx, baseline + 3 * u + textH / 2),
                    cellW);
        CentredText(painter, f.data, valueFont, QPointF(cx, baseline + 4 * u + textH * 1.5), cellW,
                    ValueInk(f));
    }
}

} // namespace

void PaintFlagChart(QPainter& painter, const ChartScene& scene, const QRectF& frame, double unit) {
    painter.save();
    const double margin = 14 * unit;
    QRectF area = frame.adjusted(margin, margin, -margin, -margin);
    if (!scene.data->title.isEmpty()) {
        const QFont font = ChartFont(15 * unit, true);
        const QFontMetricsF fm(font);
        CentredText(painter, scene.data->title, font,
                    QPointF(area.center().x(), area.top() + fm.height() / 2), area.width());
        area.setTop(area.top() + fm.height() + 10 * unit);
    }
    if (!scene.data->flags.empty() && area.height() > 0 && area.width() > 0) {
        const QString& style = scene.movie->style;
        if (style == u"flag2")
            PaintBars(painter, scene, area, unit);
        else if (style == u"flag3")
            PaintProportional(painter, scene, area, unit);
        else
            PaintColumns(painter, scene, area, unit);
    }
    painter.restore();
}

} // namespace tolvane
