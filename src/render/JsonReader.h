#pragma once

#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tolvane {

class JsonError : public std::exception {
public:
    JsonError(std::string message, size_t offset)
        : message_(std::move(message))
        , offset_(offset) {}
    const char* what() const noexcept override { return message_.c_str(); }
    size_t offset() const { return offset_; }

private:
    std::string message_;
    size_t offset_;
};

// Reads a JSON text value by value, as its reader asks for them, without building a tree
// of it. A movie of a large map holds a few hundred thousand geometries and a million
// positions: a tree of them costs more than all the reading, and its reader wants each only
// once, in the order the file has them.
//
// Each reading call takes exactly one value, whatever it is, and says whether it was of the
// kind asked for; a value of another kind is passed over (still checked). Faults of the text
// anywhere, also in values passed over, throw JsonError with the byte offset.
//
//     if (reader.enterObject())
//         for (std::string_view key; reader.nextKey(key);)
//             if (key == "name") reader.string(name); else reader.skip();
class JsonReader {
public:
    enum class Kind : uint8_t { Null, Bool, Number, String, Array, Object };

    explicit JsonReader(std::string_view text);
    // A reader of the one value at byte `from` of `text`, as a reader of all of it would
    // find it `depth` containers deep: a part read on another core. Offsets are those of a
    // reader of all of it.
    JsonReader(std::string_view text, size_t from, int depth);
    // Continues after the value another reader of the same text read (see above), ending
    // at `offset`.
    void skipTo(size_t offset) { p_ = begin_ + offset; }

    // The kind of the next value (throws where none starts).
    Kind peek();

    // Enters the next value when it is an object (or array); anything else is passed over.
    bool enterObject();
    bool enterArray();
    // In an object: reads the next member's key and its colon; false (and out of the
    // object) at its end. The key is valid until the next call.
    bool nextKey(std::string_view& key) {
        // Most keys are short and written without white space: found here at once.
        if (end_ - p_ >= 40) {
            const char* q = p_ + (first_ ? 0 : 1);
            if (*q == '"' && (first_ || *p_ == ',')) {
                const char* start = ++q;
                q += KeyLength(start);
                if (*q == '"' && q[1] == ':') {
                    key = std::string_view(start, static_cast<size_t>(q - start));
                    p_ = q + 2;
                    first_ = false;
                    return true;
                }
            }
        }
        return nextKeySlow(key);
    }
    // In an array: true when another item follows; false (and out of the array) at its end.
    bool next() {
        const char c = peekChar();
        if (first_) {
            first_ = false;
            if (c != ']') return true;
        } else if (c == ',') {
            ++p_;
            return true;
        }
        expect(']');
        --depth_;
        return false;
    }

    // A string (valid until the next call); a number; a number that is an integer within
    // 32 bits; true or false.
    bool string(std::string_view& out) {
        // A short one without escapes, found at once.
        if (end_ - p_ >= 40 && *p_ == '"') {
            const int n = KeyLength(p_ + 1);
            if (p_[1 + n] == '"') {
                out = std::string_view(p_ + 1, static_cast<size_t>(n));
                p_ += n + 2;
                return true;
            }
        }
        return stringSlow(out);
    }
    bool number(double& out);
    bool integer(int32_t& out);
    bool boolean(bool& out);
    void skip();
    // An array of integers within 32 bits, appended to `out`; false, reading nothing, when
    // the next value is anything else. The fast path for the arc lists of a large map.
    bool integers(std::vector<int32_t>& out);
    // A position: an array of two or more numbers, of which the first two are read. The
    // fast path for the million positions of a large map; throws for anything else.
    void position(double& x, double& y) {
        if (!integerPair(x, y)) slowPosition(x, y);
    }
    // An array of exactly two integers, written without white space; false, reading
    // nothing, for anything else.
    bool integerPair(double& x, double& y) {
        if (end_ - p_ < 32 || *p_ != '[') return false;
        const char* q = p_ + 1;
        int32_t nx = 0, ny = 0;
        if (!quickInteger(q, nx) || *q != ',' || !quickInteger(++q, ny) || *q != ']') return false;
        x = nx;
        y = ny;
        p_ = q + 1;
        first_ = false;
        return true;
    }

