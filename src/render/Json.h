#pragma once

#include <QString>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

class JsonDocument;

// A value of a parsed JSON document: a small handle that is only valid while its document
// lives. Qt's JSON classes would do, but a movie of a large map holds a few hundred thousand
// geometries: here every value is one 16-byte slot of one array, integer arrays (the arc
// lists) are flat int32 runs, and strings sit in one buffer, so a document costs a handful
// of allocations instead of several per value.
class JsonValue {
public:
    enum class Type : uint8_t { Null, Bool, Number, String, Array, Object, IntArray };

    JsonValue() = default; // Null

    Type type() const;
    bool isNull() const { return type() == Type::Null; }
    bool isNumber() const { return type() == Type::Number; }
    bool isString() const { return type() == Type::String; }
    bool isObject() const { return type() == Type::Object; }
    // Arrays whose items are all integers are stored flat; both count as arrays.
    bool isArray() const { return type() == Type::Array || type() == Type::IntArray; }

    double toDouble(double fallback = 0) const;
    QString toString() const; // strings only; anything else gives ""
    std::string_view stringView() const;
    bool toBool(bool fallback = false) const;

    // Array access; a flat integer array hands out its items as numbers.
    size_t size() const;
    double numberAt(size_t i, double fallback = 0) const;
    JsonValue at(size_t i) const; // Null for a flat array or out of range
    // The items of a flat integer array (empty for anything else).
    std::span<const int32_t> ints() const;

    // Object member by key; a Null value when missing.
    JsonValue operator[](std::string_view key) const;

private:
    friend class JsonDocument;
    JsonValue(const JsonDocument* doc, uint32_t node)
        : doc_(doc)
        , node_(node) {}
    const JsonDocument* doc_ = nullptr;
    uint32_t node_ = 0;
};

// A parsed document; its values are handles into it.
class JsonDocument {
public:
    JsonValue root() const;
    JsonValue operator[](std::string_view key) const { return root()[key]; }
    JsonValue::Type type() const { return root().type(); }
    bool isObject() const { return root().isObject(); }

private:
    friend class JsonValue;
    friend class JsonParser;
    // Containers keep their items in consecutive slots (an object's as key, value pairs);
    // strings are runs of `text`, integer arrays runs of `ints`.
    struct Node {
        JsonValue::Type type = JsonValue::Type::Null;
        uint32_t count = 0; // items, members, characters; a Bool's value
        union {
            double number;
            uint64_t first; // slot, character or integer offset
        };
        Node()
            : first(0) {}
    };
    std::vector<Node> nodes_;
    std::vector<int32_t> ints_;
    std::string text_; // UTF-8
};

// The "arcs" member of a TopoJSON topology read straight into flat storage: arc k has the
// positions starts[k] .. starts[k + 1] - 1, each two numbers in xy (further numbers of a
// position are dropped). A large map holds a million positions; one small array object
// each would cost more than all the rest of the file.
struct JsonArcs {
    bool present = false;
    std::vector<double> xy;
    std::vector<uint32_t> starts{0};
    size_t count() const { return starts.size() - 1; }
};

// Parses a whole document; throws JsonError with the byte offset of the fault. With `arcs`,
// a top-level member "arcs" is read into it (and is Null in the document).
JsonDocument ParseJson(std::string_view text, JsonArcs* arcs = nullptr);

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

} // namespace tolvane
