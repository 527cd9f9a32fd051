#include "render/Json.h"

#include <charconv>
#include <cmath>

namespace tolvane {

double JsonValue::toDouble(double fallback) const {
    return type_ == Type::Number ? number_ : fallback;
}

QString JsonValue::toString() const {
    return type_ == Type::String
               ? QString::fromUtf8(string_.data(), static_cast<qsizetype>(string_.size()))
               : QString();
}

bool JsonValue::toBool(bool fallback) const {
    return type_ == Type::Bool ? bool_ : fallback;
}

size_t JsonValue::size() const {
    if (type_ == Type::IntArray) return ints_.size();
    return type_ == Type::Array ? items_.size() : 0;
}

double JsonValue::numberAt(size_t i, double fallback) const {
    if (type_ == Type::IntArray) return i < ints_.size() ? ints_[i] : fallback;
    return type_ == Type::Array && i < items_.size() ? items_[i].toDouble(fallback) : fallback;
}

const JsonValue& JsonValue::at(size_t i) const {
    return type_ == Type::Array && i < items_.size() ? items_[i] : null();
}

const JsonValue& JsonValue::operator[](std::string_view key) const {
    for (const auto& [name, value] : members_)
        if (name == key) return value;
    return null();
}

const JsonValue& JsonValue::null() {
    static const JsonValue kNull;
    return kNull;
}

class JsonParser {
public:
    JsonParser(std::string_view text, JsonArcs* arcs)
        : arcs_(arcs)
        , p_(text.data())
        , begin_(text.data())
        , end_(text.data() + text.size()) {}

    JsonValue document() {
        JsonValue v;
        skipSpace();
        value(v, 0);
        skipSpace();
        if (p_ != end_) fail("unexpected text after the document");
        return v;
    }

private:
    // Deep nesting only comes from damaged or hostile files; stop before the stack does.
    static constexpr int kMaxDepth = 200;

    [[noreturn]] void fail(const char* what) const {
        throw JsonError(what, static_cast<size_t>(p_ - begin_));
    }

