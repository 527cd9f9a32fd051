#include "render/ChartScene.h"

#include "model/ChartModel.h"
#include "model/UserError.h"
#include "platform/XmlDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <optional>

namespace tolvane {

ChartMatch MatchChart(const MapMovie& movie, const StagedChart& data) {
    ChartMatch m;
    QHash<QString, int> byKey, byName;
    for (int i = static_cast<int>(movie.regions.size()) - 1; i >= 0; --i) {
        const MovieShape& s = movie.regions[static_cast<size_t>(i)];
        // Walking backwards leaves the first shape of a repeated key or name in the index.
        if (!s.key.isEmpty()) byKey.insert(s.key, i);
        if (!s.name.isEmpty()) byName.insert(s.name, i);
    }
    m.regionShape.reserve(data.regions.size());
    for (const StagedRegion& r : data.regions) {
        int shape = -1;
        if (r.shortName != kNoDataMark) shape = byKey.value(r.shortName, -1);
        if (shape < 0) shape = byName.value(r.name, -1);
        m.regionShape.push_back(shape);
        if (shape < 0)
            m.unmatchedRegions.push_back(r.shortName.isEmpty() || r.shortName == kNoDataMark
                                             ? r.name
                                             : QStringLiteral("%1 (%2)").arg(r.name, r.shortName));
    }

    QMultiHash<QString, int> cities;
    for (int i = static_cast<int>(movie.cities.size()) - 1; i >= 0; --i)
        cities.insert(movie.cities[static_cast<size_t>(i)].name, i);
    m.cityPoint.reserve(data.cities.size());
    for (const StagedCity& c : data.cities) {
        const QList<int> candidates = cities.values(c.name); // most recently inserted first
        int point = candidates.isEmpty() ? -1 : candidates.front();
        if (candidates.size() > 1) {
            for (const int i : candidates) {
                if (movie.cities[static_cast<size_t>(i)].region == c.region) {
                    point = i;
                    break;
                }
            }
        }
        m.cityPoint.push_back(point);
        if (point < 0)
            m.unmatchedCities.push_back(
                c.region.isEmpty() ? c.name : QStringLiteral("%1 (%2)").arg(c.name, c.region));
    }
    return m;
}

namespace {

// Without a staged path the movie's kind names the file beside it.
ChartScene LoadScene(const QString& moviePath, const std::optional<QString>& stagedPath) {
    ChartScene scene;
    scene.loaded = true;
    const QFileInfo movieInfo(moviePath);
    scene.folder = movieInfo.absolutePath() + u'/';
    if (!movieInfo.isFile()) {
        scene.notes
            << QStringLiteral("Map file missing: %1").arg(QDir::toNativeSeparators(moviePath));
        return scene;
    }
    try {
        scene.movie = LoadMapMovie(moviePath);
    } catch (const UserError& e) {
        scene.notes << e.message();
        return scene;
    }

    QString dataPath;
    if (stagedPath) {
        dataPath = *stagedPath;
    } else {
        const QString name = StagedFileFor(scene.movie->kind);
        dataPath = name.isEmpty() ? QString() : scene.folder + name;
    }
    if (dataPath.isEmpty()) return scene;
    if (!QFileInfo(dataPath).isFile()) {
        scene.notes
            << QStringLiteral("Chart data missing: %1").arg(QDir::toNativeSeparators(dataPath));
    } else {
        try {
            const XmlReader reader = XmlReader::load(dataPath);
            scene.data = ReadStagedChart(scene.movie->kind, reader.root());
        } catch (const UserError& e) {
            scene.notes << QStringLiteral("Chart data damaged: %1").arg(e.message());
        }
    }
    scene.match = MatchChart(*scene.movie, scene.data);
    return scene;
}

} // namespace

ChartScene LoadChartScene(const QString& moviePath) {
    return LoadScene(moviePath, std::nullopt);
}

ChartScene LoadChartScene(const QString& moviePath, const QString& stagedPath) {
    return LoadScene(moviePath, stagedPath);
}

} // namespace tolvane
