#include "platform/XmlDocument.h"

#include "model/NumberFormat.h"
#include "model/UserError.h"
#include "platform/FileOps.h"

#include <QDir>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string>

namespace tolvane {

XmlOutElement XmlOutElement::addChild(const char* name) {
    writer_->open(depth_ + 1, name);
    return XmlOutElement(writer_, depth_ + 1);
}

XmlOutElement XmlOutElement::addText(const char* name, const QString& text) {
    XmlOutElement child = addChild(name);
    child.setText(text);
    return child;
}

namespace {

// Digits of an integer, on the stack: a chart file writes a few per region.
struct IntText {
    explicit IntText(int32_t value)
        : end(std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr) {}
    std::string_view view() const {
        return {digits.data(), static_cast<size_t>(end - digits.data())};
    }
    std::array<char, 12> digits;
    const char* end;
};

} // namespace

XmlOutElement XmlOutElement::addUtf8(const char* name, std::string_view text) {
    XmlOutElement child = addChild(name);
    writer_->text(child.depth_, text);
    return child;
}

XmlOutElement XmlOutElement::addNumber(const char* name, int32_t value) {
    return addUtf8(name, IntText(value).view());
}

void XmlOutElement::setText(const QString& text) {
    writer_->text(depth_, text);
}

void XmlOutElement::setId(int32_t id) {
    writer_->attribute(depth_, "id", IntText(id).view());
}

size_t XmlOutElement::childrenEnd() {
    writer_->closeTo(depth_);
    writer_->endStartTag();
    return writer_->out_.size();
}

void XmlOutElement::addWritten(std::string_view children) {
    if (writer_->finished_ || depth_ >= static_cast<int>(writer_->open_.size())) return;
    childrenEnd();
    if (children.empty()) return;
    writer_->out_.append(children);
    // Children end with a closing tag: what follows them starts on a new line.
    writer_->indentNext_ = true;
}

XmlWriter::XmlWriter() {
    out_ = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
}

XmlOutElement XmlWriter::createRoot(const char* name) {
    open(0, name);
    return XmlOutElement(this, 0);
}

void XmlWriter::newLine(int depth) {
    out_ += '\n';
    out_.append(2 * static_cast<size_t>(std::max(depth, 0)), ' ');
}

void XmlWriter::endStartTag() {
    if (!startTagOpen_) return;
    out_ += '>';
    startTagOpen_ = false;
}

void XmlWriter::closeTo(int depth) {
    while (static_cast<int>(open_.size()) > depth + 1) {
        const int closing = static_cast<int>(open_.size()) - 1;
        if (startTagOpen_) {
            out_ += " />"; // nothing inside
            startTagOpen_ = false;
        } else {
            if (indentNext_) newLine(closing);
            out_ += "</";
            out_ += open_.back();
            out_ += '>';
        }
        open_.pop_back();
        indentNext_ = true;
    }
}

void XmlWriter::open(int depth, const char* name) {
    if (finished_ || depth > static_cast<int>(open_.size())) return;
    closeTo(depth - 1);
    endStartTag();
    if (indentNext_) newLine(depth);
    out_ += '<';
    out_ += name;
    open_.emplace_back(name);
    startTagOpen_ = true;
    indentNext_ = true;
}

void XmlWriter::attribute(int depth, const char* name, std::string_view value) {
    // Only the element just opened takes attributes; its content has not begun.
    if (!startTagOpen_ || depth != static_cast<int>(open_.size()) - 1) return;
    out_ += ' ';
    out_ += name;
    out_ += "=\"";
    out_ += value; // a number
    out_ += '"';
}

void XmlWriter::text(int depth, const QString& text) {
    // Most texts of a chart (numbers, codes, Latin names) are short and ASCII: copied
    // through a buffer on the stack, a file of 200,000 regions costs no allocation a text.
    constexpr qsizetype kShort = 128;
    const QChar* chars = text.constData();
    const qsizetype length = text.size();
    if (length <= kShort &&
        std::all_of(chars, chars + length, [](QChar c) { return c.unicode() < 0x80; })) {
        std::array<char, kShort> ascii;
        std::transform(chars, chars + length, ascii.begin(),
                       [](QChar c) { return static_cast<char>(c.unicode()); });
        this->text(depth, std::string_view(ascii.data(), static_cast<size_t>(length)));
    } else {
        const QByteArray utf8 = text.toUtf8();
        this->text(depth, std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    }
}

void XmlWriter::text(int depth, std::string_view utf8) {
    if (finished_ || depth >= static_cast<int>(open_.size())) return;
    closeTo(depth);
    endStartTag();
    appendEscaped(utf8.data(), static_cast<qsizetype>(utf8.size()));
    indentNext_ = false;
}

void XmlWriter::appendEscaped(const char* run, qsizetype size) {
    // A text ends at its first NUL, as in any C string.
    const char* const end = std::find(run, run + size, '\0');
    out_.reserve(out_.size() + static_cast<size_t>(end - run));
    for (const char* p = run; p != end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        const bool plain =
            c >= 32 ? c != '&' && c != '<' && c != '>' : c == '\t' || c == '\n' || c == '\r';
        if (plain) continue;
        out_.append(run, static_cast<size_t>(p - run));
        run = p + 1;
        if (c == '&') {
            out_ += "&amp;";
        } else if (c == '<') {
            out_ += "&lt;";
        } else if (c == '>') {
            out_ += "&gt;";
        } else {
            // Control characters as character references of two digits.
            const char ref[] = {'&', '#', static_cast<char>('0' + c / 10),
                                static_cast<char>('0' + c % 10), ';'};
            out_.append(ref, sizeof ref);
        }
    }
    out_.append(run, static_cast<size_t>(end - run));
}

QByteArray XmlWriter::toBytes() {
    if (!finished_) {
        closeTo(-1);
        out_ += '\n';
        finished_ = true;
        bytes_ = QByteArray(out_.data(), static_cast<qsizetype>(out_.size()));
        out_ = std::string();
    }
    return bytes_;
}

void XmlWriter::save(const QString& path) {
    WriteFileAtomically(path, toBytes());
}

bool XmlInElement::is(const char* name) const {
    return std::strcmp(node_.name(), name) == 0;
}

QString XmlInElement::text() const {
    return QString::fromUtf8(node_.text().get());
}

int32_t XmlInElement::id() const {
    const pugi::xml_attribute attr = node_.attribute("id");
    if (!attr)
        throw ConvertError(
            QStringLiteral("Could not convert variant of type (Null) into type (Integer)"));
    if (const auto v = TryParseInt(QString::fromUtf8(attr.value()))) return *v;
    throw ConvertError(
        QStringLiteral("Could not convert variant of type (String) into type (Integer)"));
}

XmlInElement::Iterator& XmlInElement::Iterator::operator++() {
    node_ = node_.next_sibling();
    while (node_ && node_.type() != pugi::node_element)
        node_ = node_.next_sibling();
    return *this;
}

XmlInElement::Iterator XmlInElement::begin() const {
    pugi::xml_node first = node_.first_child();
    while (first && first.type() != pugi::node_element)
        first = first.next_sibling();
    return Iterator(first);
}

XmlReader::XmlReader()
    : doc_(std::make_shared<pugi::xml_document>()) {}

XmlReader XmlReader::load(const QString& path) {
    return fromBytes(ReadWholeFile(path), QDir::toNativeSeparators(path));
}

XmlReader XmlReader::fromBytes(const QByteArray& bytes, const QString& nameForMessages) {
    XmlReader reader;
    // No DOCTYPE processing: pugixml never expands external entities. A text made of
    // spaces alone is a text (a legend item may be blank on purpose); the layout whitespace
    // between elements is not, as it never stands alone in an element. An element's text is
    // kept in the element, not in a node of its own: a chart of 200,000 regions then takes
    // half the memory.
    const pugi::xml_parse_result result = reader.doc_->load_buffer(
        bytes.constData(), static_cast<size_t>(bytes.size()),
        pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata,
        pugi::encoding_auto);
    if (!result) {
        const auto offset = static_cast<qsizetype>(std::max<ptrdiff_t>(result.offset, 0));
        const QByteArray before = bytes.left(offset);
        const qsizetype line = before.count('\n') + 1;
        throw UserError(QStringLiteral("%1 is not a readable XML file: %2 (line %3).")
                            .arg(nameForMessages, QString::fromUtf8(result.description()))
                            .arg(line));
    }
    if (!reader.doc_->document_element())
        throw UserError(
            QStringLiteral("%1 is not a readable XML file: no root element.").arg(nameForMessages));
    return reader;
}

XmlInElement XmlReader::root() const {
    return XmlInElement(doc_->document_element());
}

} // namespace tolvane
