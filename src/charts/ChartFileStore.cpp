#include "charts/ChartFileStore.h"

#include "platform/FileOps.h"
#include "platform/XmlDocument.h"

#include <QDir>
#include <algorithm>
#include <deque>
#include <future>
#include <mutex>

namespace tolvane {

namespace {

DecodedFiles<ChartFileData>& ChartFiles() {
    static DecodedFiles<ChartFileData> charts(0);
    return charts;
}

} // namespace

void KeepChartFilesDecoded(size_t count) {
    ChartFiles().keep(count);
}

LoadedChartFile LoadChartFileFrom(ChartKind kind, const QString& path) {
    DecodedFile<ChartFileData> file =
        ChartFiles().loadFile(path, static_cast<int>(kind), [&](QByteArray bytes) {
            const XmlReader reader = XmlReader::fromBytes(bytes, QDir::toNativeSeparators(path));
            bytes = QByteArray(); // the parser keeps a copy of its own
            return std::make_shared<const ChartFileData>(ParseChartFile(kind, reader));
        });
    return {path, *file.value, file.content, file.stamp};
}

ChartFileData LoadChartFile(ChartKind kind, const QString& path) {
    return LoadChartFileFrom(kind, path).data;
}

namespace {

struct BuiltFiles {
    std::mutex mutex;
    std::deque<std::pair<ChartKind, ContentId>> known; // most recent last
    // The file saved last, with the data it was built from: once read back, it is known to
    // be built when what was read is that data, with no second build to tell.
    ChartKind savedKind = ChartKind::Region;
    ContentId saved;
    std::shared_ptr<const ChartFileData> savedData;
};

BuiltFiles& Built() {
    static BuiltFiles built;
    return built;
}

} // namespace

bool IsBuiltChartFile(ChartKind kind, const ContentId& content) {
    BuiltFiles& built = Built();
    std::lock_guard lock(built.mutex);
    return std::find(built.known.begin(), built.known.end(), std::pair(kind, content)) !=
           built.known.end();
}

bool IsBuiltChartFile(ChartKind kind, const LoadedChartFile& file) {
    if (IsBuiltChartFile(kind, file.content)) return true;
    std::shared_ptr<const ChartFileData> saved;
    {
        BuiltFiles& built = Built();
        std::lock_guard lock(built.mutex);
        if (built.savedKind != kind || built.saved != file.content) return false;
        saved = std::move(built.savedData); // read back once is enough
        built.saved = {};
    }
    if (!saved || !SameChartData(*saved, file.data)) return false;
    NoteBuiltChartFile(kind, file.content);
    return true;
}

void NoteBuiltChartFile(ChartKind kind, const ContentId& content) {
    if (IsBuiltChartFile(kind, content)) return;
    BuiltFiles& built = Built();
    std::lock_guard lock(built.mutex);
    built.known.emplace_back(kind, content);
    // A few maps' files are all a session switches between; older ones cost a build again.
    if (built.known.size() > 16) built.known.pop_front();
}

void SaveChartFile(ChartKind kind, const ChartFileData& data, const QString& path) {
    // A make that changed nothing (a large map made again) costs a comparison, not a build
    // and a write; the file, untouched, is still known to the loads that follow.
    const std::optional<DecodedFile<ChartFileData>> held =
        ChartFiles().peek(path, static_cast<int>(kind));
    if (held && IsBuiltChartFile(kind, held->content) && SameChartData(*held->value, data)) return;
    // The file saved last: a make after an edit or two copies most of its text.
    static std::mutex lastMutex;
    static BuiltListFile last;
    std::lock_guard lastLock(lastMutex);
    BuiltListFile built = BuildListFile(kind, data, &last);
    // Hashed on the other core while the disk takes the bytes.
    std::future<ContentId> hashed =
        std::async(std::launch::async, [&built] { return ContentIdOf(built.bytes); });
    const std::optional<FileStamp> written = WriteFileAtomically(path, built.bytes);
    const ContentId content = hashed.get();
    if (built.back) {
        // The page reads the file back after a make: it finds the data decoded, and the file
        // known to be built (built from what it reads back as, it is this very file).
        ChartFiles().know(static_cast<int>(kind), content, written, [&] { return built.back; });
        NoteBuiltChartFile(kind, content);
        last = std::move(built);
        return;
    }
    last = {};
    BuiltFiles& files = Built();
    std::lock_guard lock(files.mutex);
    files.savedKind = kind;
    files.saved = content;
    files.savedData = std::make_shared<const ChartFileData>(data);
}

} // namespace tolvane
