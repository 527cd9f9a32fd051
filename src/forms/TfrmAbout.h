#pragma once

#include <QDialog>

class QLabel;

namespace tolvane {

class Dialogs;

// The about box: product, version, maker, the links to the maker's web page and mail (those
// the build was given), the licence and the map data sources.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    TfrmAbout(Dialogs& dialogs, QWidget* parent = nullptr);

    void labWebLinkClick();
    void Label8Click();

private:
    Dialogs& dialogs_;
    QLabel* labWebLink_ = nullptr;
    QLabel* Label8_ = nullptr;
};

// The map data sources, then the licence, as the about box shows them.
QString CreditsText();

} // namespace tolvane
