#include "render/Json.h"

#include <charconv>
#include <cmath>

namespace tolvane {

// Reads a document in one pass into its node array.
class JsonParser {
    using Node = JsonDocument::Node;

public:
    JsonParser(std::string_view text, JsonArcs* arcs)
        : arcs_(arcs)
        , p_(text.data())
        , begin_(text.data())
        , end_(text.data() + text.size()) {}

    JsonDocument document() {
        skipSpace();
        const Node root = value(0);
        skipSpace();
        if (p_ != end_) fail("unexpected text after the document");
        doc_.nodes_.push_back(root);
        return std::move(doc_);
    }

private:
    // Deep nesting only comes from damaged or hostile files; stop before the stack does.
    static constexpr int kMaxDepth = 200;
    // Slots, characters and integers are counted in 32 bits.
    static constexpr size_t kMaxItems = UINT32_MAX - 1;

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

    Node value(int depth) {
        if (depth > kMaxDepth) fail("nested too deeply");
        Node v;
        switch (peek()) {
        case '{':
            return object(depth);
        case '[':
            return array(depth);
        case '"':
            return string();
        case 't':
            literal("true");
            v.type = JsonValue::Type::Bool;
            v.count = 1;
            return v;
        case 'f':
            literal("false");
            v.type = JsonValue::Type::Bool;
            return v;
        case 'n':
            literal("null");
            return v;
        default:
            v.type = JsonValue::Type::Number;
            v.number = number();
            return v;
        }
    }

    // Moves the items a container collected on the stack since `mark` into consecutive
    // slots of the document: a container's items are finished before it is.
    Node flush(JsonValue::Type type, size_t mark, size_t perItem) {
        Node v;
        v.type = type;
        const size_t n = stack_.size() - mark;
        if (doc_.nodes_.size() + n > kMaxItems) fail("too large");
        v.count = static_cast<uint32_t>(n / perItem);
        v.first = doc_.nodes_.size();
        doc_.nodes_.insert(doc_.nodes_.end(), stack_.begin() + static_cast<ptrdiff_t>(mark),
                           stack_.end());
        stack_.resize(mark);
        return v;
    }

    Node object(int depth) {
        ++p_;
        const size_t mark = stack_.size();
        skipSpace();
        if (peek() == '}') {
            ++p_;
            return flush(JsonValue::Type::Object, mark, 2);
        }
        for (;;) {
            skipSpace();
            const Node key = string();
            skipSpace();
            expect(':');
            skipSpace();
            if (depth == 0 && arcs_ && peek() == '[' && keyIs(key, "arcs")) {
                arcList();
            } else {
                stack_.push_back(key);
                const Node member = value(depth + 1);
                stack_.push_back(member);
            }
            skipSpace();
            if (peek() == ',') {
                ++p_;
                continue;
            }
            expect('}');
            return flush(JsonValue::Type::Object, mark, 2);
        }
    }

    bool keyIs(const Node& key, std::string_view name) const {
        return std::string_view(doc_.text_).substr(key.first, key.count) == name;
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

    Node array(int depth) {
        ++p_;
        skipSpace();
        // Read as a flat integer array until an item is something else.
        const size_t intsMark = doc_.ints_.size();
        const size_t mark = stack_.size();
        bool flat = true;
        if (peek() == ']') {
            ++p_;
        } else {
            for (;;) {
                skipSpace();
                int32_t n = 0;
                if (flat && tryInt(n)) {
                    if (doc_.ints_.size() >= kMaxItems) fail("too large");
                    doc_.ints_.push_back(n);
                } else {
                    if (flat) {
                        // Not all integers after all: what was read becomes ordinary items.
                        flat = false;
                        for (size_t i = intsMark; i < doc_.ints_.size(); ++i) {
                            Node item;
                            item.type = JsonValue::Type::Number;
                            item.number = doc_.ints_[i];
                            stack_.push_back(item);
                        }
                        doc_.ints_.resize(intsMark);
                    }
                    const Node item = value(depth + 1);
                    stack_.push_back(item);
                }
                skipSpace();
                if (peek() == ',') {
                    ++p_;
                    continue;
                }
                expect(']');
                break;
            }
        }
        if (!flat) return flush(JsonValue::Type::Array, mark, 1);
        Node v;
        v.type = JsonValue::Type::IntArray;
        v.count = static_cast<uint32_t>(doc_.ints_.size() - intsMark);
        v.first = intsMark;
        return v;
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
            if (arcs_->xy.size() / 2 >= kMaxItems) fail("too large");
            arcs_->starts.push_back(static_cast<uint32_t>(arcs_->xy.size() / 2));
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

    Node string() {
        const size_t start = doc_.text_.size();
        appendString(doc_.text_);
        if (doc_.text_.size() > kMaxItems) fail("too large");
        Node v;
        v.type = JsonValue::Type::String;
        v.count = static_cast<uint32_t>(doc_.text_.size() - start);
        v.first = start;
        return v;
    }

    void appendString(std::string& out) {
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
    JsonDocument doc_;
    std::vector<Node> stack_; // the items of the containers being read
};

JsonDocument ParseJson(std::string_view text, JsonArcs* arcs) {
    // A UTF-8 byte order mark is harmless; skip it.
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return JsonParser(text, arcs).document();
}

} // namespace tolvane
