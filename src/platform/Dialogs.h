#pragma once

#include <QString>
#include <QUrl>
#include <cstdint>
#include <deque>
#include <optional>

class QWidget;

namespace tolvane {

// Every common dialog and the shell's "open" go through here, so that tests can answer
// them. Colours are platform colours (red in the low byte).
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // `preset` empty: the dialog opens with the colour it last returned.
    virtual std::optional<int32_t> chooseColor(QWidget* parent, std::optional<int32_t> preset) = 0;
    // `filter` as "*.bmp", or several entries as "*.bmp;;*.png" (the first is chosen at
    // first). Empty result: cancelled.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& title,
                                            const QString& filter) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& title,
                                            const QString& filter) = 0;
    // OK/Cancel question with a question icon; true for OK.
    virtual bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
    virtual void showError(QWidget* parent, const QString& text) = 0;
    // A message the user should read, not an error: an information icon and OK.
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    // Opens a page, mail link or file with the desktop's program for it; false when no
    // program could be started for it.
    virtual bool openUrl(const QUrl& url) = 0;
};

// A name typed into a save dialog that none of its `filter` entries matches gets the
// extension of the entry the user chose ("*.png" adds ".png"; "All files (*)" adds nothing).
QString WithChosenExtension(const QString& name, const QString& filter, const QString& chosen);

// The desktop's dialogs (its native ones where the platform offers them).
class QtDialogs : public Dialogs {
public:
    std::optional<int32_t> chooseColor(QWidget* parent, std::optional<int32_t> preset) override;
    std::optional<QString> openFile(QWidget* parent, const QString& title,
                                    const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& title,
                                    const QString& filter) override;
    bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    void showMessage(QWidget* parent, const QString& text) override;
    bool openUrl(const QUrl& url) override;

private:
    QString startFolder() const;

    int32_t lastColor_ = 0; // black, as a fresh colour dialog shows
    QString lastFolder_;    // file dialogs open where the user last chose a file
};

// Answers queued by a test, in order; records what was asked. An unexpected dialog (no
// answer queued) is answered "cancel" and counted, so a test can tell.
class ScriptedDialogs : public Dialogs {
public:
    // One answer: a colour, a file name, OK (true) or Cancel (the default).
    struct Answer {
        std::optional<int32_t> color;
        QString path; // empty: none
        bool ok = false;
    };
    void queueColor(int32_t color) { answers_.push_back({color, {}, true}); }
    void queuePath(const QString& path) { answers_.push_back({{}, path, true}); }
    void queueOk() { answers_.push_back({{}, {}, true}); }
    void queueCancel() { answers_.push_back({}); }
    bool allAnswered() const { return answers_.empty(); }

    std::optional<int32_t> chooseColor(QWidget* parent, std::optional<int32_t> preset) override;
    std::optional<QString> openFile(QWidget* parent, const QString& title,
                                    const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& title,
                                    const QString& filter) override;
    bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) override;
    void showError(QWidget* parent, const QString& text) override;
    void showMessage(QWidget* parent, const QString& text) override;
    bool openUrl(const QUrl& url) override;

    std::optional<int32_t> lastColorPreset;
    int colorDialogs = 0;
    int unexpected = 0;
    QStringList titles;   // of file dialogs and questions, in order
    QStringList filters;  // of file dialogs, in order
    QStringList errors;   // texts of error messages shown
    QStringList messages; // texts of other messages shown
    QList<QUrl> openedUrls;
    bool openUrlSucceeds = true; // false: as on a desktop with no program for the file

private:
    Answer next();
    std::deque<Answer> answers_;
};

} // namespace tolvane
