#include "forms/LegendPanel.h"

#include "charts/LegendSets.h"
#include "forms/LegendColorDialog.h"
#include "model/UndoStack.h"
#include "widgets/DataGridView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QString SetName(ChartKind kind) {
    switch (kind) {
    case ChartKind::City:
        return QStringLiteral("C");
    case ChartKind::Shade:
        return QStringLiteral("Shade");
    case ChartKind::Region:
    case ChartKind::RegionCity:
        break;
    }
    return QStringLiteral("P");
}

} // namespace

LegendPanel::LegendPanel(LegendState& state, const GridData& dataGrid,
                         LegendColorDialog& colorDialog, LegendTable legendTable, QWidget* parent)
    : QFrame(parent)
    , state_(state)
    , dataGrid_(dataGrid)
    , colorDialog_(colorDialog)
    , legendTable_(std::move(legendTable))
    , runDialog_([](QDialog& dialog) { dialog.exec(); }) {
    const QString set = SetName(state_.kind);
    setObjectName(QStringLiteral("pn%1Legend").arg(set));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true); // it covers the player

    count_ = new QComboBox(this);
    for (int n = 1; n <= LegendMaxItems(state_.kind); ++n)
        count_->addItem(QString::number(n));
    if (state_.countIndex < 0) state_.countIndex = DefaultLegendCountIndex(state_.kind);
    auto* countLabel = new QLabel(QStringLiteral("Item &Count:"), this);
    countLabel->setBuddy(count_);

    hide_ = new QPushButton(QStringLiteral("Hide"), this);
    hide_->setObjectName(QStringLiteral("cmdHide%1Legend").arg(set));
    hide_->setAutoDefault(false);

    grid_ = new DataGridView(state_.grid, 1, this);
    const bool third = state_.kind == ChartKind::City || state_.kind == ChartKind::Shade;
    grid_->setColumnWidths(third ? QList<int>{28, 150, 50, 50} : QList<int>{28, 190, 60});
    grid_->setKeyFilter([](QChar typed, const QString&, int col, int) {
        return col != ColLegendExtra || IsNumberKey(typed);
    });

    auto* top = new QHBoxLayout;
    top->addWidget(countLabel);
    top->addWidget(count_);
    top->addStretch(1);
    top->addWidget(hide_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);

    // A user's choice only: loads and the gradient set the list without refilling texts.
    connect(count_, &QComboBox::activated, this, &LegendPanel::countChosen);
    connect(hide_, &QPushButton::clicked, this, &QWidget::hide);
    connect(grid_, &DataGridView::cellClicked, this, &LegendPanel::legendCellClicked);

    syncFromState();
    hide();
}

void LegendPanel::bind(QCheckBox* showLegend, QAbstractButton* legendSet) {
    legendSet_ = legendSet;
    if (legendSet_) {
        legendSet_->setEnabled(showLegend && showLegend->isChecked());
        connect(legendSet_, &QAbstractButton::clicked, this, &LegendPanel::openPanel);
    }
    // Loads check the box too, so follow every change, not only clicks.
    if (showLegend) connect(showLegend, &QCheckBox::toggled, this, &LegendPanel::showLegendToggled);
}

void LegendPanel::syncFromState() {
    const QSignalBlocker block(count_);
    count_->setCurrentIndex(state_.countIndex);
}

void LegendPanel::syncToState() {
    state_.countIndex = count_->currentIndex();
}

void LegendPanel::showLegendToggled(bool checked) {
    state_.show = checked;
    if (legendSet_) legendSet_->setEnabled(checked);
    if (!checked) hide();
}

void LegendPanel::openPanel() {
    colorDialog_.setCopyColors(CollectCopyColors(dataGrid_, state_.kind));
    show();
    raise();
}

void LegendPanel::countChosen(int index) {
    static const std::vector<TLegend> kNone;
    const UndoStep step(&state_.grid, QStringLiteral("Item Count"));
    ChangeLegendCount(state_, index, legendTable_ ? legendTable_() : kNone);
}

void LegendPanel::legendCellClicked(int col, int row) {
    GridUpdate update(state_.grid);
    if (col != ColLegendColor || row < 1 || row >= state_.grid.rowCount()) return;
    colorDialog_.setTarget(LegendTargetMode(state_.kind), row, col);
    runDialog_(colorDialog_);
}

} // namespace tolvane
