#pragma once

#include <QDialog>

class QLabel;

namespace tolvane {

class Dialogs;

// The about box: product, version, maker, the links to the maker's web page and mail (those
// the build was given), the licence and the map data sources.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(Dialogs& dialogs, QWidget* parent = nullptr);

    void openWebPage();
    void writeMail();

private:
    Dialogs& dialogs_;
    QLabel* webLink_ = nullptr;
    QLabel* mailLink_ = nullptr;
};

// The map data sources, then the licence, as the about box shows them.
QString CreditsText();

} // namespace tolvane
