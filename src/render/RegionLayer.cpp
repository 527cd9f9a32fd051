#include "render/BandedFill.h"
#include "render/ChartLayers.h"
#include "render/ChartStyle.h"
#include "render/PixelFill.h"
#include "render/ShadePatterns.h"
#include "render/ThickLines.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <future>
#include <numeric>

namespace tolvane {

MapView FitMap(const QRectF& viewBox, const QRectF& area, double unit) {
    MapView view;
    view.unit = unit;
    if (viewBox.isEmpty() || area.isEmpty()) return view;
    const double s = std::min(area.width() / viewBox.width(), area.height() / viewBox.height());
    const QSizeF fitted(viewBox.width() * s, viewBox.height() * s);
    const QPointF topLeft(area.center().x() - fitted.width() / 2,
                          area.center().y() - fitted.height() / 2);
    view.mapRect = QRectF(topLeft, fitted);
    view.toDevice = QTransform::fromTranslate(topLeft.x(), topLeft.y())
                        .scale(s, s)
                        .translate(-viewBox.left(), -viewBox.top());
    return view;
}

RegionFills ComputeRegionFills(const ChartScene& scene, bool withData, const QColor& fallback) {
    RegionFills out;
    const size_t n = scene.movie ? scene.movie->regions.size() : 0;
    out.fill.assign(n, fallback);
    out.shade.assign(n, 1);
    if (!withData) return out;
    for (size_t i = 0; i < scene.data->regions.size() && i < scene.match.regionShape.size(); ++i) {
        const int shape = scene.match.regionShape[i];
        if (shape < 0) continue;
        const StagedRegion& r = scene.data->regions[i];
        out.fill[static_cast<size_t>(shape)] = r.color ? RgbColor(*r.color) : palette::kNoData;
        out.shade[static_cast<size_t>(shape)] = r.shortName == u"-" ? 0 : r.shade;
    }
    return out;
}

void PaintContext(QPainter& painter, const MapMovie& movie, const MapView& view) {
    if (movie.context.empty() || view.area.isEmpty()) return;
    // Neighbouring land runs to the edges of the map's area, as on a printed map, but never
    // into the margins, where the paper shows.
    painter.save();
    const bool clip = CanClip(painter);
    if (clip) painter.setClipRect(view.area, Qt::IntersectClip);
    painter.setTransform(view.toDevice, true);
    painter.setPen(Qt::NoPen);
    const QRectF area = view.toDevice.inverted().mapRect(view.area);
    QPainterPath cut;
    if (!clip) cut.addRect(area);
    for (const MovieShape& s : movie.context) {
        // Far-off land costs vertices to transform even where the clip drops it all.
        if (!s.bounds.intersects(area)) continue;
        painter.setBrush(s.key == u"water" ? palette::kWater : palette::kLand);
        const QPainterPath path = movie.path(s);
        painter.drawPath(clip ? path : path.intersected(cut));
    }
    painter.restore();
}

namespace {

// The row that halves the work of filling the shapes `isSmall` leaves (their points, spread
// over their rows); 0 when there is too little of it to share.
template <typename IsSmall>
int HalvingRow(const MapMovie& movie, IsSmall isSmall, const QTransform& toPixels, int height) {
    constexpr double kWorthSharing = 20000;
    std::vector<double> perRow(static_cast<size_t>(std::max(height, 0)) + 1, 0.0);
    double total = 0;
    for (const MovieShape& s : movie.regions) {
        if (!s.hasArea || isSmall(s)) continue;
        // Whole rows are near enough for sharing out work.
        const double y0 = s.bounds.top() * toPixels.m22() + toPixels.dy();
        const double y1 = s.bounds.bottom() * toPixels.m22() + toPixels.dy();
        const int from = static_cast<int>(std::clamp(std::min(y0, y1), 0.0, double(height)));
        const int to = static_cast<int>(std::clamp(std::max(y0, y1) + 1, 0.0, double(height)));
        if (from >= to) continue;
        const double points =
            movie.rings.starts[s.firstRing + s.ringCount] - movie.rings.starts[s.firstRing];
        perRow[static_cast<size_t>(from)] += points / (to - from);
        perRow[static_cast<size_t>(to)] -= points / (to - from);
        total += points;
    }
    if (total < kWorthSharing) return 0;
    double slope = 0, done = 0;
    for (int y = 0; y < height; ++y) {
        slope += perRow[static_cast<size_t>(y)];
        done += slope;
        if (done >= total / 2) return y + 1 < height ? y + 1 : 0;
    }
    return 0;
}

} // namespace

void PaintRegions(QPainter& painter, const MapMovie& movie, const MapView& view,
                  const RegionFills& fills, int samples) {
    painter.save();
    const QTransform frame = painter.transform();
    painter.setTransform(view.toDevice * frame);
    painter.setPen(Qt::NoPen);
    const bool overLand = !movie.context.empty();
    // Regions a few pixels across are filled without antialiasing, which costs half: their
    // edges lie under the borders, and blending the colours of regions smaller than a pixel
    // shows none of them truly. Larger ones keep smooth edges, where a coast shows.
    const QTransform toPixels = painter.deviceTransform();
    const double pixels = std::sqrt(std::abs(toPixels.determinant()));
    constexpr double kSmallRegion = 4.0;
    std::optional<SmallShapeFiller> direct;
    const auto isSmall = [&](const MovieShape& s) {
        return std::max(s.bounds.width(), s.bounds.height()) * pixels < kSmallRegion;
    };
    // `rows`: the device rows `p` keeps to (all when null).
    const auto paint = [&](QPainter& p, bool small, BandedFill* banded, const QRect& rows) {
        for (size_t i = 0; i < movie.regions.size(); ++i) {
            const MovieShape& s = movie.regions[i];
            if (!s.hasArea || isSmall(s) != small) continue;
            // The paper is white already; only land drawn beneath needs covering.
            if (fills.fill[i] == palette::kBackground && !overLand) continue;
            if (direct && fills.fill[i].alpha() == 255) {
                direct->fill(movie.rings, s.firstRing, s.ringCount, s.bounds, fills.fill[i].rgb());
                continue;
            }
            if (!rows.isNull() && !toPixels.mapRect(s.bounds).toAlignedRect().intersects(rows))
                continue;
            p.setBrush(fills.fill[i]);
            if (banded && banded->fill(p, movie, s, rows)) continue;
            // A single ring needs no path: a path keeps a converted copy of itself once
            // drawn, which for every region of a large map would double the memory the map
            // takes.
            if (s.ringCount == 1) {
                const std::span<const QPointF> ring = movie.ring(s, 0);
                p.drawPolygon(ring.data(), static_cast<int>(ring.size()), Qt::OddEvenFill);
            } else {
                p.drawPath(movie.path(s));
            }
        }
    };
    const bool smooth = painter.testRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::Antialiasing, false);
    direct = SmallShapeFiller::For(painter, samples);
    // A map of many small regions is filled on two cores at once, each its own rows, when
    // the filler lays them all.
    // The small regions' colours (0 for none filled), once for both cores.
    std::vector<QRgb> smallFill(movie.regions.size(), 0);
    bool allOpaque = true;
    for (size_t i = 0; i < movie.regions.size(); ++i) {
        const MovieShape& s = movie.regions[i];
        if (!s.hasArea || !isSmall(s) || (fills.fill[i] == palette::kBackground && !overLand))
            continue;
        allOpaque = allOpaque && fills.fill[i].alpha() == 255;
        smallFill[i] = fills.fill[i].rgba() | 0xff000000u;
    }
    const int smallSplit = direct && direct->samples() == 1 && allOpaque
                               ? HalvingRow(
                                     movie, [&](const MovieShape& s) { return !isSmall(s); },
                                     toPixels, painter.device()->height())
                               : 0;
    const auto FillSmall = [&](SmallShapeFiller& filler) {
        for (size_t i = 0; i < movie.regions.size(); ++i) {
            const MovieShape& s = movie.regions[i];
            if (smallFill[i])
                filler.fill(movie.rings, s.firstRing, s.ringCount, s.bounds, smallFill[i]);
        }
    };
    if (smallSplit > 0) {
        std::optional<SmallShapeFiller> lower = SmallShapeFiller::For(painter, samples);
        lower->keepToRows(smallSplit, painter.device()->height());
        direct->keepToRows(0, smallSplit);
        auto done = std::async(std::launch::async, [&] { FillSmall(*lower); });
        FillSmall(*direct);
        done.get();
    } else {
        paint(painter, true, nullptr, QRect());
    }
    if (direct) direct->finish();
    direct.reset();
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    if (!BandedFill::Fits(painter)) {
        paint(painter, false, nullptr, QRect());
    } else {
        // On an image, the rows below a line that halves the work are filled on another
        // core at once, through a second image of the same pixels.
        QImage* image = static_cast<QImage*>(painter.device());
        const int split = HalvingRow(movie, isSmall, toPixels, image->height());
        BandedFill top;
        if (split <= 0) {
            paint(painter, false, &top, QRect());
        } else {
            QImage lower(image->bits(), image->width(), image->height(), image->bytesPerLine(),
                         image->format());
            const QRect above(0, 0, image->width(), split);
            const QRect below(0, split, image->width(), image->height() - split);
            const QTransform transform = painter.transform();
            const QPainter::RenderHints hints = painter.renderHints();
            auto done = std::async(std::launch::async, [&] {
                QPainter second(&lower);
                second.setRenderHints(hints);
                second.setPen(Qt::NoPen);
                second.setClipRect(below);
                second.setTransform(transform);
                BandedFill bottom;
                paint(second, false, &bottom, below);
            });
            painter.setTransform(QTransform());
            painter.setClipRect(above);
            painter.setTransform(transform);
            paint(painter, false, &top, above);
            painter.setClipping(false);
            done.get();
        }
    }
    bool anyShade = false;
    for (size_t i = 0; i < movie.regions.size() && !anyShade; ++i)
        anyShade =
            movie.regions[i].hasArea && ShadePatternFor(fills.shade[i]).kind != HatchKind::None;
    if (anyShade) {
        // Hatches are spaced in the frame's units, whatever the map's scale.
        painter.setTransform(frame);
        for (size_t i = 0; i < movie.regions.size(); ++i) {
            if (movie.regions[i].hasArea && ShadePatternFor(fills.shade[i]).kind != HatchKind::None)
                PaintShade(painter, view.toDevice.map(movie.path(movie.regions[i])), fills.shade[i],
                           fills.fill[i], view.unit, view.frame);
        }
    }
    painter.restore();
}

