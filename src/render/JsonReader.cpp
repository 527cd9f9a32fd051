#include "render/JsonReader.h"

#include <algorithm>
#include <charconv>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tolvane {

JsonReader::JsonReader(std::string_view text) {
    // A UTF-8 byte order mark is harmless; skip it.
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    p_ = begin_ = text.data();
    end_ = begin_ + text.size();
}

JsonReader::JsonReader(std::string_view text, size_t from, int depth)
    : JsonReader(text) {
    p_ = std::max(begin_, text.data() + std::min(from, text.size()));
    depth_ = depth;
}

void JsonReader::fail(const char* what) const {
    throw JsonError(what, offset());
}

void JsonReader::failExpected(char c) const {
    std::string message = "expected 'x'";
    message[10] = c;
    throw JsonError(message, offset());
}

JsonReader::Kind JsonReader::peek() {
    switch (peekChar()) {
    case '{':
        return Kind::Object;
    case '[':
        return Kind::Array;
    case '"':
        return Kind::String;
    case 't':
    case 'f':
        return Kind::Bool;
    case 'n':
        return Kind::Null;
    case '-':
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
        return Kind::Number;
    default:
        fail(p_ == end_ ? "unexpected end of the text" : "expected a value");
    }
}

void JsonReader::enter() {
    ++p_;
    if (++depth_ > kMaxDepth) fail("nested too deeply");
    first_ = true;
}

bool JsonReader::enterObject() {
    if (peekChar() == '{') {
        enter();
        return true;
    }
    skip();
    return false;
}

bool JsonReader::enterArray() {
    if (peekChar() == '[') {
        enter();
        return true;
    }
    skip();
    return false;
}

bool JsonReader::nextKeySlow(std::string_view& key) {
    const char c = peekChar();
    if (first_) {
        first_ = false;
        if (c == '}') {
            ++p_;
            --depth_;
            return false;
        }
    } else if (c == ',') {
        ++p_;
    } else {
        expect('}');
        --depth_;
        return false;
    }
    if (peekChar() != '"') fail("expected '\"'");
    key = scanString();
    expect(':');
    return true;
}

bool JsonReader::stringSlow(std::string_view& out) {
    if (peekChar() != '"') {
        skip();
        return false;
    }
    out = scanString();
    return true;
}

bool JsonReader::number(double& out) {
    if (!startsNumber()) {
        skip();
        return false;
    }
    int32_t n = 0;
    out = scanInteger(n) ? n : scanNumber();
    return true;
}

bool JsonReader::integer(int32_t& out) {
    if (!startsNumber()) {
        skip();
        return false;
    }
    if (scanInteger(out)) return true;
    scanNumber();
    return false;
}

bool JsonReader::boolean(bool& out) {
    if (peek() != Kind::Bool) {
        skip();
        return false;
    }
    out = *p_ == 't';
    literal(out ? "true" : "false");
    return true;
}

void JsonReader::skip() {
    switch (peek()) {
    case Kind::Object:
        enter();
        for (std::string_view key; nextKey(key);)
            skip();
        break;
    case Kind::Array:
        enter();
        while (next())
            skip();
        break;
    case Kind::String:
        scanString();
        break;
    case Kind::Number: {
        int32_t n = 0;
        if (!scanInteger(n)) scanNumber();
        break;
    }
    case Kind::Bool:
        literal(*p_ == 't' ? "true" : "false");
        break;
    case Kind::Null:
        literal("null");
        break;
    }
}

bool JsonReader::integers(std::vector<int32_t>& out) {
    if (peekChar() != '[' || depth_ >= kMaxDepth) return false;
    const size_t before = out.size();
    // Written without white space, as a movie is; anything else is read the long way.
    for (const char* q = p_ + 1;;) {
        int32_t n = 0;
        if (end_ - q < 16) break;
        if (*q == ']' && out.size() == before) {
            p_ = q + 1;
            return true;
        }
        if (!quickInteger(q, n)) break;
        out.push_back(n);
        if (*q == ',') {
            ++q;
        } else if (*q == ']') {
            p_ = q + 1;
            return true;
        } else {
            break;
        }
    }
    const char* start = p_;
    out.resize(before);
    // The long way: items read one by one, and the text left as it was if one is no integer.
    enter();
    for (int32_t n = 0; next();) {
        if (startsNumber() && scanInteger(n)) {
            out.push_back(n);
            continue;
        }
        out.resize(before);
        p_ = start;
        --depth_;
        return false;
    }
    return true;
}

