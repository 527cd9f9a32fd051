#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <pugixml.hpp>

namespace tolvane {

// The few XML operations the chart files need, over pugixml. Documents are written whole,
// in UTF-8 with the declaration, two-space indented.

class XmlOutElement {
public:
    explicit XmlOutElement(pugi::xml_node node)
        : node_(node) {}
    // Appended after the existing children.
    XmlOutElement addChild(const char* name);
    // A child holding a text: the common case of every chart file.
    XmlOutElement addText(const char* name, const QString& text);
    void setText(const QString& text);
    void setId(int32_t id);

private:
    pugi::xml_node node_;
};

class XmlWriter {
public:
    XmlWriter();
    XmlOutElement createRoot(const char* name);
    QByteArray toBytes() const;
    // Replaces the file atomically; throws UserError.
    void save(const QString& path) const;

private:
    pugi::xml_document doc_;
};

class XmlInElement {
public:
    XmlInElement() = default;
    explicit XmlInElement(pugi::xml_node node)
        : node_(node) {}
    bool isNull() const { return !node_; }
    // Element name, compared case-sensitively by the readers.
    const char* name() const { return node_.name(); }
    bool is(const char* name) const;
    QString text() const;
    // The "id" attribute as an integer; missing or non-numeric throws ConvertError.
    int32_t id() const;

    // Child elements in document order (text, comments and the like are skipped).
    class Iterator {
    public:
        explicit Iterator(pugi::xml_node node)
            : node_(node) {}
        XmlInElement operator*() const { return XmlInElement(node_); }
        Iterator& operator++();
        bool operator!=(const Iterator& other) const { return node_ != other.node_; }

    private:
        pugi::xml_node node_;
    };
    Iterator begin() const;
    Iterator end() const { return Iterator(pugi::xml_node()); }

private:
    pugi::xml_node node_;
};

class XmlReader {
public:
    // Loads and parses the file; a missing or malformed file throws UserError.
    static XmlReader load(const QString& path);
    static XmlReader fromBytes(const QByteArray& bytes, const QString& nameForMessages);
    XmlInElement root() const;

private:
    XmlReader();
    std::shared_ptr<pugi::xml_document> doc_;
};

} // namespace tolvane
