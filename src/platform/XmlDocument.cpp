#include "platform/XmlDocument.h"

#include "model/NumberFormat.h"
#include "model/UserError.h"
#include "platform/FileOps.h"

#include <QDir>
#include <algorithm>
#include <cstring>
#include <string>

namespace tolvane {

XmlOutElement XmlOutElement::addChild(const char* name) {
    return XmlOutElement(node_.append_child(name));
}

XmlOutElement XmlOutElement::addText(const char* name, const QString& text) {
    XmlOutElement child = addChild(name);
    child.setText(text);
    return child;
}

void XmlOutElement::setText(const QString& text) {
    node_.text().set(text.toUtf8().constData());
}

void XmlOutElement::setId(int32_t id) {
    node_.append_attribute("id").set_value(std::to_string(id).c_str());
}

XmlWriter::XmlWriter() {
    pugi::xml_node decl = doc_.append_child(pugi::node_declaration);
    decl.append_attribute("version").set_value("1.0");
    decl.append_attribute("encoding").set_value("utf-8");
}

XmlOutElement XmlWriter::createRoot(const char* name) {
    return XmlOutElement(doc_.append_child(name));
}

namespace {

struct ByteWriter : pugi::xml_writer {
    QByteArray bytes;
    void write(const void* data, size_t size) override {
        bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
    }
};

} // namespace

QByteArray XmlWriter::toBytes() const {
    ByteWriter writer;
    doc_.save(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    return std::move(writer.bytes);
}

void XmlWriter::save(const QString& path) const {
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
    // between elements is not, as it never stands alone in an element.
    const pugi::xml_parse_result result = reader.doc_->load_buffer(
        bytes.constData(), static_cast<size_t>(bytes.size()),
        pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_auto);
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
