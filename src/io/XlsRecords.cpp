#include "io/XlsRecords.h"

#include "model/NumberFormat.h"

#include <cstdint>
#include <cstring>

namespace tolvane {

namespace {

enum Record : uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kContinue = 0x003C,
    kBoundSheet = 0x0085,
    kSst = 0x00FC,
    kRString = 0x00D6,
    kLabel = 0x0204,
    kDimensions = 0x0200,
    kFormat = 0x041E,
    kString = 0x0207,
    kBof = 0x0809,
};

// One record: its type and its data, bounds-checked against the stream.
class Records {
public:
    Records(const QByteArray& stream, qsizetype at)
        : data_(reinterpret_cast<const uint8_t*>(stream.constData()))
        , size_(stream.size())
        , next_(at) {}

    bool next() {
        if (next_ < 0 || next_ + 4 > size_) return false;
        type_ = u16(data_ + next_);
        length_ = u16(data_ + next_ + 2);
        body_ = next_ + 4;
        if (body_ + length_ > size_) return false;
        next_ = body_ + length_;
        return true;
    }
    uint16_t type() const { return type_; }
    qsizetype length() const { return length_; }
    qsizetype end() const { return body_ + length_; }
    uint16_t u16At(qsizetype at) const { return at + 2 <= length_ ? u16(data_ + body_ + at) : 0; }
    uint32_t u32At(qsizetype at) const {
        return at + 4 <= length_ ? uint32_t(u16At(at)) | uint32_t(u16At(at + 2)) << 16 : 0;
    }
    uint8_t u8At(qsizetype at) const { return at < length_ ? data_[body_ + at] : 0; }
    double doubleAt(qsizetype at) const {
        double value = 0;
        if (at + 8 <= length_) std::memcpy(&value, data_ + body_ + at, 8);
        return value;
    }
    // A BIFF8 string: 16-bit length, a flags byte, then Latin-1 or UTF-16 characters.
    QString stringAt(qsizetype at) const {
        const qsizetype count = u16At(at);
        const bool wide = u8At(at + 2) & 0x01;
        const qsizetype start = at + 3;
        const qsizetype available = (length_ - start) / (wide ? 2 : 1);
        QString text;
        for (qsizetype i = 0; i < std::min(count, available); ++i)
            text += QChar(wide ? u16At(start + 2 * i) : u8At(start + i));
        return text;
    }

private:
    static uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

    const uint8_t* data_;
    qsizetype size_;
    qsizetype next_;
    uint16_t type_ = 0;
    qsizetype length_ = 0;
    qsizetype body_ = 0;
};

QString ErrorText(uint8_t code) {
    switch (code) {
    case 0x00:
        return QStringLiteral("#NULL!");
    case 0x07:
        return QStringLiteral("#DIV/0!");
    case 0x0F:
        return QStringLiteral("#VALUE!");
    case 0x17:
        return QStringLiteral("#REF!");
    case 0x1D:
        return QStringLiteral("#NAME?");
    case 0x24:
        return QStringLiteral("#NUM!");
    default:
        return QStringLiteral("#N/A");
    }
}

// Where the first worksheet's records start, or -1.
qsizetype FirstWorksheet(const QByteArray& stream) {
    Records r(stream, 0);
    if (!r.next() || r.type() != kBof || r.u16At(0) != 0x0600) return -1; // BIFF8 only
    while (r.next() && r.type() != kEof)
        if (r.type() == kBoundSheet && r.u8At(5) == 0) return r.u32At(0);
    return -1;
}

} // namespace

std::vector<XlsCell> XlsCellsBeyondFreeXl(const QByteArray& workbook) {
    std::vector<XlsCell> cells;
    const qsizetype start = FirstWorksheet(workbook);
    if (start < 0) return cells;
    Records r(workbook, start);
    if (!r.next() || r.type() != kBof) return cells;
    int pendingRow = 0; // a formula whose text follows in a STRING record
    int pendingCol = 0;
    while (r.next() && r.type() != kEof) {
        const int row = r.u16At(0) + 1;
        const int col = r.u16At(2) + 1;
        if (r.type() == kFormula && r.length() >= 14) {
            pendingRow = 0;
            if (r.u16At(12) != 0xFFFF) {
                cells.push_back({row, col, FormatGeneral(r.doubleAt(6))});
            } else if (r.u8At(6) == 0) {
                pendingRow = row;
                pendingCol = col;
            } else if (r.u8At(6) == 1) {
                cells.push_back(
                    {row, col, r.u8At(8) ? QStringLiteral("TRUE") : QStringLiteral("FALSE")});
            } else if (r.u8At(6) == 2) {
                cells.push_back({row, col, ErrorText(r.u8At(8))});
            }
        } else if (r.type() == kString && pendingRow > 0) {
            cells.push_back({pendingRow, pendingCol, r.stringAt(0)});
            pendingRow = 0;
        } else if (r.type() == kRString) {
            cells.push_back({row, col, r.stringAt(6)});
        }
    }
    return cells;
}

