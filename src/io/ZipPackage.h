#pragma once

#include "io/ReadProgress.h"

#include <QByteArray>

struct zip;

namespace tolvane {

// A zip archive held in memory (an .xlsx or .ods workbook), read entry by entry. An entry
// is unpacked only when its stated size is within kMaxEntrySize, and never past that size,
// so a small hostile file cannot make the program unpack gigabytes.
class ZipPackage {
public:
    static constexpr long long kMaxEntrySize = 256LL * 1024 * 1024;

    // Throws UserError when the bytes are no zip archive.
    explicit ZipPackage(QByteArray bytes);
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    bool contains(const char* name) const;
    // The unpacked entry; throws UserError when it is missing, too large or damaged.
    QByteArray read(const char* name, ReadProgress* progress = nullptr) const;

private:
    QByteArray bytes_; // libzip reads from here for the archive's whole life
    zip* archive_ = nullptr;
};

} // namespace tolvane
