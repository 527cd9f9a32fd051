#include "forms/PageParts.h"

#include "forms/LegendPanel.h"
#include "forms/TFrmMain.h"
#include "widgets/DataGridView.h"
#include "widgets/WheelGuard.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace tolvane {

QComboBox* MakeMapList(const QString& name, const QStringList& items, int current,
                       QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(items);
    list->setCurrentIndex(current);
    list->setMaxVisibleItems(20);
    IgnoreWheelUnlessFocused(list);
    return list;
}

DataGridView* MakeDataGridView(const QString& name, GridData& grid, const QList<int>& widths,
                               QWidget* parent) {
    auto* view = new DataGridView(grid, 2, parent);
    view->setObjectName(name);
    view->setColumnWidths(widths);
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

QLayout* FileButtonsRow(QWidget* importButton, QWidget* exportButton, QWidget* parent) {
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(importButton);
    buttons->addWidget(exportButton);
    auto* row = new QHBoxLayout;
    row->addLayout(buttons);
    row->addWidget(new QLabel(QStringLiteral("Refer to help file to\nsee how to import"), parent));
    row->addStretch();
    return row;
}

void LayOutPage(QWidget* tab, QWidget* mapList, QWidget* grid, QLayout* side, QWidget* sizeBar) {
    auto* mapLabel = new QLabel(QStringLiteral("Map Select:"), tab);
    mapLabel->setBuddy(mapList);
    auto* mapRow = new QHBoxLayout;
    mapRow->addWidget(mapLabel);
    mapRow->addWidget(mapList);
    mapRow->addStretch();

    auto* layout = new QGridLayout(tab);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->setHorizontalSpacing(14);
    layout->setVerticalSpacing(6);
    layout->addLayout(mapRow, 0, 0);
    layout->addWidget(grid, 1, 0);
    layout->addLayout(side, 0, 1, 2, 1);
    layout->addWidget(sizeBar, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    if (auto* view = qobject_cast<DataGridView*>(grid)) view->setFixedWidth(view->columnsWidth());
}

void PlaceLegendPanel(LegendPanel* panel, const TFrmMain& main) {
    QRect area = main.previewArea();
    area.setWidth(std::min(area.width(), 470));
    panel->setGeometry(area);
}

} // namespace tolvane
