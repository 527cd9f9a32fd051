#include "io/ZipPackage.h"

#include "model/UserError.h"

#include <zip.h>

namespace tolvane {

namespace {

QString EntryName(const char* name) {
    return QString::fromUtf8(name);
}

} // namespace

ZipPackage::ZipPackage(QByteArray bytes)
    : bytes_(std::move(bytes)) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        bytes_.constData(), static_cast<zip_uint64_t>(bytes_.size()), 0, &error);
    if (source) {
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
        if (!archive_) zip_source_free(source);
    }
    zip_error_fini(&error);
    if (!archive_)
        throw UserError(QStringLiteral("the file is damaged or is no workbook (not a zip "
                                       "archive)"));
}

ZipPackage::~ZipPackage() {
    zip_discard(archive_);
}

bool ZipPackage::contains(const char* name) const {
    return zip_name_locate(archive_, name, ZIP_FL_NOCASE) >= 0;
}

QByteArray ZipPackage::read(const char* name, ReadProgress* progress) const {
    const zip_int64_t index = zip_name_locate(archive_, name, ZIP_FL_NOCASE);
    if (index < 0)
        throw UserError(QStringLiteral("the file is damaged or is no workbook (%1 is missing)")
                            .arg(EntryName(name)));
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE))
        throw UserError(
            QStringLiteral("the file is damaged (%1 cannot be read)").arg(EntryName(name)));
    if (stat.size > static_cast<zip_uint64_t>(kMaxEntrySize))
        throw UserError(QStringLiteral("the file is too large to read (%1 would unpack to "
                                       "more than %2 MB)")
                            .arg(EntryName(name))
                            .arg(kMaxEntrySize / (1024 * 1024)));
    zip_file_t* file = zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0);
    if (!file) {
        const bool locked = zip_error_code_zip(zip_get_error(archive_)) == ZIP_ER_NOPASSWD;
        throw UserError(locked ? QStringLiteral("the file is protected by a password")
                               : QStringLiteral("the file is damaged (%1 cannot be unpacked)")
                                     .arg(EntryName(name)));
    }
    const auto size = static_cast<qsizetype>(stat.size);
    QByteArray out(size, Qt::Uninitialized);
    qsizetype done = 0;
    bool failed = false;
    try {
        constexpr qsizetype kChunk = 1 << 20;
        while (done < size) {
            const zip_int64_t n = zip_fread(
                file, out.data() + done, static_cast<zip_uint64_t>(std::min(kChunk, size - done)));
            if (n <= 0) {
                failed = true;
                break;
            }
            done += static_cast<qsizetype>(n);
            Report(progress, done, size);
        }
        // An entry that holds more than its stated size is damaged (or hostile).
        char extra;
        if (!failed && zip_fread(file, &extra, 1) != 0) failed = true;
    } catch (...) {
        zip_fclose(file);
        throw;
    }
    zip_fclose(file);
    if (failed)
        throw UserError(
            QStringLiteral("the file is damaged (%1 cannot be unpacked)").arg(EntryName(name)));
    return out;
}

} // namespace tolvane
