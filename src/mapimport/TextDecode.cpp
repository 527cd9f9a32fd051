#include "mapimport/TextDecode.h"

#include <QStringDecoder>
#include <cstring>

namespace tolvane::mapimport {

QString DecodeText(const char* bytes) {
    if (!bytes || !*bytes) return {};
    const QByteArrayView view(bytes, static_cast<qsizetype>(std::strlen(bytes)));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) return text;
    QStringDecoder windows("windows-1252");
    if (windows.isValid()) return windows.decode(view);
    return QString::fromLatin1(view);
}

} // namespace tolvane::mapimport
