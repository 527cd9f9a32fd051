#include "forms/FlagPage.h"

#include "charts/FlagChart.h"
#include "forms/PageParts.h"
#include "forms/PlayerMessageFilter.h"
#include "forms/TFrmMain.h"
#include "widgets/ChartSizeBar.h"
#include "widgets/DataGridView.h"
#include "widgets/LinkLabel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int kValueRow = 2;

// Row 2 holds numbers: backspace, digits, "." and "-" only. Codes in row 1 take anything.
bool FlagGridAllows(QChar typed, int row) {
    return row != kValueRow || typed == QChar(8) || (typed >= u'0' && typed <= u'9') ||
           typed == u'.' || typed == u'-';
}

QLabel* MakeLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

const QStringList& FlagPage::startCodes() {
    static const QStringList codes{"BR", "DE", "US", "CN", "FR", "IN"};
    return codes;
}

FlagPage::FlagPage(TFrmMain& main, QWidget* tab)
    : ChartPage(main, tab)
    , grid_(MakeFlagGrid(kFlagStartColumns)) {
    build(tab);
    buildPanel();
}

void FlagPage::build(QWidget* tab) {
    cmbFlag_ = MakeMapList(QStringLiteral("cmbFlag"),
                           {QStringLiteral("Flag1"), QStringLiteral("Flag2")}, 0, tab);
    txtFlagTitle_ = new QLineEdit(tab);
    txtFlagTitle_->setObjectName(QStringLiteral("txtFlagTitle"));
    QStringList counts;
    for (int n = kFlagMinColumns; n <= kFlagMaxColumns; ++n)
        counts << QString::number(n);
    cmbFlagColCount_ = MakeMapList(QStringLiteral("cmbFlagColCount"), counts,
                                   kFlagStartColumns - kFlagMinColumns, tab);

    grdFlag_ = new DataGridView(grid_, 1, tab);
    grdFlag_->setObjectName(QStringLiteral("grdFlag"));
    grdFlag_->setKeyFilter(
        [](QChar typed, const QString&, int, int row) { return FlagGridAllows(typed, row); });
    grdFlag_->verticalHeader()->setFixedWidth(40);
    grdFlag_->horizontalHeader()->setDefaultSectionSize(56);
    grdFlag_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Fifteen columns fit the page's width: the grid shows its two rows and nothing more.
    grdFlag_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdFlag_->setFixedHeight(grdFlag_->horizontalHeader()->sizeHint().height() +
                             2 * grdFlag_->verticalHeader()->defaultSectionSize() +
                             2 * grdFlag_->frameWidth());
    fitGridWidth();

    labCountryCode_ = new LinkLabel(QStringLiteral("Row 1: Country Code"), tab);
    labCountryCode_->setObjectName(QStringLiteral("labCountryCode"));
    labCountryCode_->setToolTip(QStringLiteral("Click to see country code"));
    sizeBar_ = new ChartSizeBar(false, tab);
    sizeBar_->slider()->setObjectName(QStringLiteral("trFlagSize"));
    sizeBar_->sizeLabel()->setObjectName(QStringLiteral("labFlagSize"));

    auto* fields = new QHBoxLayout;
    fields->setSpacing(6);
    fields->addWidget(MakeLabel(QStringLiteral("Type:"), cmbFlag_, tab));
    fields->addWidget(cmbFlag_);
    fields->addSpacing(18);
    fields->addWidget(MakeLabel(QStringLiteral("Title:"), txtFlagTitle_, tab));
    fields->addWidget(txtFlagTitle_, 1);
    fields->addSpacing(18);
    fields->addWidget(MakeLabel(QStringLiteral("Column Count:"), cmbFlagColCount_, tab));
    fields->addWidget(cmbFlagColCount_);

    auto* rows = new QHBoxLayout;
    rows->addWidget(labCountryCode_);
    rows->addSpacing(24);
    rows->addWidget(new QLabel(QStringLiteral("Row 2: Data"), tab));
    rows->addStretch();

    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->setSpacing(6);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addWidget(MakeLabel(QStringLiteral("Data Options:"), grdFlag_, tab));
    layout->addWidget(grdFlag_, 0, Qt::AlignLeft);
    layout->addLayout(rows);
    layout->addStretch();
    layout->addWidget(sizeBar_);

    connect(cmbFlag_, &QComboBox::currentIndexChanged, this, &FlagPage::cmbFlagChange);
    connect(cmbFlagColCount_, &QComboBox::currentIndexChanged, this,
            &FlagPage::cmbFlagColCountChange);
    connect(labCountryCode_, &LinkLabel::clicked, this, &FlagPage::labCountryCodeClick);
}

void FlagPage::buildPanel() {
    pnFlag_ = new QWidget(main_.pnForm());
    pnFlag_->setObjectName(QStringLiteral("pnFlag"));
    pnFlag_->setAutoFillBackground(true);
    pnFlag_->hide();
    cmdMake2_ = new QPushButton(QStringLiteral("Make && Preview"), pnFlag_);
    cmdMake2_->setObjectName(QStringLiteral("cmdMake2"));
    cmdSavePicture2_ = new QPushButton(QStringLiteral("Save Chart"), pnFlag_);
    cmdSavePicture2_->setObjectName(QStringLiteral("cmdSavePicture2"));
    connect(cmdMake2_, &QPushButton::clicked, this, &FlagPage::cmdMake2Click);
    connect(cmdSavePicture2_, &QPushButton::clicked, this, &FlagPage::cmdSavePicture2Click);
}

void FlagPage::fillStartCodes() {
    const GridUpdate update(grid_);
    for (int col = 1; col <= startCodes().size(); ++col)
        grid_.setText(col, 1, startCodes()[col - 1]);
}

int FlagPage::columnCount() const {
    return cmbFlagColCount_->currentText().toInt();
}

QSize FlagPage::chartSize() const {
    return sizeBar_->chartSize();
}

void FlagPage::activate() {
    // The panel lies exactly over the main window's buttons, which it stands in for.
    const QRect make = main_.cmdMake()->geometry();
    const QRect save = main_.cmdSavePicture()->geometry();
    pnFlag_->setGeometry(make.united(save));
    cmdMake2_->setGeometry(make.translated(-pnFlag_->pos()));
    cmdSavePicture2_->setGeometry(save.translated(-pnFlag_->pos()));
    pnFlag_->show();
    pnFlag_->raise();
    writeChart();
}

void FlagPage::deactivate() {
    pnFlag_->hide();
}

bool FlagPage::writeChart() {
    const bool written = main_.runOperation([this] {
        WriteFlagChart(main_.model(), cmbFlag_->currentText(), txtFlagTitle_->text(),
                       FlagColumnsOf(grid_, columnCount()));
    });
    main_.playerFilter().install();
    main_.letEventsRun();
    return written;
}

bool FlagPage::make() {
    return writeChart();
}

void FlagPage::MakeFlagChart() {
    main_.MakeAndPreview(*this);
}

void FlagPage::cmbFlagColCountChange() {
    SetFlagColumnCount(grid_, cmbFlagColCount_->currentIndex() + kFlagMinColumns);
    fitGridWidth();
}

void FlagPage::fitGridWidth() {
    grdFlag_->setFixedWidth(grdFlag_->verticalHeader()->width() +
                            grdFlag_->horizontalHeader()->length() + 2 * grdFlag_->frameWidth());
}

void FlagPage::cmdSavePicture2Click() {
    main_.SaveChart(*this);
}

void FlagPage::labCountryCodeClick() {
    main_.openHelpPage(QStringLiteral("code.htm"));
}

} // namespace tolvane
