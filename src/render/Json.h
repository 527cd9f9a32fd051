#pragma once

#include <QString>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tolvane {

// A small JSON document model for map movies. Qt's JSON classes would do, but a movie is
// mostly arc coordinates, and this parser keeps integer arrays as flat vectors of int32
// instead of one variant per number, which makes loading a large map several times faster.
class JsonValue {
public:
    enum class Type : uint8_t { Null, Bool, Number, String, Array, Object, IntArray };

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    bool isNumber() const { return type_ == Type::Number; }
    bool isString() const { return type_ == Type::String; }
    bool isObject() const { return type_ == Type::Object; }
    // Arrays whose items are all integers are stored flat; both count as arrays.
    bool isArray() const { return type_ == Type::Array || type_ == Type::IntArray; }

    double toDouble(double fallback = 0) const;
    QString toString() const; // strings only; anything else gives ""
    bool toBool(bool fallback = false) const;

    // Array access; a flat integer array hands out its items as numbers.
    size_t size() const;
    double numberAt(size_t i, double fallback = 0) const;
    const JsonValue& at(size_t i) const; // Null for a flat array or out of range
    const std::vector<int32_t>& ints() const { return ints_; }

    // Object member by key; a Null value when missing.
    const JsonValue& operator[](std::string_view key) const;
    const std::vector<std::pair<std::string, JsonValue>>& members() const { return members_; }

    static const JsonValue& null();

private:
    friend class JsonParser;
    Type type_ = Type::Null;
    bool bool_ = false;
    double number_ = 0;
    std::string string_; // UTF-8
    std::vector<int32_t> ints_;
    std::vector<JsonValue> items_;
    std::vector<std::pair<std::string, JsonValue>> members_;
};

// The "arcs" member of a TopoJSON topology read straight into flat storage: arc k has the
// positions starts[k] .. starts[k + 1] - 1, each two numbers in xy (further numbers of a
// position are dropped). A large map holds a hundred thousand positions; one small array
// object each would cost more than all the rest of the file.
struct JsonArcs {
    bool present = false;
    std::vector<double> xy;
    std::vector<size_t> starts{0};
    size_t count() const { return starts.size() - 1; }
};

// Parses a whole document; throws JsonError with the byte offset of the fault. With `arcs`,
// a top-level member "arcs" is read into it (and is Null in the document).
JsonValue ParseJson(std::string_view text, JsonArcs* arcs = nullptr);

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
