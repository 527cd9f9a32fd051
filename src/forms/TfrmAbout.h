#pragma once

#include <QDialog>

class QLabel;

namespace tolvane {

class Dialogs;

// The about box: product, version, maker, and links to the maker's web page and mail.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    TfrmAbout(Dialogs& dialogs, QWidget* parent = nullptr);

    void labWebLinkClick();
    void Label8Click();

private:
    Dialogs& dialogs_;
    QLabel* labWebLink_;
    QLabel* Label8_;
};

} // namespace tolvane
