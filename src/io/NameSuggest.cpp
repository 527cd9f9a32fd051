#include "io/NameSuggest.h"

#include <algorithm>
#include <vector>

namespace tolvane {

namespace {

qsizetype EditDistance(const QString& a, const QString& b) {
    std::vector<qsizetype> previous(static_cast<size_t>(b.size()) + 1);
    std::vector<qsizetype> current(previous.size());
    for (size_t j = 0; j < previous.size(); ++j)
        previous[j] = static_cast<qsizetype>(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const auto uj = static_cast<size_t>(j);
            const qsizetype substitute = previous[uj - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[uj] = std::min({previous[uj] + 1, current[uj - 1] + 1, substitute});
        }
        std::swap(previous, current);
    }
    return previous.back();
}

} // namespace

QString ClosestName(const QString& text, const QStringList& candidates) {
    const QString wanted = text.toCaseFolded();
    QString best;
    qsizetype bestDistance = -1;
    for (const QString& candidate : candidates) {
        const qsizetype d = EditDistance(wanted, candidate.toCaseFolded());
        if (bestDistance < 0 || d < bestDistance) {
            best = candidate;
            bestDistance = d;
        }
    }
    const qsizetype length = std::max(wanted.size(), best.size());
    return bestDistance >= 0 && bestDistance * 2 <= length ? best : QString();
}

} // namespace tolvane
