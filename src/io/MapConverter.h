#pragma once

#include "charts/AddedMaps.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QTimer;

namespace tolvane {

// Runs tolvane-addmap, the program beside this one that reads geodata with GDAL, and reads
// what it reports as it goes. The program itself never loads GDAL (its start-up would pay
// for it), and a file that makes GDAL fail cannot take the user's unsaved work with it.
class MapConverter : public QObject {
    Q_OBJECT
public:
    struct Field {
        QString name;
        bool text = true;
    };
    struct Layer {
        QString name;
        QString kind; // "polygons", "points", "lines", "no geometry", "mixed geometries"
        qint64 features = 0;
        std::vector<Field> fields;
        // What it becomes: none (lines or no geometry), a region or a city map.
        std::optional<AddedMapKind> map;
        QString nameField, shortField, projection; // suggested
    };
    struct Listing {
        std::vector<Layer> layers;
        QString defaultLayer;
        QString source, licence; // from the file's metadata
    };
    struct Choices {
        QString layer, nameField, shortField, projection, title, sourceName, licence;
    };

    MapConverter(QString appFolder, QObject* parent = nullptr);
    ~MapConverter() override;

    // tolvane-addmap beside the running program.
    static QString program();

    // Start the work; `finished` follows. Not while busy.
    void list(const QString& file);
    void add(const QString& file, const Choices& choices);
    // Asks the work under way to stop: it then finishes as cancelled, having written nothing.
    void cancel();
    bool busy() const;
    // Waits for the work under way (and cancels it after `cancelAfterMs`).
    void waitUntilDone(int cancelAfterMs);

    // After `finished`: what the work gave, or why it failed.
    const std::optional<Listing>& listing() const { return listing_; }
    const std::optional<AddedMap>& added() const { return added_; }
    const QString& report() const { return report_; }
    const QString& error() const { return error_; }
    bool cancelled() const { return cancelled_; }

signals:
    // What the work does now and how far it got, in thousandths (-1 while unknown).
    void progressed(const QString& step, int permille);
    void finished();

private:
    void start(const QStringList& arguments);
    void readLines();
    void takeLine(const QByteArray& line);
    void processFinished(int exitCode, QProcess::ExitStatus status);
    void processFailed(QProcess::ProcessError error);
    void done();

    QString appFolder_;
    QProcess* process_ = nullptr;
    QTimer* killTimer_ = nullptr;
    QByteArray pending_;
    bool cancelAsked_ = false;
    std::optional<Listing> listing_;
    std::optional<AddedMap> added_;
    QString report_, error_;
    bool cancelled_ = false;
};

} // namespace tolvane
