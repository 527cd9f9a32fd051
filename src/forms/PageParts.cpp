#include "forms/PageParts.h"

#include "charts/PageState.h"
#include "forms/GridDialog.h"
#include "forms/LegendPanel.h"
#include "forms/MainWindow.h"
#include "model/UndoStack.h"
#include "platform/Dialogs.h"
#include "widgets/DataGridView.h"
#include "widgets/WheelGuard.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tolvane {

MapTable::MapTable(std::initializer_list<Entry> entries, MapOffers offers)
    : offers_(std::move(offers)) {
    for (const Entry& e : entries) {
        captions_ << QString::fromUtf8(e.caption);
        stems_ << QString::fromUtf8(e.stem);
    }
}

MapTable::MapTable(const QStringList& stems, MapOffers offers)
    : captions_(stems)
    , stems_(stems)
    , offers_(std::move(offers)) {}

bool MapTable::offersNames(const QString& stem) const {
    return offers_.names ? offers_.names->contains(stem) : stems_.contains(stem);
}

bool MapTable::offersLegend(const QString& stem) const {
    return offers_.legend ? offers_.legend->contains(stem) : stems_.contains(stem);
}

QComboBox* MakeMapList(const QStringList& items, int current, QWidget* parent,
                       const QStringList& stems) {
    auto* list = new QComboBox(parent);
    for (qsizetype i = 0; i < items.size(); ++i)
        list->addItem(items[i], i < stems.size() ? stems[i] : items[i]);
    list->setCurrentIndex(current);
    list->setMaxVisibleItems(20);
    IgnoreWheelUnlessFocused(list);
    return list;
}

DataGridView* MakeDataGridView(GridData& grid, GridLayout layout, QWidget* parent) {
    auto* view = new DataGridView(grid, 2, parent);
    view->setColumnWidths(layout == GridLayout::Region ? QList<int>{80, 265, 152, 105, 80}
                                                       : QList<int>{80, 226, 155, 105, 65, 67});
    view->setKeyFilter([](QChar c, const QString&, int, int) { return IsNumberKey(c); });
    return view;
}

QLabel* MakeHint(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

void AddModeHints(QVBoxLayout* side, QWidget* parent, bool sizes) {
    const QString what = sizes ? QStringLiteral("color/size") : QStringLiteral("color");
    side->addWidget(
        MakeHint(sizes ? QStringLiteral("Mode 1: Click color/size area to set new value directly.")
                       : QStringLiteral("Mode 1: Click color area to set new color directly."),
                 parent));
    side->addWidget(MakeHint(
        QStringLiteral("Mode 2: Fill gradient %1 by data automatically.").arg(what), parent));
    side->addWidget(
        MakeHint(QStringLiteral("Mode 3: Fill %1 by data manually.").arg(what), parent));
}

void ChooseCellColor(Dialogs& dialogs, QWidget* parent, GridData& grid, int col, int row,
                     bool fromCell) {
    if (col != ColColor || row < 2 || row >= grid.rowCount() ||
        grid.text(ColKey, row) == kNoDataMark)
        return;
    const std::optional<int32_t> start =
        fromCell ? std::optional<int32_t>(grid.color(col, row)) : std::nullopt;
    if (const auto chosen = dialogs.chooseColor(parent, start)) {
        const UndoStep step(&grid, QStringLiteral("Cell Color"));
        grid.setColor(col, row, *chosen);
    }
}

void OpenGridDialog(GridDialog& dialog, int panel, int targetMode) {
    dialog.showPanel(panel);
    dialog.setTargetMode(targetMode);
    dialog.exec();
}

QPushButton* MakeDialogButton(const QString& caption, GridDialog& dialog, int panel, int targetMode,
                              QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    QObject::connect(button, &QPushButton::clicked, &dialog,
                     [&dialog, panel, targetMode] { OpenGridDialog(dialog, panel, targetMode); });
    return button;
}

QHBoxLayout* ButtonRow(const QList<QWidget*>& widgets, bool stretch) {
    auto* row = new QHBoxLayout;
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    if (stretch) row->addStretch();
    return row;
}

QLayout* FileButtonsRow(QWidget* importButton, QWidget* exportButton, QWidget* parent,
                        Qt::Orientation orientation) {
    auto* row = new QHBoxLayout;
    const QString hint = QStringLiteral("Refer to help file to\nsee how to import");
    if (orientation == Qt::Horizontal) {
        // In one line, beside the buttons.
        row->setContentsMargins(0, 0, 0, 0);
        row->addWidget(new QLabel(QString(hint).replace(u'\n', u' '), parent));
        row->addWidget(importButton);
        row->addWidget(exportButton);
        return row;
    }
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(importButton);
    buttons->addWidget(exportButton);
    row->addLayout(buttons);
    row->addWidget(new QLabel(hint, parent));
    row->addStretch();
    return row;
}

void LayOutPage(QWidget* tab, QWidget* mapList, QWidget* grid, QLayout* side, QWidget* sizeBar,
                const QList<QWidget*>& mapButtons) {
    auto* mapLabel = new QLabel(QStringLiteral("Map Select:"), tab);
    mapLabel->setBuddy(mapList);
    auto* mapRow = new QHBoxLayout;
    mapRow->addWidget(mapLabel);
    mapRow->addWidget(mapList);
    for (QWidget* button : mapButtons)
        mapRow->addWidget(button);
    mapRow->addStretch();

    auto* layout = new QGridLayout(tab);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->setHorizontalSpacing(14);
    layout->setVerticalSpacing(6);
    layout->addLayout(mapRow, 0, 0);
    if (side) {
        layout->addWidget(grid, 1, 0);
        layout->addLayout(side, 0, 1, 2, 1);
    } else {
        layout->addWidget(grid, 1, 0, 1, 2);
    }
    layout->addWidget(sizeBar, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    if (auto* view = qobject_cast<DataGridView*>(grid)) view->setFixedWidth(view->columnsWidth());
}

void PlaceLegendPanel(LegendPanel* panel, const MainWindow& main) {
    QRect area = main.previewArea();
    area.setWidth(std::min(area.width(), 470));
    panel->setGeometry(area);
}

} // namespace tolvane
