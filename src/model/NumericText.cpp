#include "model/NumericText.h"

namespace tolvane {

bool IsNumericText(QStringView text) {
    if (text.isEmpty()) return false;
    int marks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'.' || c == u',') {
            if (++marks > 1) return false;
        } else if (c == u'-') {
            if (i != 0) return false;
        } else if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

} // namespace tolvane