void JsonReader::slowPosition(double& x, double& y) {
    expect('[');
    const auto read = [this] {
        if (!startsNumber()) fail("expected a number");
        int32_t n = 0;
        return scanInteger(n) ? double(n) : scanNumber();
    };
    x = read();
    expect(',');
    y = read();
    while (peekChar() == ',') { // a third coordinate, not used
        ++p_;
        read();
    }
    expect(']');
}

void JsonReader::finish() {
    skipSpace();
    if (p_ != end_) fail("unexpected text after the document");
}

void JsonReader::literal(std::string_view word) {
    if (static_cast<size_t>(end_ - p_) < word.size() || std::string_view(p_, word.size()) != word)
        fail("unknown literal");
    p_ += word.size();
}

double JsonReader::scanNumber() {
    double d = 0;
    const auto [ptr, ec] = std::from_chars(p_, end_, d);
    if (ec != std::errc() || ptr == p_) fail("malformed number");
    p_ = ptr;
    return d;
}

std::string_view JsonReader::scanString() {
    const char* start = ++p_;
#if defined(__SSE2__)
    // Keys and names are short: sixteen bytes at a time find most ends at once.
    const __m128i quote = _mm_set1_epi8('"'), backslash = _mm_set1_epi8('\\');
    while (end_ - p_ >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p_));
        const int hits = _mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)));
        if (hits) {
            p_ += __builtin_ctz(static_cast<unsigned>(hits));
            break;
        }
        p_ += 16;
    }
#endif
    while (p_ != end_ && *p_ != '"' && *p_ != '\\')
        ++p_;
    if (p_ == end_) fail("unterminated string");
    if (*p_ == '"') return std::string_view(start, static_cast<size_t>(p_++ - start));
    unescape(start);
    return scratch_;
}

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

} // namespace

// The rest of a string from its first backslash (at p_), `run` being where it began.
void JsonReader::unescape(const char* run) {
    scratch_.assign(run, static_cast<size_t>(p_ - run));
    const auto hex4 = [this] {
        if (end_ - p_ < 4) fail("malformed \\u escape");
        uint32_t cp = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = *p_++;
            cp <<= 4;
            if (c >= '0' && c <= '9')
                cp |= static_cast<uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                cp |= static_cast<uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                cp |= static_cast<uint32_t>(c - 'A' + 10);
            else
                fail("malformed \\u escape");
        }
        return cp;
    };
    for (;;) {
        const char* plain = p_;
        while (p_ != end_ && *p_ != '"' && *p_ != '\\')
            ++p_;
        scratch_.append(plain, static_cast<size_t>(p_ - plain));
        if (p_ == end_) fail("unterminated string");
        if (*p_++ == '"') return;
        if (p_ == end_) fail("unterminated string");
        switch (const char c = *p_++) {
        case '"':
        case '\\':
        case '/':
            scratch_.push_back(c);
            break;
        case 'b':
            scratch_.push_back('\b');
            break;
        case 'f':
            scratch_.push_back('\f');
            break;
        case 'n':
            scratch_.push_back('\n');
            break;
        case 'r':
            scratch_.push_back('\r');
            break;
        case 't':
            scratch_.push_back('\t');
            break;
        case 'u': {
            uint32_t cp = hex4();
            if (cp >= 0xD800 && cp < 0xDC00 && end_ - p_ >= 6 && p_[0] == '\\' && p_[1] == 'u') {
                p_ += 2;
                const uint32_t low = hex4();
                if (low >= 0xDC00 && low < 0xE000)
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                else
                    cp = 0xFFFD;
            } else if (cp >= 0xD800 && cp < 0xE000) {
                cp = 0xFFFD;
            }
            AppendUtf8(scratch_, cp);
            break;
        }
        default:
            fail("unknown escape in string");
        }
    }
}

} // namespace tolvane
