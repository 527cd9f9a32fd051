#include "forms/TfrmAbout.h"

#include "forms/AppInfo.h"
#include "platform/Dialogs.h"

#include <QLabel>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QLabel* LinkLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(
        QStringLiteral("<a href=\"#\" style=\"color:#0645ad\">%1</a>").arg(text.toHtmlEscaped()),
        parent);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setCursor(Qt::PointingHandCursor);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

TfrmAbout::TfrmAbout(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowTitleHint)
    , dialogs_(dialogs)
    , labWebLink_(LinkLabel(AppInfo::webAddress(), this))
    , Label8_(LinkLabel(AppInfo::mailAddress(), this)) {
    setWindowTitle(QStringLiteral("About"));
    setObjectName(QStringLiteral("frmAbout"));
    // A quiet map-coloured background stands in for a picture.
    setStyleSheet(QStringLiteral("#frmAbout { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                                 "stop:0 #f0ffe0, stop:1 #c8e3b8); }"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(36, 28, 36, 28);
    layout->setSpacing(8);
    auto* product = new QLabel(AppInfo::productName(), this);
    QFont big = product->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 2.2);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("Version ") + AppInfo::version(), this);
    version->setAlignment(Qt::AlignCenter);
    auto* maker = new QLabel(AppInfo::maker(), this);
    maker->setAlignment(Qt::AlignCenter);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addSpacing(10);
    layout->addWidget(maker);
    layout->addWidget(labWebLink_);
    layout->addWidget(Label8_);

    connect(labWebLink_, &QLabel::linkActivated, this, [this] { labWebLinkClick(); });
    connect(Label8_, &QLabel::linkActivated, this, [this] { Label8Click(); });
    setFixedSize(sizeHint().expandedTo(QSize(340, 230)));
}

void TfrmAbout::labWebLinkClick() {
    dialogs_.openUrl(QUrl(AppInfo::webAddress()));
}

void TfrmAbout::Label8Click() {
    QUrl mail(QStringLiteral("mailto:") + AppInfo::mailAddress());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), AppInfo::mailSubject());
    mail.setQuery(query);
    dialogs_.openUrl(mail);
}

} // namespace tolvane
