#include "io/TextDecode.h"

#include <QStringDecoder>

namespace tolvane {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 .. 0x9F; its five unused codes map to
// the C1 control of the same number, as Windows itself does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeCp1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

} // namespace

QString DecodeText(const QByteArray& bytes) {
    // Stateless: a sequence cut off at the end counts as an error, not as pending input.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes); // drops a leading byte order mark
    return utf8.hasError() ? DecodeCp1252(bytes) : text;
}

} // namespace tolvane
