#pragma once

#include <QObject>
#include <QString>

namespace tolvane {

class MainWindow;

// "Save Options", "Open Options" and the options each run leaves for the next: the state of
// every page's controls in an options file (OptionsForm.h writes and reads the controls).
class OptionsCommands : public QObject {
    Q_OBJECT
public:
    explicit OptionsCommands(MainWindow& main);

    // "Save Options": asks for a file (".set" added when no extension is typed) and before
    // replacing one.
    void save();
    // "Open Options": reads a file; the page shown loads its chart again when the file
    // named another map, or changed its list alone.
    void open();

    // Writing replaces the file whole or not at all. Reading sets the controls the file
    // names; it returns whether the file's active map is the one its page shows now, and
    // throws UserError when the file cannot be read or stops at a bad line (the lines
    // before it stay applied).
    void writeFile(const QString& path);
    bool readFile(const QString& path);

    // Where each run leaves its options for the next: data/LastOption.set.
    QString lastRunPath() const;
    // Start-up: a first run has no last options; any other failure is reported once.
    void restoreLastRun();
    // Shutdown: the options are kept for the next run; a failure is reported.
    void keepForNextRun();

private:
    MainWindow& main_;
};

} // namespace tolvane
