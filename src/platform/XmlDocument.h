#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The few XML operations the chart files need. Documents are read with pugixml, and written
// in UTF-8 with the declaration, two-space indented, as pugixml writes them; the writer
// streams, since a chart of a few hundred thousand regions would otherwise first become a
// document tree several times the size of its text.

class XmlWriter;

// An element being written. Elements are written in document order: adding a child to an
// element closes whatever was opened inside it before; its id comes before its content.
class XmlOutElement {
public:
    // Appended after the existing children.
    XmlOutElement addChild(const char* name);
    // A child holding a text: the common case of every chart file.
    XmlOutElement addText(const char* name, const QString& text);
    // The same from UTF-8, and from an integer: numbers written without a QString between.
    XmlOutElement addUtf8(const char* name, std::string_view text);
    XmlOutElement addNumber(const char* name, int32_t value);
    void setText(const QString& text);
    void setId(int32_t id);
    // Where the element's next child would begin, with all written inside it so far closed.
    // The text between two such places in a finished document is a run of whole children:
    // addWritten puts it into an element of the same depth again, byte for byte as writing
    // those children would. A document built again after a few changes copies the rest.
    size_t childrenEnd();
    void addWritten(std::string_view children);

private:
    friend class XmlWriter;
    XmlOutElement(XmlWriter* writer, int depth)
        : writer_(writer)
        , depth_(depth) {}
    XmlWriter* writer_;
    int depth_;
};

class XmlWriter {
public:
    XmlWriter();
    XmlOutElement createRoot(const char* name);
    // Room for a document of about this many bytes, to grow into without copying.
    void reserve(size_t bytes) { out_.reserve(bytes); }
    // The document, every element closed; nothing can be added afterwards.
    QByteArray toBytes();
    // Replaces the file atomically; throws UserError.
    void save(const QString& path);

private:
    friend class XmlOutElement;
    void open(int depth, const char* name);
    void closeTo(int depth); // closes the elements deeper than `depth`
    void attribute(int depth, const char* name, std::string_view value);
    void text(int depth, const QString& text);
    void text(int depth, std::string_view utf8);
    void appendEscaped(const char* run, qsizetype size); // UTF-8, up to its first NUL
    void endStartTag();
    void newLine(int depth);

    std::string out_;               // appending to a QByteArray costs several times more per piece
    std::vector<std::string> open_; // names of the open elements, outermost first
    QByteArray bytes_;              // the document once finished
    bool startTagOpen_ = false;     // "<name" written, its ">" not yet
    bool indentNext_ = true;        // false right after a text: the closing tag follows it
    bool finished_ = false;
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
