#include "io/SheetXml.h"

#include "model/UserError.h"

namespace tolvane {

void ParseSheetXml(pugi::xml_document& doc, QByteArray& bytes, const char* entry) {
    // Whitespace-only text is kept where it is an element's whole content (a cell of
    // spaces), dropped between elements of pretty-printed files.
    const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
    const pugi::xml_parse_result result = doc.load_buffer_inplace(
        bytes.data(), static_cast<size_t>(bytes.size()), options, pugi::encoding_auto);
    if (!result)
        throw UserError(QStringLiteral("the file is damaged (%1 is not well-formed XML: %2 at "
                                       "byte %3)")
                            .arg(Utf8(entry), Utf8(result.description()))
                            .arg(result.offset));
}

pugi::xml_node Child(pugi::xml_node node, const char* local) {
    for (pugi::xml_node child : node.children())
        if (Is(child, local)) return child;
    return {};
}

pugi::xml_attribute Attr(pugi::xml_node node, const char* local) {
    for (pugi::xml_attribute a : node.attributes())
        if (std::strcmp(LocalName(a.name()), local) == 0) return a;
    return {};
}

} // namespace tolvane
