#include "io/MapConverter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

namespace tolvane {

namespace {

// A converter asked to stop that has not stopped by then is ended.
constexpr int kKillAfterMs = 5000;

std::optional<AddedMapKind> MapKind(const QJsonValue& v) {
    if (v.toString() == u"region") return AddedMapKind::Region;
    if (v.toString() == u"city") return AddedMapKind::City;
    return std::nullopt;
}

MapConverter::Listing ListingOf(const QJsonObject& o) {
    MapConverter::Listing listing;
    listing.defaultLayer = o.value(u"defaultLayer").toString();
    listing.source = o.value(u"source").toString();
    listing.licence = o.value(u"licence").toString();
    for (const QJsonValue lv : o.value(u"layers").toArray()) {
        const QJsonObject l = lv.toObject();
        MapConverter::Layer layer;
        layer.name = l.value(u"name").toString();
        layer.kind = l.value(u"kind").toString();
        layer.features = l.value(u"features").toInteger();
        for (const QJsonValue fv : l.value(u"fields").toArray())
            layer.fields.push_back(
                {fv.toObject().value(u"name").toString(), fv.toObject().value(u"text").toBool()});
        layer.map = MapKind(l.value(u"map"));
        layer.nameField = l.value(u"nameField").toString();
        layer.shortField = l.value(u"shortField").toString();
        layer.projection = l.value(u"projection").toString();
        listing.layers.push_back(std::move(layer));
    }
    return listing;
}

} // namespace

MapConverter::MapConverter(QString appFolder, QObject* parent)
    : QObject(parent)
    , appFolder_(std::move(appFolder))
    , killTimer_(new QTimer(this)) {
    killTimer_->setSingleShot(true);
    connect(killTimer_, &QTimer::timeout, this, [this] {
        if (process_) process_->kill();
    });
}

MapConverter::~MapConverter() {
    if (process_) {
        // Leaving nothing running: the converter writes nothing once asked to stop.
        process_->disconnect(this);
        process_->terminate();
        if (!process_->waitForFinished(kKillAfterMs)) process_->kill();
        process_->waitForFinished(1000);
    }
}

QString MapConverter::program() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tolvane-addmap");
}

bool MapConverter::busy() const {
    return process_ != nullptr;
}

void MapConverter::list(const QString& file) {
    start({QStringLiteral("--json"), QStringLiteral("--list"), file});
}

void MapConverter::add(const QString& file, const Choices& c) {
    QStringList args{QStringLiteral("--json"),
                     QStringLiteral("--app-folder"),
                     appFolder_,
                     QStringLiteral("--layer"),
                     c.layer,
                     QStringLiteral("--name-field"),
                     c.nameField,
                     QStringLiteral("--short-field"),
                     c.shortField};
    const std::pair<const char*, const QString*> optional[] = {{"--projection", &c.projection},
                                                               {"--title", &c.title},
                                                               {"--source-name", &c.sourceName},
                                                               {"--licence", &c.licence}};
    for (const auto& [option, value] : optional)
        if (!value->trimmed().isEmpty()) args << QString::fromLatin1(option) << *value;
    args << file;
    start(args);
}

void MapConverter::start(const QStringList& arguments) {
    if (process_) return;
    listing_.reset();
    added_.reset();
    report_.clear();
    error_.clear();
    cancelled_ = false;
    cancelAsked_ = false;
    pending_.clear();
    process_ = new QProcess(this);
    connect(process_, &QProcess::readyReadStandardOutput, this, &MapConverter::readLines);
    connect(process_, &QProcess::finished, this, &MapConverter::processFinished);
    connect(process_, &QProcess::errorOccurred, this, &MapConverter::processFailed);
    process_->start(program(), arguments);
}

void MapConverter::cancel() {
    if (!process_ || cancelAsked_) return;
    cancelAsked_ = true;
    process_->terminate();
    killTimer_->start(kKillAfterMs);
}

void MapConverter::waitUntilDone(int cancelAfterMs) {
    QElapsedTimer clock;
    clock.start();
    while (process_) {
        if (clock.elapsed() > cancelAfterMs) cancel();
        QCoreApplication::processEvents(
            QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents, 50);
    }
}

void MapConverter::readLines() {
    pending_ += process_->readAllStandardOutput();
    qsizetype end;
    while ((end = pending_.indexOf('\n')) >= 0) {
        const QByteArray line = pending_.left(end);
        pending_.remove(0, end + 1);
        takeLine(line);
    }
}

void MapConverter::takeLine(const QByteArray& line) {
    const QJsonObject o = QJsonDocument::fromJson(line).object();
    if (o.contains(u"step")) {
        emit progressed(o.value(u"step").toString(), o.value(u"permille").toInt(-1));
    } else if (o.contains(u"layers")) {
        listing_ = ListingOf(o);
    } else if (o.contains(u"added")) {
        const QJsonObject a = o.value(u"added").toObject();
        AddedMap map;
        map.stem = a.value(u"stem").toString();
        map.title = a.value(u"title").toString();
        map.kind = MapKind(a.value(u"map")).value_or(AddedMapKind::Region);
        map.entries = a.value(u"entries").toInteger();
        added_ = map;
        report_ = a.value(u"report").toString();
    } else if (o.contains(u"error")) {
        error_ = o.value(u"error").toString();
        cancelled_ = o.value(u"cancelled").toBool();
    }
}

void MapConverter::processFinished(int exitCode, QProcess::ExitStatus status) {
    readLines();
    if (!pending_.isEmpty()) takeLine(pending_);
    const bool gaveResult = listing_ || added_;
    if (status != QProcess::NormalExit || exitCode != 0 || !gaveResult) {
        listing_.reset();
        added_.reset();
        if (cancelAsked_ && status != QProcess::NormalExit) cancelled_ = true;
        if (error_.isEmpty()) {
            const QString said = QString::fromUtf8(process_->readAllStandardError()).trimmed();
            error_ = cancelled_ ? QStringLiteral("Adding the map was cancelled.")
                     : said.isEmpty()
                         ? QStringLiteral("The map converter (%1) stopped unexpectedly.")
                               .arg(QDir::toNativeSeparators(program()))
                         : said;
        }
    }
    done();
}

void MapConverter::processFailed(QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return; // the others end in processFinished
    error_ = QStringLiteral("The map converter %1 could not be started (%2). It belongs beside "
                            "the program: installing Tolvane again puts it back.")
                 .arg(QDir::toNativeSeparators(program()), process_->errorString());
    done();
}

void MapConverter::done() {
    killTimer_->stop();
    process_->disconnect(this);
    process_->deleteLater();
    process_ = nullptr;
    emit finished();
}

} // namespace tolvane
