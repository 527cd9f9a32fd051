#pragma once

#include <QByteArray>
#include <QString>
#include <cstring>
#include <pugixml.hpp>

namespace tolvane {

// Helpers for the XML inside .xlsx and .ods workbooks. Writers differ in the namespace
// prefixes they use ("x:row" or "row"), so elements and attributes are matched by their
// local name.

// Parses `bytes` in place (the document keeps pointing into them). Entities other than
// XML's own are never expanded and a DTD is skipped. Throws UserError naming `entry`.
void ParseSheetXml(pugi::xml_document& doc, QByteArray& bytes, const char* entry);

inline const char* LocalName(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}
inline bool Is(pugi::xml_node node, const char* local) {
    return node.type() == pugi::node_element && std::strcmp(LocalName(node.name()), local) == 0;
}
pugi::xml_node Child(pugi::xml_node node, const char* local);
pugi::xml_attribute Attr(pugi::xml_node node, const char* local);

inline QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

} // namespace tolvane