    void skipSpace() {
        while (p_ != end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t'))
            ++p_;
    }

    char peek() const { return p_ != end_ ? *p_ : '\0'; }

    void expect(char c) {
        if (peek() != c) {
            static thread_local char msg[] = "expected 'x'";
            msg[10] = c;
            fail(msg);
        }
        ++p_;
    }

    void literal(std::string_view word) {
        if (static_cast<size_t>(end_ - p_) < word.size() ||
            std::string_view(p_, word.size()) != word)
            fail("unknown literal");
        p_ += word.size();
    }

    void value(JsonValue& v, int depth) {
        if (depth > kMaxDepth) fail("nested too deeply");
        switch (peek()) {
        case '{':
            object(v, depth);
            break;
        case '[':
            array(v, depth);
            break;
        case '"':
            v.type_ = JsonValue::Type::String;
            string(v.string_);
            break;
        case 't':
            literal("true");
            v.type_ = JsonValue::Type::Bool;
            v.bool_ = true;
            break;
        case 'f':
            literal("false");
            v.type_ = JsonValue::Type::Bool;
            break;
        case 'n':
            literal("null");
            break;
        default:
            v.type_ = JsonValue::Type::Number;
            v.number_ = number();
        }
    }

    void object(JsonValue& v, int depth) {
        v.type_ = JsonValue::Type::Object;
        ++p_;
        skipSpace();
        if (peek() == '}') {
            ++p_;
            return;
        }
        for (;;) {
            skipSpace();
            std::string key;
            string(key);
            skipSpace();
            expect(':');
            skipSpace();
            if (depth == 0 && arcs_ && key == "arcs" && peek() == '[') {
                arcList();
            } else {
                v.members_.emplace_back(std::move(key), JsonValue());
                value(v.members_.back().second, depth + 1);
            }
            skipSpace();
            if (peek() == ',') {
                ++p_;
                continue;
            }
            expect('}');
            return;
        }
    }

    // Reads an integer that fits int32 without consuming anything else; false otherwise.
    bool tryInt(int32_t& out) {
        const char* q = p_;
        bool negative = false;
        if (q != end_ && *q == '-') {
            negative = true;
            ++q;
        }
        const char* digits = q;
        int64_t n = 0;
        while (q != end_ && *q >= '0' && *q <= '9' && q - digits < 11) {
            n = n * 10 + (*q - '0');
            ++q;
        }
        if (q == digits ||
            (q != end_ && (*q == '.' || *q == 'e' || *q == 'E' || (*q >= '0' && *q <= '9'))))
            return false;
        if (negative) n = -n;
        if (n < INT32_MIN || n > INT32_MAX) return false;
        out = static_cast<int32_t>(n);
        p_ = q;
        return true;
    }

    void array(JsonValue& v, int depth) {
        ++p_;
        skipSpace();
        v.type_ = JsonValue::Type::IntArray;
        if (peek() == ']') {
            ++p_;
            return;
        }
        for (;;) {
            skipSpace();
            int32_t n = 0;
            if (v.type_ == JsonValue::Type::IntArray && tryInt(n)) {
                v.ints_.push_back(n);
            } else {
                if (v.type_ == JsonValue::Type::IntArray) {
                    // Not all integers after all: keep what was read as ordinary items.
                    v.type_ = JsonValue::Type::Array;
                    v.items_.resize(v.ints_.size());
                    for (size_t i = 0; i < v.ints_.size(); ++i) {
                        v.items_[i].type_ = JsonValue::Type::Number;
                        v.items_[i].number_ = v.ints_[i];
                    }
                    v.ints_.clear();
                }
                v.items_.emplace_back();
                value(v.items_.back(), depth + 1);
            }
            skipSpace();
            if (peek() == ',') {
                ++p_;
                continue;
            }
            expect(']');
            return;
        }
    }

    double anyNumber() {
        int32_t n = 0;
        return tryInt(n) ? n : number();
    }

    // [[[x, y], [x, y], ...], ...]
    void arcList() {
        arcs_->present = true;
        ++p_;
        skipSpace();
        if (peek() == ']') {
            ++p_;
            return;
        }
        for (;;) {
            skipSpace();
            expect('[');
            skipSpace();
            if (peek() != ']') {
                for (;;) {
                    skipSpace();
                    expect('[');
                    skipSpace();
                    const double x = anyNumber();
                    skipSpace();
                    expect(',');
                    skipSpace();
                    const double y = anyNumber();
                    skipSpace();
                    while (peek() == ',') { // a third coordinate, not used
                        ++p_;
                        skipSpace();
                        anyNumber();
                        skipSpace();
                    }
                    expect(']');
                    arcs_->xy.push_back(x);
                    arcs_->xy.push_back(y);
                    skipSpace();
                    if (peek() == ',') {
                        ++p_;
                        continue;
                    }
                    break;
                }
            }
            expect(']');
            arcs_->starts.push_back(arcs_->xy.size() / 2);
            skipSpace();
            if (peek() == ',') {
                ++p_;
                continue;
            }
            expect(']');
            return;
        }
    }

    double number() {
        double d = 0;
        const char* start = p_;
        if (p_ != end_ && *p_ == '+') fail("malformed number");
        const auto [ptr, ec] = std::from_chars(p_, end_, d);
        if (ec != std::errc() || ptr == start) fail("malformed number");
        p_ = ptr;
        return d;
    }

    static void appendUtf8(std::string& out, uint32_t cp) {
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

    uint32_t hex4() {
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
    }

    void string(std::string& out) {
        expect('"');
        for (;;) {
            const char* run = p_;
            while (p_ != end_ && *p_ != '"' && *p_ != '\\')
                ++p_;
            out.append(run, static_cast<size_t>(p_ - run));
            if (p_ == end_) fail("unterminated string");
            if (*p_ == '"') {
                ++p_;
                return;
            }
            ++p_; // backslash
            if (p_ == end_) fail("unterminated string");
            const char c = *p_++;
            switch (c) {
            case '"':
            case '\\':
            case '/':
                out.push_back(c);
                break;
            case 'b':
                out.push_back('\b');
                break;
            case 'f':
                out.push_back('\f');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case 'r':
                out.push_back('\r');
                break;
            case 't':
                out.push_back('\t');
                break;
            case 'u': {
                uint32_t cp = hex4();
                if (cp >= 0xD800 && cp < 0xDC00 && end_ - p_ >= 6 && p_[0] == '\\' &&
                    p_[1] == 'u') {
                    p_ += 2;
                    const uint32_t low = hex4();
                    if (low >= 0xDC00 && low < 0xE000)
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    else
                        cp = 0xFFFD;
                } else if (cp >= 0xD800 && cp < 0xE000) {
                    cp = 0xFFFD;
                }
                appendUtf8(out, cp);
                break;
            }
            default:
                fail("unknown escape in string");
            }
        }
    }

    JsonArcs* arcs_;
    const char* p_;
    const char* begin_;
    const char* end_;
};

JsonValue ParseJson(std::string_view text, JsonArcs* arcs) {
    // A UTF-8 byte order mark is harmless; skip it.
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return JsonParser(text, arcs).document();
}

} // namespace tolvane
