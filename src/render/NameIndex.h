#pragma once

#include <QHashFunctions>
#include <QString>
#include <cstdint>
#include <vector>

namespace tolvane {

// Indexes 0 .. count-1 of a list, found by a name each has: a flat open-addressed table of
// four bytes a slot, built once for a decoded map. Matching a chart of 200,000 regions to its
// map then costs a lookup per region, not a hash table built afresh on every preview.
class NameIndex {
public:
    NameIndex() = default;
    // `nameOf(i)` is item i's name; empty names are left out.
    template <typename NameOf> NameIndex(int count, NameOf nameOf) {
        size_t size = 16;
        while (size < 2 * static_cast<size_t>(count))
            size *= 2;
        slots_.assign(size, -1);
        for (int i = 0; i < count; ++i) {
            const QString& name = nameOf(i);
            if (name.isEmpty()) continue;
            size_t at = qHash(name) & (size - 1);
            while (slots_[at] >= 0)
                at = (at + 1) & (size - 1);
            slots_[at] = i;
        }
    }

    // Calls `visit(i)` for every item named `name`, in the order they were listed, until it
    // returns true.
    template <typename NameOf, typename Visit>
    void find(const QString& name, NameOf nameOf, Visit visit) const {
        if (slots_.empty() || name.isEmpty()) return;
        const size_t mask = slots_.size() - 1;
        for (size_t at = qHash(name) & mask; slots_[at] >= 0; at = (at + 1) & mask)
            if (nameOf(slots_[at]) == name && visit(slots_[at])) return;
    }

    // The first item named `name`; -1 when none is.
    template <typename NameOf> int first(const QString& name, NameOf nameOf) const {
        int found = -1;
        find(name, nameOf, [&](int i) {
            found = i;
            return true;
        });
        return found;
    }

private:
    std::vector<int32_t> slots_;
};

} // namespace tolvane
