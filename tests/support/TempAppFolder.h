#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace tolvane::test {

// A throw-away application folder with an empty data/ (and help/) for one test.
class TempAppFolder {
public:
    TempAppFolder();
    // Ends with '/', like every application folder.
    QString path() const;
    QString dataPath(const QString& name) const { return path() + QStringLiteral("data/") + name; }
    void write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    // Copies shipped files from the repository's data/ folder.
    void copyShipped(const QString& name) const;
    // Copies the shipped chart data files and movies of maps, and the blank movie.
    void copyShippedMaps(const QStringList& stems) const;

private:
    QTemporaryDir dir_;
};

} // namespace tolvane::test