    // Throws unless only white space follows the value read.
    void finish();
    size_t offset() const { return static_cast<size_t>(p_ - begin_); }
    // Where the next value starts.
    size_t offsetOfNext() {
        skipSpace();
        return offset();
    }
    // Whether a string read lies in the text (and lives as long as it), not in a buffer.
    bool inText(std::string_view s) const { return s.data() >= begin_ && s.data() < end_; }
    // Throws JsonError at the current offset: for a reader that finds the text valid JSON
    // but not what it must be.
    [[noreturn]] void fail(const char* what) const;

private:
    // Deep nesting only comes from damaged or hostile files; stop before the stack does.
    static constexpr int kMaxDepth = 200;

    [[noreturn]] void failExpected(char c) const;
    void skipSpace() {
        // Movies are written without white space: one test for that.
        if (p_ != end_ && static_cast<unsigned char>(*p_) > ' ') return;
        while (p_ != end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t'))
            ++p_;
    }
    char peekChar() {
        skipSpace();
        return p_ != end_ ? *p_ : '\0';
    }
    void expect(char c) {
        if (peekChar() != c) failExpected(c);
        ++p_;
    }
    bool startsNumber() {
        const char c = peekChar();
        return c == '-' || (c >= '0' && c <= '9');
    }
    void enter();
    bool nextKeySlow(std::string_view& key);
    bool stringSlow(std::string_view& out);
    // How many of the sixteen bytes at `at` come before a quote or backslash (sixteen when
    // none does).
    static int KeyLength(const char* at) {
#if defined(__SSE2__)
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const int hits = _mm_movemask_epi8(_mm_or_si128(
            _mm_cmpeq_epi8(bytes, _mm_set1_epi8('"')), _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\\'))));
        return hits ? __builtin_ctz(static_cast<unsigned>(hits)) : 16;
#else
        int n = 0;
        while (n < 16 && at[n] != '"' && at[n] != '\\')
            ++n;
        return n;
#endif
    }
    void slowPosition(double& x, double& y);
    void literal(std::string_view word);
    // An integer that fits 32 bits, read without consuming anything else; false otherwise.
    bool scanInteger(int32_t& out) {
        const char* q = p_;
        const bool negative = q != end_ && *q == '-';
        q += negative;
        // Ten digits at most, as INT32_MAX has.
        const char* last = end_ - q > 10 ? q + 10 : end_;
        const char* digits = q;
        uint64_t n = 0;
        for (unsigned d; q != last && (d = static_cast<unsigned char>(*q) - '0') <= 9; ++q)
            n = n * 10 + d;
        if (q == digits ||
            (q != end_ && (*q == '.' || *q == 'e' || *q == 'E' ||
                           static_cast<unsigned>(static_cast<unsigned char>(*q) - '0') <= 9u)))
            return false;
        if (n > (negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX))) return false;
        out = negative ? static_cast<int32_t>(-static_cast<int64_t>(n)) : static_cast<int32_t>(n);
        p_ = q;
        return true;
    }
    // The same for an integer of at most eight digits at q, with at least sixteen bytes of
    // text from there; q moves past it. Eight bytes are tested and added up at once.
    static bool quickInteger(const char*& q, int32_t& out) {
        const bool negative = *q == '-';
        const char* digits = q + negative;
        uint64_t v;
        std::memcpy(&v, digits, sizeof v);
        v ^= 0x3030303030303030u; // digits become 0 .. 9 (bytes from the first)
        // The high bit of each byte that is no digit; carries only run towards later bytes.
        const uint64_t other = ((v + 0x7676767676767676u) | v) & 0x8080808080808080u;
        if (!other) return false; // eight digits or more: the long way
        const int count = __builtin_ctzll(other) / 8;
        const char after = digits[count];
        if (count == 0 || after == '.' || after == 'e' || after == 'E') return false;
        // Leading zeros in front, then the digits, as eight decimal places.
        v <<= 8 * (8 - count);
        v = (v * 10) + (v >> 8);
        v = (((v & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
             (((v >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >>
            32;
        const auto n = static_cast<int32_t>(v);
        out = negative ? -n : n;
        q = digits + count;
        return true;
    }
    double scanNumber();
    std::string_view scanString();
    void unescape(const char* run);

    const char* p_;
    const char* begin_;
    const char* end_;
    int depth_ = 0;
    bool first_ = false;  // no item read yet in the container just entered
    std::string scratch_; // a string with escapes, unescaped
};

} // namespace tolvane
