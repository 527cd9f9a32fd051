#pragma once

#include "platform/FileOps.h"

#include <QByteArray>
#include <QHashFunctions>
#include <QString>
#include <algorithm>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <vector>

namespace tolvane {

// What a few files decode to, kept by content and by the files seen holding it. A file read
// before and unchanged since is not read again; one whose content was decoded before (a
// staged copy of a map's file, rewritten on every switch) costs a read and a hash, not a
// decode. `variant` tells apart decodings of the same bytes that differ (the kind of chart
// they are read as). Safe to use from several threads.
template <typename T> class DecodedFiles {
public:
    // Takes the bytes: a decoder done with them before it is done lets them go.
    using Decode = std::function<std::shared_ptr<const T>(QByteArray)>;

    explicit DecodedFiles(size_t capacity)
        : capacity_(capacity) {}

    // Throws what reading the file or `decode` throws; nothing is kept then.
    std::shared_ptr<const T> load(const QString& path, int variant, const Decode& decode) {
        const std::optional<FileStamp> before = StampOf(path);
        if (before) {
            std::lock_guard lock(mutex_);
            if (const Entry* e = find([&](const Entry& entry) {
                    return entry.variant == variant &&
                           std::find(entry.files.begin(), entry.files.end(), *before) !=
                               entry.files.end();
                }))
                return e->value;
        }
        QByteArray bytes = ReadWholeFile(path);
        // Only a settled stamp that held while the file was read names this content.
        const std::optional<FileStamp> file =
            before && before->settled() && StampOf(path) == before ? before : std::nullopt;
        const qsizetype size = bytes.size();
        const size_t hash = qHash(bytes, 0), check = qHash(bytes, 0x9E3779B97F4A7C15u);
        {
            std::lock_guard lock(mutex_);
            if (Entry* e = find([&](const Entry& entry) {
                    return entry.variant == variant && entry.size == size && entry.hash == hash &&
                           entry.check == check;
                })) {
                remember(*e, file);
                return e->value;
            }
        }
        std::shared_ptr<const T> value = decode(std::move(bytes));
        std::lock_guard lock(mutex_);
        if (capacity_ == 0) return value;
        Entry entry{variant, size, hash, check, {}, value};
        remember(entry, file);
        entries_.push_front(std::move(entry));
        if (entries_.size() > capacity_) entries_.pop_back();
        return value;
    }

    void clear() { keep(capacity_); }

    // Keeps at most `count` files decoded from now on (none: each load decodes).
    void keep(size_t count) {
        std::lock_guard lock(mutex_);
        capacity_ = count;
        entries_.clear();
    }

private:
    struct Entry {
        int variant = 0;
        qsizetype size = 0;
        size_t hash = 0, check = 0; // two hashes of the content, differently seeded
        std::vector<FileStamp> files;
        std::shared_ptr<const T> value;
    };
    static constexpr size_t kFilesPerEntry = 8;

    // Under the lock: the entry matching, moved to the front; null when none does.
    template <typename Match> Entry* find(Match match) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (!match(*it)) continue;
            entries_.splice(entries_.begin(), entries_, it);
            return &entries_.front();
        }
        return nullptr;
    }
    static void remember(Entry& e, const std::optional<FileStamp>& file) {
        if (!file || std::find(e.files.begin(), e.files.end(), *file) != e.files.end()) return;
        if (e.files.size() >= kFilesPerEntry) e.files.erase(e.files.begin());
        e.files.push_back(*file);
    }

    size_t capacity_;
    std::mutex mutex_;
    std::list<Entry> entries_; // most recent first
};

} // namespace tolvane
