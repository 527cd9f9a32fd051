#include "forms/AboutDialog.h"

#include "forms/AppInfo.h"
#include "platform/Dialogs.h"

#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QLabel* CentredLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* LinkLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = CentredLabel(
        QStringLiteral("<a href=\"#\" style=\"color:#0645ad\">%1</a>").arg(text.toHtmlEscaped()),
        parent);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

QString ResourceText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

QString CreditsText() {
    return ResourceText(QStringLiteral(":/about/ATTRIBUTION.txt")) + QStringLiteral("\n\n") +
           ResourceText(QStringLiteral(":/about/LICENSE"));
}

AboutDialog::AboutDialog(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowTitleHint)
    , dialogs_(dialogs) {
    setWindowTitle(QStringLiteral("About"));
    setObjectName(QStringLiteral("frmAbout"));
    // A quiet map-coloured background stands in for a picture.
    setStyleSheet(QStringLiteral("#frmAbout { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                                 "stop:0 #f0ffe0, stop:1 #c8e3b8); }"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 20, 28, 20);
    layout->setSpacing(6);
    auto* icon = CentredLabel({}, this);
    icon->setPixmap(QPixmap(QStringLiteral(":/about/tolvane.png"))
                        .scaled(64, 64, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    auto* product = CentredLabel(AppInfo::productName(), this);
    QFont big = product->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 2.2);
    product->setFont(big);
    layout->addWidget(icon);
    layout->addWidget(product);
    layout->addWidget(CentredLabel(QStringLiteral("Version ") + AppInfo::version(), this));
    layout->addSpacing(8);
    layout->addWidget(CentredLabel(AppInfo::maker(), this));
    if (!AppInfo::webAddress().isEmpty()) {
        webLink_ = LinkLabel(QStringLiteral("labWebLink"), AppInfo::webAddress(), this);
        connect(webLink_, &QLabel::linkActivated, this, [this] { openWebPage(); });
        layout->addWidget(webLink_);
    }
    if (!AppInfo::mailAddress().isEmpty()) {
        mailLink_ = LinkLabel(QStringLiteral("Label8"), AppInfo::mailAddress(), this);
        connect(mailLink_, &QLabel::linkActivated, this, [this] { writeMail(); });
        layout->addWidget(mailLink_);
    }
    layout->addWidget(
        CentredLabel(QStringLiteral("Released under the ") + AppInfo::licence() +
                         QStringLiteral(". Map data sources and their licences below."),
                     this));
    layout->addSpacing(6);

    auto* credits = new QPlainTextEdit(CreditsText(), this);
    credits->setObjectName(QStringLiteral("txtCredits"));
    credits->setReadOnly(true);
    credits->setLineWrapMode(QPlainTextEdit::NoWrap);
    credits->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The texts are laid out in lines of up to 80 characters.
    credits->setMinimumSize(QFontMetrics(credits->font()).horizontalAdvance(QString(88, u'M')),
                            220);
    layout->addWidget(credits, 1);
    setFixedSize(sizeHint());
}

void AboutDialog::openWebPage() {
    dialogs_.openUrl(QUrl(AppInfo::webAddress()));
}

void AboutDialog::writeMail() {
    QUrl mail(QStringLiteral("mailto:") + AppInfo::mailAddress());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), AppInfo::mailSubject());
    mail.setQuery(query);
    dialogs_.openUrl(mail);
}

} // namespace tolvane
