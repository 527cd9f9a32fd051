#include "render/HitTest.h"

#include "model/NumberFormat.h"
#include "render/ChartLayers.h"
#include "render/ChartRenderer.h"
#include "render/ChartStyle.h"

#include <algorithm>
#include <cmath>

namespace tolvane {

namespace {

constexpr int kBucketsAcross = 64;
// A small bubble is still easy to point at.
constexpr double kMinCityRadius = 4;

} // namespace

ChartHitIndex::ChartHitIndex(const ChartScene& scene, const QRectF& frame)
    : scene_(&scene) {
    const std::optional<QTransform> placement = MapPlacement(scene, frame);
    if (!placement || !scene.movie) return;
    toDevice_ = *placement;
    toMovie_ = placement->inverted();
    const MapMovie& movie = *scene.movie;

    entryOfShape_.assign(movie.regions.size(), -1);
    for (size_t e = 0; e < scene.match.regionShape.size(); ++e) {
        const int shape = scene.match.regionShape[e];
        if (shape >= 0) entryOfShape_[static_cast<size_t>(shape)] = static_cast<int>(e);
    }
    for (const MovieShape& shape : movie.regions)
        box_ = box_.united(shape.bounds);
    if (!box_.isEmpty()) {
        columns_ = kBucketsAcross;
        rows_ = std::max(1, static_cast<int>(kBucketsAcross * box_.height() / box_.width()));
        rows_ = std::min(rows_, 4 * kBucketsAcross);
        buckets_.assign(static_cast<size_t>(columns_ * rows_), {});
        const double w = box_.width() / columns_;
        const double h = box_.height() / rows_;
        for (size_t s = 0; s < movie.regions.size(); ++s) {
            if (entryOfShape_[s] < 0) continue;
            const QRectF b = movie.regions[s].bounds;
            const int c0 =
                std::clamp(static_cast<int>((b.left() - box_.left()) / w), 0, columns_ - 1);
            const int c1 =
                std::clamp(static_cast<int>((b.right() - box_.left()) / w), 0, columns_ - 1);
            const int r0 = std::clamp(static_cast<int>((b.top() - box_.top()) / h), 0, rows_ - 1);
            const int r1 =
                std::clamp(static_cast<int>((b.bottom() - box_.top()) / h), 0, rows_ - 1);
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c)
                    buckets_[static_cast<size_t>(r * columns_ + c)].push_back(static_cast<int>(s));
        }
    }

    // Bubbles are drawn largest first, so a smaller one lying on a larger is found first.
    const double unit = ChartUnit(frame);
    for (size_t e = 0; e < scene.match.cityPoint.size(); ++e) {
        const int point = scene.match.cityPoint[e];
        if (point < 0) continue;
        const double radius = BubbleRadius(scene.data->cities[e].scale, unit);
        cities_.push_back({static_cast<int>(e),
                           toDevice_.map(movie.cities[static_cast<size_t>(point)].position),
                           std::max(radius, kMinCityRadius)});
    }
    std::stable_sort(cities_.begin(), cities_.end(),
                     [](const City& a, const City& b) { return a.radius > b.radius; });
}

const std::vector<int>& ChartHitIndex::bucket(const QPointF& p) const {
    static const std::vector<int> kNone;
    if (buckets_.empty() || !box_.contains(p)) return kNone;
    const int c =
        std::min(static_cast<int>((p.x() - box_.left()) / box_.width() * columns_), columns_ - 1);
    const int r =
        std::min(static_cast<int>((p.y() - box_.top()) / box_.height() * rows_), rows_ - 1);
    return buckets_[static_cast<size_t>(r * columns_ + c)];
}

ChartHit ChartHitIndex::at(const QPointF& point) const {
    if (!scene_) return {};
    for (auto city = cities_.rbegin(); city != cities_.rend(); ++city) {
        const QPointF d = point - city->centre;
        if (std::hypot(d.x(), d.y()) <= city->radius) return {ChartHit::Kind::City, city->entry};
    }
    const QPointF p = toMovie_.map(point);
    const std::vector<MovieShape>& shapes = scene_->movie->regions;
    for (int s : bucket(p)) {
        const MovieShape& shape = shapes[static_cast<size_t>(s)];
        if (scene_->movie->contains(shape, p))
            return {ChartHit::Kind::Region, entryOfShape_[static_cast<size_t>(s)]};
    }
    return {};
}

QPainterPath ChartHitIndex::outline(const ChartHit& hit) const {
    QPainterPath path;
    if (!scene_ || !scene_->movie) return path;
    if (hit.kind == ChartHit::Kind::City) {
        for (const City& city : cities_)
            if (city.entry == hit.entry)
                path.addEllipse(city.centre, city.radius + 2, city.radius + 2);
    } else if (hit.kind == ChartHit::Kind::Region) {
        const auto e = static_cast<size_t>(hit.entry);
        if (e < scene_->match.regionShape.size() && scene_->match.regionShape[e] >= 0)
            path = toDevice_.map(scene_->movie->path(
                scene_->movie->regions[static_cast<size_t>(scene_->match.regionShape[e])]));
    }
    return path;
}

ChartHit ChartHitIndex::find(ChartHit::Kind kind, const QString& name, const QString& key) const {
    if (!scene_) return {};
    if (kind == ChartHit::Kind::City) {
        const std::vector<StagedCity>& cities = scene_->data->cities;
        for (size_t e = 0; e < cities.size(); ++e)
            if (cities[e].name == name && cities[e].region == key)
                return {kind, static_cast<int>(e)};
    } else if (kind == ChartHit::Kind::Region) {
        const std::vector<StagedRegion>& regions = scene_->data->regions;
        for (size_t e = 0; e < regions.size(); ++e)
            if (regions[e].name == name && regions[e].shortName == key)
                return {kind, static_cast<int>(e)};
    }
    return {};
}

QString ChartHitIndex::describe(const ChartHit& hit) const {
    if (!scene_ || hit.entry < 0) return {};
    const auto e = static_cast<size_t>(hit.entry);
    const StagedChart& data = *scene_->data;
    const auto legendText = [&](std::optional<uint32_t> color, int shade) {
        for (const StagedLegendItem& item : data.legend)
            if (item.color == color && item.shade == shade) return item.text;
        return QString();
    };
    QString name, key, legend, extra;
    double value = 0;
    bool hasData = true;
    if (hit.kind == ChartHit::Kind::City && e < data.cities.size()) {
        const StagedCity& city = data.cities[e];
        name = city.name;
        key = city.region;
        value = city.value;
        hasData = city.region != u"-";
        legend = legendText(city.color, 1);
        extra = QStringLiteral("Size: %1%").arg(FormatGeneral(city.scale));
    } else if (hit.kind == ChartHit::Kind::Region && e < data.regions.size()) {
        const StagedRegion& region = data.regions[e];
        name = region.name;
        key = region.shortName;
        value = region.value;
        hasData = region.shortName != u"-" && region.color.has_value();
        legend = legendText(region.color, region.shade);
    } else {
        return {};
    }
    QStringList lines{
        QStringLiteral("<b>%1</b> (%2)").arg(name.toHtmlEscaped(), key.toHtmlEscaped())};
    lines << (hasData ? QStringLiteral("Value: %1").arg(FormatGeneral(value))
                      : QStringLiteral("No data"));
    if (!extra.isEmpty()) lines << extra;
    if (!legend.isEmpty()) lines << legend.toHtmlEscaped();
    return lines.join(QStringLiteral("<br>"));
}

} // namespace tolvane
