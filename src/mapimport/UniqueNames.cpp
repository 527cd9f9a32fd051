#include "mapimport/UniqueNames.h"

#include "model/ChartModel.h"

#include <QHash>
#include <QSet>

namespace tolvane::mapimport {

namespace {

// Control characters would make the chart data file unreadable.
QString Printable(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        out.append(c.category() == QChar::Other_Control ? QChar(u' ') : c);
    return out.simplified();
}

// Hands out texts not taken yet: the text itself, else text + suffix(n) for n = 2, 3...
class UniqueTexts {
public:
    explicit UniqueTexts(QString (*suffix)(int))
        : suffix_(suffix) {}
    void reserve(const QString& text) { taken_.insert(text); }
    QString take(const QString& text) {
        if (!taken_.contains(text)) {
            taken_.insert(text);
            return text;
        }
        int& n = next_[text];
        QString candidate;
        do
            candidate = text + suffix_(n = std::max(n + 1, 2));
        while (taken_.contains(candidate));
        taken_.insert(candidate);
        return candidate;
    }

private:
    QString (*suffix_)(int);
    QSet<QString> taken_;
    QHash<QString, int> next_;
};

QString Bracketed(int n) {
    return QStringLiteral(" (%1)").arg(n);
}
QString Dashed(int n) {
    return QStringLiteral("-%1").arg(n);
}

} // namespace

void MakeRegionNamesUnique(std::vector<QString>& names, std::vector<QString>& shortNames,
                           QStringList& changes) {
    bool anyShort = false;
    for (QString& s : shortNames) {
        s = Printable(s);
        if (s == kNoDataMark) s.clear();
        anyShort |= !s.isEmpty();
    }
    UniqueTexts uniqueNames(Bracketed), uniqueKeys(Dashed);
    uniqueNames.reserve(kNillName);
    uniqueKeys.reserve(kNoDataMark);
    for (size_t i = 0; i < names.size(); ++i) {
        const QString cleaned = Printable(names[i]);
        QString name = cleaned;
        if (name.isEmpty())
            name = shortNames[i].isEmpty() ? QStringLiteral("Unnamed") : shortNames[i];
        name = uniqueNames.take(name);
        if (cleaned.isEmpty())
            changes << QStringLiteral("a region without a name is called “%1”").arg(name);
        else if (name != cleaned)
            changes << QStringLiteral("“%1” is also “%2”").arg(cleaned, name);
        names[i] = name;
    }
    for (size_t i = 0; i < names.size(); ++i) {
        const QString wanted = anyShort && !shortNames[i].isEmpty() ? shortNames[i] : names[i];
        const QString key = uniqueKeys.take(wanted);
        if (anyShort && key != shortNames[i])
            changes
                << (shortNames[i].isEmpty()
                        ? QStringLiteral("“%1” has no short name; it is “%2”").arg(names[i], key)
                        : QStringLiteral("short name “%1” of “%2” is also “%3”")
                              .arg(shortNames[i], names[i], key));
        shortNames[i] = key;
    }
}

void MakeCityNamesUnique(std::vector<QString>& names, std::vector<QString>& regions,
                         QStringList& changes) {
    QHash<QString, UniqueTexts> byRegion;
    for (size_t i = 0; i < names.size(); ++i) {
        QString& region = regions[i];
        region = Printable(region);
        if (region == kNoDataMark) region.clear();
        const QString cleaned = Printable(names[i]);
        auto it = byRegion.find(region);
        if (it == byRegion.end()) {
            it = byRegion.insert(region, UniqueTexts(Bracketed));
            it->reserve(kNillName);
        }
        const QString name = it->take(cleaned.isEmpty() ? QStringLiteral("Unnamed") : cleaned);
        if (cleaned.isEmpty())
            changes << QStringLiteral("a city without a name is called “%1”").arg(name);
        else if (name != cleaned)
            changes << (region.isEmpty()
                            ? QStringLiteral("“%1” is also “%2”").arg(cleaned, name)
                            : QStringLiteral("“%1” in %2 is also “%3”").arg(cleaned, region, name));
        names[i] = name;
    }
}

} // namespace tolvane::mapimport
