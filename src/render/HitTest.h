#pragma once

#include "render/ChartScene.h"

#include <QPainterPath>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <vector>

namespace tolvane {

// What lies under a point of a chart picture: a staged region or city, by its index in the
// scene's data.
struct ChartHit {
    enum class Kind { None, Region, City };
    Kind kind = Kind::None;
    int entry = -1;
    bool operator==(const ChartHit&) const = default;
};

// Finds the region or city under a point of a chart drawn into `frame`, fast enough for
// every mouse move on the largest map: shapes are looked up in a grid of buckets first.
class ChartHitIndex {
public:
    ChartHitIndex() = default;
    ChartHitIndex(const ChartScene& scene, const QRectF& frame);

    ChartHit at(const QPointF& point) const;
    // The hit's outline in the frame: the region's shape, or a ring round the city.
    QPainterPath outline(const ChartHit& hit) const;
    // The entry a grid row names: by short name (or region) and name; none when absent.
    ChartHit find(ChartHit::Kind kind, const QString& name, const QString& key) const;
    // Name, short name or region, value and legend text, for a tooltip.
    QString describe(const ChartHit& hit) const;

private:
    struct City {
        int entry;
        QPointF centre;
        double radius;
    };
    const std::vector<int>& bucket(const QPointF& moviePoint) const;

    const ChartScene* scene_ = nullptr;
    QTransform toDevice_;
    QTransform toMovie_;
    QRectF box_; // the movie's plane the buckets cover
    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::vector<int>> buckets_; // shape indices whose bounds meet each bucket
    std::vector<int> entryOfShape_;
    std::vector<City> cities_; // in drawing order: the last drawn lies on top
};

} // namespace tolvane
