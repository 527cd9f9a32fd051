#pragma once

#include "platform/FileOps.h"

#include <QByteArray>
#include <QHashFunctions>
#include <QString>
#include <algorithm>
#include <functional>
#include <future>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace tolvane {

// What names a file's bytes: their size and two differently seeded hashes.
struct ContentId {
    qsizetype size = -1;
    size_t hash = 0, check = 0;
    bool operator==(const ContentId&) const = default;
};

inline ContentId ContentIdOf(const QByteArray& bytes) {
    return {bytes.size(), qHash(bytes, 0), qHash(bytes, 0x9E3779B97F4A7C15u)};
}

// A file's decoding, with the content it was decoded from and the file's stamp while it
// held that content (none when the file changed as it was read).
template <typename T> struct DecodedFile {
    std::shared_ptr<const T> value;
    ContentId content;
    std::optional<FileStamp> stamp;
};

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
        return loadFile(path, variant, decode).value;
    }

    // The decoding of a file known by its stamp, without reading it; none when the file is
    // not known or has changed.
    std::optional<DecodedFile<T>> peek(const QString& path, int variant) {
        const std::optional<FileStamp> stamp = StampOf(path);
        return stamp ? peekStamp(*stamp, variant) : std::nullopt;
    }

    DecodedFile<T> loadFile(const QString& path, int variant, const Decode& decode) {
        const std::optional<FileStamp> before = StampOf(path);
        if (before)
            if (std::optional<DecodedFile<T>> known = peekStamp(*before, variant)) return *known;
        QByteArray bytes = ReadWholeFile(path);
        const std::optional<FileStamp> after = StampOf(path);
        const std::optional<FileStamp> held = after == before ? before : std::nullopt;
        // Only a stamp that names its content names it for later loads.
        const std::optional<FileStamp> file = held && held->namesContent() ? held : std::nullopt;
        const ContentId content = ContentIdOf(bytes);
        // The same content being decoded on another thread (a file read ahead) is waited
        // for, not decoded twice.
        std::shared_future<std::shared_ptr<const T>> other;
        std::promise<std::shared_ptr<const T>> mine;
        {
            std::lock_guard lock(mutex_);
            if (Entry* e = find([&](const Entry& entry) {
                    return entry.variant == variant && entry.content == content;
                })) {
                remember(*e, file);
                return {e->value, content, held};
            }
            const auto busy = std::find_if(decoding_.begin(), decoding_.end(), [&](const auto& d) {
                return d.variant == variant && d.content == content;
            });
            if (busy != decoding_.end())
                other = busy->value;
            else
                decoding_.push_back({variant, content, mine.get_future().share()});
        }
        if (other.valid()) return {other.get(), content, held};

        std::shared_ptr<const T> value;
        try {
            value = decode(std::move(bytes));
        } catch (...) {
            mine.set_exception(std::current_exception());
            done(variant, content);
            throw;
        }
        mine.set_value(value);
        done(variant, content);
        std::lock_guard lock(mutex_);
        if (capacity_ == 0) return {value, content, held};
        Entry entry{variant, content, {}, value};
        remember(entry, file);
        entries_.push_front(std::move(entry));
        if (entries_.size() > capacity_) entries_.pop_back();
        return {value, content, held};
    }

    // What a content decodes to, known without decoding it (data just written, whose reading
    // is known), and a file known to hold it; `make` runs only when the content is not kept
    // yet.
    void know(int variant, const ContentId& content, const std::optional<FileStamp>& file,
              const std::function<std::shared_ptr<const T>()>& make) {
        const std::optional<FileStamp> named = file && file->namesContent() ? file : std::nullopt;
        const auto same = [&](const Entry& e) {
            return e.variant == variant && e.content == content;
        };
        {
            std::lock_guard lock(mutex_);
            if (capacity_ == 0) return;
            if (Entry* e = find(same)) {
                remember(*e, named);
                return;
            }
        }
        std::shared_ptr<const T> value = make();
        if (!value) return;
        std::lock_guard lock(mutex_);
        if (Entry* e = find(same)) {
            remember(*e, named);
            return;
        }
        Entry entry{variant, content, {}, std::move(value)};
        remember(entry, named);
        entries_.push_front(std::move(entry));
        if (entries_.size() > capacity_) entries_.pop_back();
    }

    void clear() { keep(capacity_); }

    // Keeps at most `count` files decoded from now on (none: each load decodes).
    void keep(size_t count) {
        std::lock_guard lock(mutex_);
        capacity_ = count;
        entries_.clear();
    }

private:
    std::optional<DecodedFile<T>> peekStamp(const FileStamp& stamp, int variant) {
        std::lock_guard lock(mutex_);
        if (const Entry* e = find([&](const Entry& entry) {
                return entry.variant == variant && std::find(entry.files.begin(), entry.files.end(),
                                                             stamp) != entry.files.end();
            }))
            return DecodedFile<T>{e->value, e->content, stamp};
        return std::nullopt;
    }

    struct Decoding {
        int variant = 0;
        ContentId content;
        std::shared_future<std::shared_ptr<const T>> value;
    };
    void done(int variant, const ContentId& content) {
        std::lock_guard lock(mutex_);
        std::erase_if(decoding_, [&](const Decoding& d) {
            return d.variant == variant && d.content == content;
        });
    }

    struct Entry {
        int variant = 0;
        ContentId content;
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
    std::vector<Decoding> decoding_;
};

} // namespace tolvane
