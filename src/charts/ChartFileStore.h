#pragma once

#include "charts/ChartFile.h"
#include "platform/DecodedFiles.h"

#include <QString>
#include <optional>

namespace tolvane {

// Chart data files on disk: read once and kept decoded while the user switches maps, and
// saved only when what they would be written with differs.

// The file read and parsed.
ChartFileData LoadChartFile(ChartKind kind, const QString& path);

// A chart file as read: its data, what names the bytes they were read from, and the file's
// stamp while it held those bytes (none when it changed as it was read).
struct LoadedChartFile {
    QString path;
    ChartFileData data;
    ContentId content;
    std::optional<FileStamp> stamp;
};
LoadedChartFile LoadChartFileFrom(ChartKind kind, const QString& path);
// Whether a file of this content is known to be, byte for byte, what BuildChartFile writes
// for the data it holds; and noting one that is.
bool IsBuiltChartFile(ChartKind kind, const ContentId& content);
// The same for a file just read, which may be the one SaveChartFile wrote last.
bool IsBuiltChartFile(ChartKind kind, const LoadedChartFile& file);
void NoteBuiltChartFile(ChartKind kind, const ContentId& content);
// From now on the last `count` files loaded are kept decoded and found again by their
// content: changing back to a large map then costs a look at its file, not a parse. A
// program that draws one chart and ends keeps none (the default): their memory is the
// drawing's.
void KeepChartFilesDecoded(size_t count);

// Writes the file atomically (throws UserError). A file that holds, byte for byte, what it
// would be written with is left as it is, and stays known by its stamp.
void SaveChartFile(ChartKind kind, const ChartFileData& data, const QString& path);

} // namespace tolvane
