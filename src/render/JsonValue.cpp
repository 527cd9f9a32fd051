// The values of a parsed document: handles into its node array (see Json.h).
#include "render/Json.h"

namespace tolvane {

JsonValue::Type JsonValue::type() const {
    return doc_ ? doc_->nodes_[node_].type : Type::Null;
}

double JsonValue::toDouble(double fallback) const {
    return type() == Type::Number ? doc_->nodes_[node_].number : fallback;
}

std::string_view JsonValue::stringView() const {
    if (type() != Type::String) return {};
    const auto& n = doc_->nodes_[node_];
    return std::string_view(doc_->text_).substr(n.first, n.count);
}

QString JsonValue::toString() const {
    const std::string_view s = stringView();
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

bool JsonValue::toBool(bool fallback) const {
    return type() == Type::Bool ? doc_->nodes_[node_].count != 0 : fallback;
}

size_t JsonValue::size() const {
    const Type t = type();
    return t == Type::IntArray || t == Type::Array ? doc_->nodes_[node_].count : 0;
}

double JsonValue::numberAt(size_t i, double fallback) const {
    const Type t = type();
    if (t == Type::IntArray) {
        const std::span<const int32_t> items = ints();
        return i < items.size() ? items[i] : fallback;
    }
    return t == Type::Array ? at(i).toDouble(fallback) : fallback;
}

JsonValue JsonValue::at(size_t i) const {
    if (type() != Type::Array) return {};
    const auto& n = doc_->nodes_[node_];
    return i < n.count ? JsonValue(doc_, static_cast<uint32_t>(n.first + i)) : JsonValue();
}

std::span<const int32_t> JsonValue::ints() const {
    if (type() != Type::IntArray) return {};
    const auto& n = doc_->nodes_[node_];
    return std::span<const int32_t>(doc_->ints_).subspan(n.first, n.count);
}

JsonValue JsonValue::operator[](std::string_view key) const {
    if (type() != Type::Object) return {};
    const auto& n = doc_->nodes_[node_];
    for (uint64_t k = n.first, end = n.first + 2 * uint64_t(n.count); k < end; k += 2)
        if (JsonValue(doc_, static_cast<uint32_t>(k)).stringView() == key)
            return JsonValue(doc_, static_cast<uint32_t>(k + 1));
    return {};
}

JsonValue JsonDocument::root() const {
    return nodes_.empty() ? JsonValue() : JsonValue(this, static_cast<uint32_t>(nodes_.size() - 1));
}

} // namespace tolvane