QByteArray WholeXlsRecords(const QByteArray& stream) {
    constexpr qsizetype kLongestRecord = 8224; // the most data Excel puts in one record
    Records r(stream, 0);
    qsizetype whole = 0;
    while (r.next() && r.length() <= kLongestRecord)
        whole = r.end();
    return stream.left(whole);
}

namespace {

bool SharedStringsFit(const QByteArray& stream) {
    Records r(stream, 0);
    bool found = false;
    while (!found && r.next())
        found = r.type() == kSst;
    if (!found) return true; // none, or one cut short, which FreeXL is not given
    // The table's data: the SST record's, then that of the CONTINUE records after it.
    std::vector<std::pair<qsizetype, qsizetype>> parts{{r.end() - r.length(), r.end()}};
    while (r.next() && r.type() == kContinue)
        parts.emplace_back(r.end() - r.length(), r.end());
    const auto* data = reinterpret_cast<const uint8_t*>(stream.constData());
    size_t part = 0;
    qsizetype at = parts[0].first;
    // Moves to the next part when this one is used up; false when none is left.
    const auto more = [&] {
        if (part == parts.size()) return false;
        while (at >= parts[part].second) {
            if (++part == parts.size()) return false;
            at = parts[part].first;
        }
        return true;
    };
    // Passes over `count` bytes, across parts.
    const auto skip = [&](qsizetype count) {
        while (count > 0) {
            if (!more()) return false;
            const qsizetype step = std::min(count, parts[part].second - at);
            at += step;
            count -= step;
        }
        return true;
    };
    const auto byte = [&]() -> int { return more() ? data[at++] : -1; };
    const auto u16 = [&]() -> int {
        const int lo = byte(), hi = byte();
        return lo < 0 || hi < 0 ? -1 : lo | hi << 8;
    };
    // Four bytes, least significant first; -1 when the table ends before them.
    const auto u32 = [&]() -> qsizetype {
        const int lo = u16(), hi = u16();
        return lo < 0 || hi < 0 ? -1 : qsizetype(lo) | qsizetype(hi) << 16;
    };
    if (!skip(4)) return false;
    const qsizetype unique = u32();
    if (unique < 0) return false;
    for (qsizetype i = 0; i < unique; ++i) {
        qsizetype chars = u16();
        int flags = byte();
        if (chars < 0 || flags < 0) return false;
        const int runs = flags & 0x08 ? u16() : 0;
        const qsizetype extra = flags & 0x04 ? u32() : 0;
        if (runs < 0 || extra < 0) return false;
        // Characters that go on in a CONTINUE record start it with a flags byte of their own.
        while (chars > 0) {
            if (part == parts.size()) return false;
            const qsizetype width = flags & 0x01 ? 2 : 1;
            const qsizetype here = std::min(chars, (parts[part].second - at) / width);
            at += here * width;
            chars -= here;
            if (chars == 0) break;
            if (at != parts[part].second) return false; // a character split in two
            if (++part == parts.size()) return false;
            at = parts[part].first;
            if ((flags = byte()) < 0) return false;
        }
        if (!skip(4 * qsizetype(runs) + extra)) return false;
    }
    return true;
}

// The texts of the records FreeXL reads besides the shared strings, and the sheet sizes.
bool RecordTextsFit(const QByteArray& stream) {
    Records r(stream, 0);
    if (!r.next() || r.type() != kBof) return true; // FreeXL refuses the stream itself
    const bool biff8 = r.u16At(0) == 0x0600;
    bool sized = false; // whether the sheet being read has had its size
    while (r.next()) {
        qsizetype at = 0;
        bool shortCount = false; // a count of one byte, not two
        switch (r.type()) {
        case kBof:
            sized = false;
            continue;
        case kDimensions: // FreeXL reads the sheet's size from it with no look at its length
            if (r.length() < (biff8 ? 14 : 10)) return false;
            // A second size makes FreeXL take new cells for the sheet but keep counting
            // the old ones, past their end, when it lets them go.
            if (sized) return false;
            sized = true;
            // No sheet of these formats goes past 65,536 rows and 256 columns; a damaged size
            // beyond would have every one of its empty cells read.
            if ((biff8 ? r.u32At(4) : r.u16At(2)) > 65536 || r.u16At(biff8 ? 10 : 6) > 256)
                return false;
            continue;
        case kFormat:
            at = 2;
            shortCount = !biff8;
            break;
        case kLabel:
        case kRString:
            at = 6;
            break;
        case kBoundSheet:
            at = 6;
            shortCount = true;
            break;
        default:
            continue;
        }
        qsizetype start = at + (shortCount ? 1 : 2);
        if (start > r.length()) return false;
        const qsizetype chars = shortCount ? r.u8At(at) : r.u16At(at);
        qsizetype width = 1;
        if (biff8) { // Excel 97 texts say whether their characters take one byte or two
            if (start >= r.length()) return false;
            width = r.u8At(start) & 0x01 ? 2 : 1;
            ++start;
        }
        if (start + chars * width > r.length()) return false;
    }
    return true;
}

} // namespace

bool XlsTextsFit(const QByteArray& stream) {
    return SharedStringsFit(stream) && RecordTextsFit(stream);
}

} // namespace tolvane
