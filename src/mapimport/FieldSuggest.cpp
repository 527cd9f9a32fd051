#include "mapimport/FieldSuggest.h"

#include <QRegularExpression>
#include <algorithm>

namespace tolvane::mapimport {

namespace {

bool CalledLike(const QString& field, const char* pattern) {
    const QRegularExpression re(QString::fromLatin1(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    return re.match(field).hasMatch();
}

constexpr const char* kNameLike = "name|nom|naam|navn|namn|nome|label|title|bezeichnung";
constexpr const char* kCodeLike = "code|^id$|_id$|iso|abbr|key|geoid|fips|short|nuts|insee|^kod";
constexpr const char* kRegionLike = "country|region|state|province|county|admin|adm|land|district";

double Ratio(int64_t part, int64_t whole) {
    return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0;
}

// The best scoring field among those `fits` accepts, or "".
template <typename Fits, typename Score>
QString Best(const std::vector<FieldSummary>& fields, Fits fits, Score score) {
    const FieldSummary* best = nullptr;
    double bestScore = 0;
    for (const FieldSummary& f : fields) {
        if (!fits(f)) continue;
        const double s = score(f);
        if (!best || s > bestScore) {
            best = &f;
            bestScore = s;
        }
    }
    return best ? best->name : QString();
}

} // namespace

FieldSuggestion SuggestFields(const std::vector<FieldSummary>& fields, int64_t features,
                              GeometryKind kind) {
    FieldSuggestion out;
    const auto nameScore = [&](const FieldSummary& f) {
        double s = 3 * Ratio(f.distinct, f.filled) + Ratio(f.filled, features) +
                   1.5 * Ratio(f.lettered, f.filled) + std::min(f.meanLength, 20.0) / 20;
        if (CalledLike(f.name, kNameLike)) s += 2;
        if (f.meanLength > 60) s -= 1; // descriptions, not names
        return s;
    };
    out.nameField = Best(
        fields, [&](const FieldSummary& f) { return f.text && Ratio(f.filled, features) >= 0.5; },
        nameScore);
    if (out.nameField.isEmpty()) // numbers name the features when nothing else can
        out.nameField = Best(
            fields, [&](const FieldSummary& f) { return Ratio(f.filled, features) >= 0.5; },
            nameScore);
    if (out.nameField.isEmpty()) return out;

    const auto other = [&](const FieldSummary& f) { return f.name != out.nameField; };
    if (kind == GeometryKind::Points) {
        out.shortField = Best(
            fields,
            [&](const FieldSummary& f) {
                return other(f) && f.text && CalledLike(f.name, kRegionLike) &&
                       Ratio(f.filled, features) >= 0.5 && f.distinct < f.filled;
            },
            [&](const FieldSummary& f) { return Ratio(f.filled, features) - f.meanLength / 100; });
        return out;
    }
    out.shortField = Best(
        fields,
        [&](const FieldSummary& f) {
            return other(f) && f.distinct == f.filled && Ratio(f.filled, features) >= 0.9 &&
                   f.meanLength <= 12;
        },
        [&](const FieldSummary& f) {
            double s = Ratio(f.filled, features) - f.meanLength / 12;
            if (CalledLike(f.name, kCodeLike)) s += 2;
            if (f.text) s += 0.5;
            return s;
        });
    return out;
}

} // namespace tolvane::mapimport
