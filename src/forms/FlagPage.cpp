#include "forms/FlagPage.h"

#include "charts/FlagChart.h"
#include "forms/MainWindow.h"
#include "forms/PageParts.h"
#include "forms/PlayerMessageFilter.h"
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

FlagPage::FlagPage(MainWindow& main, QWidget* tab)
    : ChartPage(main, tab)
    , grid_(MakeFlagGrid(kFlagStartColumns)) {
    build(tab);
    buildPanel();
}

void FlagPage::build(QWidget* tab) {
    typeList_ = MakeMapList({QStringLiteral("Flag1"), QStringLiteral("Flag2")}, 0, tab);
    titleEdit_ = new QLineEdit(tab);
    QStringList counts;
    for (int n = kFlagMinColumns; n <= kFlagMaxColumns; ++n)
        counts << QString::number(n);
    columnCountList_ = MakeMapList(counts, kFlagStartColumns - kFlagMinColumns, tab);

    gridView_ = new DataGridView(grid_, 1, tab);
    gridView_->setObjectName(QStringLiteral("grdFlag"));
    gridView_->setKeyFilter(
        [](QChar typed, const QString&, int, int row) { return FlagGridAllows(typed, row); });
    gridView_->verticalHeader()->setFixedWidth(40);
    gridView_->horizontalHeader()->setDefaultSectionSize(56);
    gridView_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // Fifteen columns fit the page's width: the grid shows its two rows and nothing more.
    gridView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    gridView_->setFixedHeight(gridView_->horizontalHeader()->sizeHint().height() +
                              2 * gridView_->verticalHeader()->defaultSectionSize() +
                              2 * gridView_->frameWidth());
    fitGridWidth();

    countryCodeLink_ = new LinkLabel(QStringLiteral("Row 1: Country Code"), tab);
    countryCodeLink_->setObjectName(QStringLiteral("labCountryCode"));
    countryCodeLink_->setToolTip(QStringLiteral("Click to see country code"));
    sizeBar_ = new ChartSizeBar(false, tab);
    sizeBar_->sizeLabel()->setObjectName(QStringLiteral("labFlagSize"));

    auto* fields = new QHBoxLayout;
    fields->setSpacing(6);
    fields->addWidget(MakeLabel(QStringLiteral("Type:"), typeList_, tab));
    fields->addWidget(typeList_);
    fields->addSpacing(18);
    fields->addWidget(MakeLabel(QStringLiteral("Title:"), titleEdit_, tab));
    fields->addWidget(titleEdit_, 1);
    fields->addSpacing(18);
    fields->addWidget(MakeLabel(QStringLiteral("Column Count:"), columnCountList_, tab));
    fields->addWidget(columnCountList_);

    auto* rows = new QHBoxLayout;
    rows->addWidget(countryCodeLink_);
    rows->addSpacing(24);
    rows->addWidget(new QLabel(QStringLiteral("Row 2: Data"), tab));
    rows->addStretch();

    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->setSpacing(6);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addWidget(MakeLabel(QStringLiteral("Data Options:"), gridView_, tab));
    layout->addWidget(gridView_, 0, Qt::AlignLeft);
    layout->addLayout(rows);
    layout->addStretch();
    layout->addWidget(sizeBar_);

    connect(typeList_, &QComboBox::currentIndexChanged, this, &FlagPage::makeAndPreview);
    connect(columnCountList_, &QComboBox::currentIndexChanged, this, &FlagPage::columnCountChanged);
    connect(countryCodeLink_, &LinkLabel::clicked, this, &FlagPage::showCountryCodes);
}

void FlagPage::buildPanel() {
    buttonPanel_ = new QWidget(main_.clientArea());
    buttonPanel_->setObjectName(QStringLiteral("pnFlag"));
    buttonPanel_->setAutoFillBackground(true);
    buttonPanel_->hide();
    makeButton_ = new QPushButton(QStringLiteral("Make && Preview"), buttonPanel_);
    makeButton_->setObjectName(QStringLiteral("cmdMake2"));
    saveChartButton_ = new QPushButton(QStringLiteral("Save Chart"), buttonPanel_);
    saveChartButton_->setObjectName(QStringLiteral("cmdSavePicture2"));
    connect(makeButton_, &QPushButton::clicked, this, &FlagPage::makeAndPreview);
    connect(saveChartButton_, &QPushButton::clicked, this, &FlagPage::saveChart);
}

void FlagPage::fillStartCodes() {
    const GridUpdate update(grid_);
    for (int col = 1; col <= startCodes().size(); ++col)
        grid_.setText(col, 1, startCodes()[col - 1]);
}

int FlagPage::columnCount() const {
    return columnCountList_->currentText().toInt();
}

QSize FlagPage::chartSize() const {
    return sizeBar_->chartSize();
}

void FlagPage::activate() {
    // The panel lies exactly over the main window's buttons, which it stands in for.
    const QRect make = main_.makeButton()->geometry();
    const QRect save = main_.saveChartButton()->geometry();
    buttonPanel_->setGeometry(make.united(save));
    makeButton_->setGeometry(make.translated(-buttonPanel_->pos()));
    saveChartButton_->setGeometry(save.translated(-buttonPanel_->pos()));
    buttonPanel_->show();
    buttonPanel_->raise();
    writeChart();
}

void FlagPage::deactivate() {
    buttonPanel_->hide();
}

bool FlagPage::writeChart() {
    const bool written = main_.runOperation([this] {
        WriteFlagChart(main_.model(), typeList_->currentText(), titleEdit_->text(),
                       FlagColumnsOf(grid_, columnCount()));
    });
    main_.playerFilter().install();
    main_.letEventsRun();
    return written;
}

bool FlagPage::make() {
    return writeChart();
}

void FlagPage::makeAndPreview() {
    main_.makeAndPreview(*this);
}

void FlagPage::columnCountChanged() {
    SetFlagColumnCount(grid_, columnCountList_->currentIndex() + kFlagMinColumns);
    fitGridWidth();
}

void FlagPage::fitGridWidth() {
    gridView_->setFixedWidth(gridView_->verticalHeader()->width() +
                             gridView_->horizontalHeader()->length() + 2 * gridView_->frameWidth());
}

void FlagPage::saveChart() {
    main_.saveChart(*this);
}

void FlagPage::showCountryCodes() {
    main_.openHelpPage(QStringLiteral("code.htm"));
}

} // namespace tolvane
