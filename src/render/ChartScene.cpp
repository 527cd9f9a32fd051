#include "render/ChartScene.h"

#include "model/ChartModel.h"
#include "model/UserError.h"
#include "platform/DecodedFiles.h"
#include "platform/XmlDocument.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <mutex>
#include <optional>

namespace tolvane {

ChartMatch MatchChart(const MapMovie& movie, const StagedChart& data) {
    ChartMatch m;
    // Of shapes with one key or name, the first is the one matched.
    const auto keyOf = [&](int i) -> const QString& {
        return movie.regions[static_cast<size_t>(i)].key;
    };
    const auto nameOf = [&](int i) -> const QString& {
        return movie.regions[static_cast<size_t>(i)].name;
    };
    m.regionShape.reserve(data.regions.size());
    for (const StagedRegion& r : data.regions) {
        int shape = -1;
        if (r.shortName != kNoDataMark) shape = movie.regionKeys.first(r.shortName, keyOf);
        if (shape < 0) shape = movie.regionNames.first(r.name, nameOf);
        m.regionShape.push_back(shape);
        if (shape < 0)
            m.unmatchedRegions.push_back(r.shortName.isEmpty() || r.shortName == kNoDataMark
                                             ? r.name
                                             : QStringLiteral("%1 (%2)").arg(r.name, r.shortName));
    }

    // A city whose name several points bear is the one in its region, else the first.
    const auto cityOf = [&](int i) -> const MovieCity& {
        return movie.cities[static_cast<size_t>(i)];
    };
    m.cityPoint.reserve(data.cities.size());
    for (const StagedCity& c : data.cities) {
        int point = -1;
        movie.cityNames.find(
            c.name, [&](int i) -> const QString& { return cityOf(i).name; },
            [&](int i) {
                if (point < 0) point = i;
                if (cityOf(i).region != c.region) return false;
                point = i;
                return true;
            });
        m.cityPoint.push_back(point);
        if (point < 0)
            m.unmatchedCities.push_back(
                c.region.isEmpty() ? c.name : QStringLiteral("%1 (%2)").arg(c.name, c.region));
    }
    return m;
}

namespace {

DecodedFiles<StagedChart>& StagedCharts() {
    static DecodedFiles<StagedChart> staged(3);
    return staged;
}

// The staged data of a map seen before is read and hashed, not parsed again.
std::shared_ptr<const StagedChart> LoadStagedChart(MovieKind kind, const QString& path) {
    return StagedCharts().load(path, static_cast<int>(kind), [&](QByteArray bytes) {
        const XmlReader reader = XmlReader::fromBytes(bytes, QDir::toNativeSeparators(path));
        bytes = QByteArray(); // the parser keeps a copy of its own
        return std::make_shared<const StagedChart>(ReadStagedChart(kind, reader.root()));
    });
}

// Whether two charts list the same entries, by what a match goes by.
bool SameEntries(const StagedChart& a, const StagedChart& b) {
    return std::equal(a.regions.begin(), a.regions.end(), b.regions.begin(), b.regions.end(),
                      [](const StagedRegion& x, const StagedRegion& y) {
                          return x.name == y.name && x.shortName == y.shortName;
                      }) &&
           std::equal(a.cities.begin(), a.cities.end(), b.cities.begin(), b.cities.end(),
                      [](const StagedCity& x, const StagedCity& y) {
                          return x.name == y.name && x.region == y.region;
                      });
}

// The match of the last scene, while its movie is the one kept decoded and its data lists
// the same entries: a chart shown again (a page switch, a change back, a make) is not
// matched again.
ChartMatch MatchScene(const std::shared_ptr<const MapMovie>& movie,
                      const std::shared_ptr<const StagedChart>& data) {
    struct Last {
        std::mutex mutex;
        std::weak_ptr<const MapMovie> movie;
        std::weak_ptr<const StagedChart> data;
        ChartMatch match;
    };
    static Last last;
    {
        std::lock_guard lock(last.mutex);
        const std::shared_ptr<const StagedChart> lastData = last.data.lock();
        if (last.movie.lock() == movie && lastData &&
            (lastData == data || SameEntries(*lastData, *data))) {
            last.data = data;
            return last.match;
        }
    }
    ChartMatch match = MatchChart(*movie, *data);
    std::lock_guard lock(last.mutex);
    last.movie = movie;
    last.data = data;
    last.match = match;
    return match;
}

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
            scene.data = LoadStagedChart(scene.movie->kind, dataPath);
        } catch (const UserError& e) {
            scene.notes << QStringLiteral("Chart data damaged: %1").arg(e.message());
        }
    }
    scene.match = MatchScene(scene.movie, scene.data);
    return scene;
}

} // namespace

void KnowStagedChart(MovieKind kind, const ContentId& content, const std::optional<FileStamp>& file,
                     const std::function<StagedChart()>& make) {
    StagedCharts().know(static_cast<int>(kind), content, file,
                        [&] { return std::make_shared<const StagedChart>(make()); });
}

ChartScene LoadChartScene(const QString& moviePath) {
    return LoadScene(moviePath, std::nullopt);
}

ChartScene LoadChartScene(const QString& moviePath, const QString& stagedPath) {
    return LoadScene(moviePath, stagedPath);
}

} // namespace tolvane