BorderLayer::BorderLayer(QPainter& painter, const PointRuns& lines, const QTransform& toDevice,
                         double width, const QRectF& clip)
    : lines_(lines)
    , toDevice_(toDevice)
    , width_(width)
    , clip_(clip) {
    if (lines.empty()) return;
    QTransform deviceTransform;
    QImage* image = DirectTarget(painter, &deviceTransform);
    if (!image) return;
    image_ = image;
    const QTransform full = toDevice * deviceTransform;
    const QSize size = image->size();
    if (!clip.isNull()) deviceClip_ = deviceTransform.mapRect(clip).toAlignedRect();
    mask_ = std::async(std::launch::async, [&lines, full, size, width] {
        auto mask = std::make_unique<ThickLineMask>(size, width);
        for (size_t k = 0; k < lines.size(); ++k)
            mask->addPolyline(lines[k], full);
        return mask;
    });
}

BorderLayer::~BorderLayer() {
    if (mask_.valid()) mask_.wait();
}

void BorderLayer::paint(QPainter& painter, const QColor& color) {
    if (lines_.empty()) return;
    // The raster engine draws at once, so its pixels are ready to be added to here.
    if (mask_.valid() && !painter.hasClipping() &&
        painter.compositionMode() == QPainter::CompositionMode_SourceOver) {
        mask_.get()->composite(*image_, color, deviceClip_);
        return;
    }
    QPainterPath path;
    for (size_t k = 0; k < lines_.size(); ++k) {
        const std::span<const QPointF> line = lines_[k];
        path.addPolygon(toDevice_.map(QPolygonF(line.begin(), line.end())));
    }
    painter.save();
    const QPen pen(color, width_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (!clip_.isNull() && !CanClip(painter)) {
        // Cut to the frame as an area, since the device cannot clip.
        QPainterPath frame;
        frame.addRect(clip_);
        painter.fillPath(QPainterPathStroker(pen).createStroke(path).intersected(frame), color);
    } else {
        if (!clip_.isNull()) painter.setClipRect(clip_, Qt::IntersectClip);
        painter.strokePath(path, pen);
    }
    painter.restore();
}

namespace {

// Whether a label box lies inside its region: its corners, edge middles and centre must.
bool LabelFits(const MapMovie& movie, const MovieShape& shape, const QRectF& box,
               const QTransform& toMovie) {
    const QRectF b = box.adjusted(box.width() * 0.02, box.height() * 0.05, -box.width() * 0.02,
                                  -box.height() * 0.05);
    const QPointF probes[] = {b.topLeft(),
                              b.topRight(),
                              b.bottomLeft(),
                              b.bottomRight(),
                              {b.center().x(), b.top()},
                              {b.center().x(), b.bottom()},
                              {b.left(), b.center().y()},
                              {b.right(), b.center().y()},
                              b.center()};
    const QRectF movieBox = toMovie.mapRect(b);
    if (!shape.bounds.contains(movieBox)) return false;
    for (const QPointF& p : probes)
        if (!movie.contains(shape, toMovie.map(p))) return false;
    return true;
}

bool Collides(const std::vector<QRectF>& placed, const QRectF& box) {
    return std::any_of(placed.begin(), placed.end(),
                       [&](const QRectF& r) { return r.intersects(box); });
}

} // namespace

void PaintRegionLabels(QPainter& painter, const ChartScene& scene, const MapView& view,
                       const RegionFills& fills) {
    const MapMovie& movie = *scene.movie;
    bool invertible = false;
    const QTransform toMovie = view.toDevice.inverted(&invertible);
    if (!invertible) return;

    struct Candidate {
        size_t shape;
        QString full, brief;
    };
    std::vector<Candidate> candidates;
    for (size_t i = 0; i < scene.data->regions.size() && i < scene.match.regionShape.size(); ++i) {
        const int shape = scene.match.regionShape[i];
        if (shape < 0 || !movie.regions[static_cast<size_t>(shape)].hasArea) continue;
        const StagedRegion& r = scene.data->regions[i];
        const MovieShape& s = movie.regions[static_cast<size_t>(shape)];
        Candidate c{static_cast<size_t>(shape), r.name.isEmpty() ? s.name : r.name,
                    r.shortName.isEmpty() || r.shortName == u"-" ? s.key : r.shortName};
        candidates.push_back(std::move(c));
    }
    // Large regions choose first: they are the ones a reader looks for.
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](const Candidate& a, const Candidate& b) {
                         const QRectF& ra = movie.regions[a.shape].bounds;
                         const QRectF& rb = movie.regions[b.shape].bounds;
                         return ra.width() * ra.height() > rb.width() * rb.height();
                     });

    // The full name where it fits, a little smaller where only that fits, else the short name.
    const QFont font = ChartFont(7.5 * view.unit, false, true);
    const QFont small = ChartFont(6.4 * view.unit, false, true);
    const QFontMetricsF fontMetrics(font), smallMetrics(small);
    std::vector<QRectF> placed;
    for (const Candidate& c : candidates) {
        const MovieShape& s = movie.regions[c.shape];
        const QPointF centre = view.toDevice.map(s.label);
        const std::tuple<const QString*, const QFont*, const QFontMetricsF*> tries[] = {
            {&c.full, &font, &fontMetrics},
            {&c.full, &small, &smallMetrics},
            {&c.brief, &font, &fontMetrics},
            {&c.brief, &small, &smallMetrics}};
        for (const auto& [text, face, metrics] : tries) {
            if (text->trimmed().isEmpty() || !MayFit(*text, *metrics, view.frame.width())) continue;
            // Measured before any outline is made: most tries fail.
            const double width = metrics->horizontalAdvance(*text);
            const double cap = metrics->capHeight();
            const QRectF glyphs(centre.x() - width / 2, centre.y() - cap / 2, width,
                                cap + metrics->descent() * 0.6);
            const double halo = face->pixelSize() * 0.28;
            const QRectF box = glyphs.adjusted(-halo / 2, -halo / 2, halo / 2, halo / 2);
            if (!LabelFits(movie, s, glyphs, toMovie) || Collides(placed, box)) continue;
            placed.push_back(box);
            const HaloText label = LayoutCentred(*text, *face, centre);
            const QColor ink =
                IsDarkFill(fills.fill[c.shape]) ? palette::kLightInk : palette::kDarkInk;
            // Light names on dark fills get a deeper shade of the fill as halo: a black one
            // would look like a stamp.
            const QColor fill = fills.fill[c.shape];
            QColor around = ink == palette::kLightInk ? fill.darker(170) : HaloFor(ink);
            around.setAlpha(215);
            DrawHaloText(painter, label, ink, around, halo);
            break;
        }
    }
}

} // namespace tolvane
