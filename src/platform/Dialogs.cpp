#include "platform/Dialogs.h"

#include "model/Colors.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace tolvane {

namespace {

QColor ToQColor(int32_t platform) {
    return QColor(RedOf(platform), GreenOf(platform), BlueOf(platform));
}
int32_t FromQColor(const QColor& c) {
    return PlatformRgb(c.red(), c.green(), c.blue());
}

QString QtFilter(const QString& filter) {
    return filter + QStringLiteral(";;") + QStringLiteral("All files (*)");
}

// "*.png" -> ".png"; an entry that is not one plain pattern has no extension.
QString ExtensionOf(const QString& entry) {
    static const QRegularExpression plain(QStringLiteral("^\\*(\\.[A-Za-z0-9]+)$"));
    const auto match = plain.match(entry.trimmed());
    return match.hasMatch() ? match.captured(1) : QString();
}

// Whether the desktop names a program for a local file's type. Starting the desktop's
// opener succeeds even when it then finds no program, so ask it first; when it cannot be
// asked, assume it can.
bool DesktopHasProgramFor(const QString& path) {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty()) return true;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QMimeDatabase().mimeTypeForFile(path).name()});
    if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit) return true;
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

QString WithChosenExtension(const QString& name, const QString& filter, const QString& chosen) {
    const QString extension = ExtensionOf(chosen);
    if (extension.isEmpty()) return name;
    for (const QString& entry : filter.split(QStringLiteral(";;"))) {
        const QString offered = ExtensionOf(entry);
        if (!offered.isEmpty() && name.endsWith(offered, Qt::CaseInsensitive)) return name;
    }
    return name + extension;
}

std::optional<int32_t> QtDialogs::chooseColor(QWidget* parent, std::optional<int32_t> preset) {
    const QColor chosen = QColorDialog::getColor(ToQColor(preset.value_or(lastColor_)), parent);
    if (!chosen.isValid()) return std::nullopt;
    lastColor_ = FromQColor(chosen);
    return lastColor_;
}

QString QtDialogs::startFolder() const {
    if (!lastFolder_.isEmpty()) return lastFolder_;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

std::optional<QString> QtDialogs::openFile(QWidget* parent, const QString& title,
                                           const QString& filter) {
    const QString path =
        QFileDialog::getOpenFileName(parent, title, startFolder(), QtFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

std::optional<QString> QtDialogs::saveFile(QWidget* parent, const QString& title,
                                           const QString& filter) {
    // The replace question is the program's own, so the dialog must not ask first.
    QString chosen;
    QString path = QFileDialog::getSaveFileName(parent, title, startFolder(), QtFilter(filter),
                                                &chosen, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return std::nullopt;
    path = WithChosenExtension(path, filter, chosen);
    lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

bool QtDialogs::askOkCancel(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok) == QMessageBox::Ok;
}

void QtDialogs::showError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QStringLiteral("Tolvane"), text);
}

void QtDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QStringLiteral("Tolvane"), text);
}

bool QtDialogs::openUrl(const QUrl& url) {
    if (url.isLocalFile() && !DesktopHasProgramFor(url.toLocalFile())) return false;
    return QDesktopServices::openUrl(url);
}

ScriptedDialogs::Answer ScriptedDialogs::next() {
    if (answers_.empty()) {
        ++unexpected;
        return {};
    }
    Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

std::optional<int32_t> ScriptedDialogs::chooseColor(QWidget*, std::optional<int32_t> preset) {
    ++colorDialogs;
    lastColorPreset = preset;
    return next().color;
}

std::optional<QString> ScriptedDialogs::openFile(QWidget*, const QString& title,
                                                 const QString& filter) {
    titles << title;
    filters << filter;
    const Answer a = next();
    if (a.path.isEmpty()) return std::nullopt;
    return a.path;
}

std::optional<QString> ScriptedDialogs::saveFile(QWidget*, const QString& title,
                                                 const QString& filter) {
    titles << title;
    filters << filter;
    const Answer a = next();
    if (a.path.isEmpty()) return std::nullopt;
    return a.path;
}

bool ScriptedDialogs::askOkCancel(QWidget*, const QString& caption, const QString& text) {
    titles << caption + QStringLiteral(": ") + text;
    return next().ok;
}

void ScriptedDialogs::showError(QWidget*, const QString& text) {
    errors << text;
}

void ScriptedDialogs::showMessage(QWidget*, const QString& text) {
    messages << text;
}

bool ScriptedDialogs::openUrl(const QUrl& url) {
    openedUrls << url;
    return openUrlSucceeds;
}

} // namespace tolvane
