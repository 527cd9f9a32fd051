#pragma once

#include <atomic>
#include <exception>

namespace tolvane {

// Thrown by a reader whose caller cancelled it.
class ReadCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// Shared between a reader working on another thread and the window waiting for it: the
// reader reports how far it got, the window may ask it to stop.
class ReadProgress {
public:
    // How far the reader got, in thousandths; -1 until it knows.
    int permille() const { return permille_.load(std::memory_order_relaxed); }
    void report(long long done, long long total) {
        if (total > 0)
            permille_.store(static_cast<int>(done * 1000 / total), std::memory_order_relaxed);
        check();
    }
    void cancel() { cancelled_.store(true); }
    bool cancelled() const { return cancelled_.load(); }
    // Readers call this now and then; it ends the reading when the caller cancelled.
    void check() const {
        if (cancelled()) throw ReadCancelled();
    }

private:
    std::atomic<int> permille_{-1};
    std::atomic<bool> cancelled_{false};
};

// Readers take an optional progress; this spares them the null checks.
inline void Report(ReadProgress* progress, long long done, long long total) {
    if (progress) progress->report(done, total);
}

} // namespace tolvane
