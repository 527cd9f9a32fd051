#include "forms/OptionsForm.h"

#include "model/UndoStack.h"
#include "model/UserError.h"
#include "widgets/ColorEdit.h"
#include "widgets/DataGridView.h"

#include <QAbstractSlider>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHash>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <memory>

namespace tolvane {

namespace {

// How long the reader works before it lets the players repaint.
constexpr qint64 kEventsEveryMs = 30;

template <typename Control> Control* Find(const QWidget& form, const QString& name) {
    return name.isEmpty() ? nullptr : form.findChild<Control*>(name);
}

void CollectDataRows(std::vector<OptionLine>& lines, const QString& name, const GridData& grid) {
    const int fields = ActionOfKey(name).fields;
    for (int r = 2; r < grid.rowCount(); ++r)
        lines.push_back({name, JoinDataRow(DataRowOf(grid, r), fields)});
}

// A legend stores as many items as its count list says, whatever rows the grid has.
void CollectLegendRows(std::vector<OptionLine>& lines, const QWidget& form, const OptionSlot& slot,
                       const GridData& grid) {
    const auto* countList = Find<QComboBox>(form, slot.countList);
    const int items = countList ? countList->currentIndex() + 1 : grid.rowCount() - 1;
    for (int r = 1; r <= items; ++r)
        lines.push_back({slot.name, JoinLegendRow(LegendRowOf(grid, r))});
}

// Reads the lines into the controls; the one-time work (finding controls, suspending grid
// repainting) is kept here between lines.
class Reader {
public:
    explicit Reader(QWidget& form)
        : form_(form) {}
    ~Reader() {
        for (GridData* grid : suspended_)
            grid->endUpdate();
    }

    void apply(const OptionLine& line) {
        const OptionAction action = ActionOfKey(line.key);
        if (action.kind == OptionKind::Ignored) return;
        QObject* control = find(line.key);
        if (!control) return;
        switch (action.kind) {
        case OptionKind::Text:
            if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->setText(line.value);
            return;
        case OptionKind::Color:
            if (auto* edit = qobject_cast<ColorSwatch*>(control))
                edit->setColor(ParseOptionColor(line.value));
            return;
        case OptionKind::Radio:
            if (auto* radio = qobject_cast<QRadioButton*>(control)) radio->setChecked(true);
            return;
        case OptionKind::ListIndex:
            // No handler runs: the pages take the new selections afterwards. An index the
            // list does not have leaves it as it was.
            if (auto* list = qobject_cast<QComboBox*>(control)) {
                const int index = ParseOptionInt(line.value);
                const QSignalBlocker quiet(list);
                if (index >= 0 && index < list->count()) list->setCurrentIndex(index);
            }
            return;
        case OptionKind::TrackBar:
            // The bar clamps to its range; a change runs its handler as a move does.
            if (auto* bar = qobject_cast<QAbstractSlider*>(control))
                bar->setValue(ParseOptionInt(line.value));
            return;
        case OptionKind::DataRow:
            if (GridData* grid = gridOf(control))
                PutDataRow(*grid, nextRow(*grid, 2), SplitDataRow(line.value, action.fields),
                           action.fields);
            return;
        case OptionKind::LegendRow:
            if (GridData* grid = gridOf(control))
                PutLegendRow(*grid, nextRow(*grid, 1), SplitLegendRow(line.value));
            return;
        case OptionKind::Ignored:
            return;
        }
    }

    // Data grids show their own captions again, whatever the lines did.
    void rewriteTitles() {
        for (const OptionDataGrid& known : OptionDataGrids()) {
            GridData* grid = gridOf(find(known.name));
            if (!grid) continue;
            for (int c = 0; c < known.titles.size(); ++c)
                grid->setText(c + 1, 1, known.titles[c]);
        }
    }

    QString listText(const QString& name) {
        const auto* list = qobject_cast<QComboBox*>(find(name));
        return list ? list->currentText() : QString();
    }

private:
    QObject* find(const QString& name) {
        if (name.isEmpty()) return nullptr;
        const auto known = found_.constFind(name);
        if (known != found_.constEnd()) return *known;
        QObject* control = form_.findChild<QObject*>(name);
        found_.insert(name, control);
        return control;
    }

    GridData* gridOf(QObject* control) {
        auto* view = qobject_cast<DataGridView*>(control);
        if (!view) return nullptr;
        GridData* grid = &view->grid();
        if (!suspended_.contains(grid)) {
            grid->beginUpdate();
            suspended_ << grid;
            // What the file did to a page's grids is undone as one step.
            steps_.push_back(std::make_unique<UndoStep>(grid, QStringLiteral("Open Options")));
        }
        return grid;
    }

    // The grid's rows count from `first`, once per line, whatever rows it had before.
    int nextRow(GridData& grid, int first) {
        const auto counted = rows_.find(&grid);
        if (counted == rows_.end()) return *rows_.insert(&grid, first);
        return ++*counted;
    }

    QWidget& form_;
    QHash<QString, QObject*> found_;
    QHash<GridData*, int> rows_;
    QList<GridData*> suspended_;
    std::vector<std::unique_ptr<UndoStep>> steps_;
};

} // namespace

std::vector<OptionLine> CollectOptions(const QWidget& form, int activePage) {
    std::vector<OptionLine> lines;
    lines.push_back({kActivePageKey, QString::number(activePage)});
    if (const auto* list = Find<QComboBox>(form, MapListOfPage(activePage)))
        lines.push_back({kActiveMapKey, list->currentText()});
    for (const OptionSlot& slot : OptionLineOrder()) {
        switch (slot.kind) {
        case OptionKind::ListIndex:
            if (const auto* list = Find<QComboBox>(form, slot.name))
                lines.push_back({slot.name, QString::number(list->currentIndex())});
            break;
        case OptionKind::Color:
            if (const auto* edit = Find<ColorSwatch>(form, slot.name))
                lines.push_back({slot.name, QString::number(edit->color())});
            break;
        case OptionKind::TrackBar:
            if (const auto* bar = Find<QAbstractSlider>(form, slot.name))
                lines.push_back({slot.name, QString::number(bar->value())});
            break;
        case OptionKind::DataRow:
            if (auto* view = Find<DataGridView>(form, slot.name))
                CollectDataRows(lines, slot.name, view->grid());
            break;
        case OptionKind::LegendRow:
            if (auto* view = Find<DataGridView>(form, slot.name))
                CollectLegendRows(lines, form, slot, view->grid());
            break;
        case OptionKind::Text:
        case OptionKind::Radio:
        case OptionKind::Ignored:
            break;
        }
    }
    return lines;
}

OptionsApplied ApplyOptions(QWidget& form, const OptionsText& text,
                            const std::function<void()>& letEventsRun) {
    OptionsApplied applied;
    Reader reader(form);
    applied.activeMapShown =
        text.activeMapName && *text.activeMapName == reader.listText(MapListOfPage(text.pageIndex));
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    try {
        for (const OptionLine& line : text.lines) {
            reader.apply(line);
            if (letEventsRun && sinceEvents.elapsed() >= kEventsEveryMs) {
                letEventsRun();
                sinceEvents.restart();
            }
        }
    } catch (const UserError& e) {
        applied.error = e.message();
    }
    reader.rewriteTitles();
    return applied;
}

} // namespace tolvane
