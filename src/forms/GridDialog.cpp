#include "forms/GridDialog.h"

#include "model/UndoStack.h"
#include "model/UserError.h"
#include "platform/Dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int kMinSteps = 2;
constexpr int kMaxSteps = 50;
constexpr int kDefaultSteps = 6;

} // namespace

GridDialog::GridDialog(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent)
    : QDialog(parent)
    , dialogs_(dialogs)
    , resolver_(std::move(resolver)) {
    pages_ = new QStackedWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QVBoxLayout* GridDialog::startPanel(const QString& name, const QString& heading) {
    auto* panel = new QWidget(this);
    panel->setObjectName(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(heading, panel);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    layout->addWidget(label);
    return layout;
}

void GridDialog::addBounds(QVBoxLayout* panel, QLineEdit* lo, QLineEdit* hi) {
    lo->setObjectName(QStringLiteral("txtNum1"));
    hi->setObjectName(QStringLiteral("txtNum2"));
    lo->setAccessibleName(QStringLiteral("Lowest data value"));
    hi->setAccessibleName(QStringLiteral("Highest data value"));
    auto* range = new QHBoxLayout;
    range->addWidget(lo);
    range->addWidget(new QLabel(QStringLiteral("<= Data <="), panel->parentWidget()));
    range->addWidget(hi);
    panel->addLayout(range);
}

void GridDialog::finishPanel(QVBoxLayout* panel, const QString& okName, const QString& cancelName,
                             const std::function<void()>& ok, QWidget* first) {
    QWidget* widget = panel->parentWidget();
    auto* box = new QDialogButtonBox(widget);
    QPushButton* okButton = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    okButton->setObjectName(okName);
    cancel->setObjectName(cancelName);
    connect(okButton, &QPushButton::clicked, this, ok);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject); // closes, changing nothing
    panel->addStretch(1);
    panel->addWidget(box);

    const int index = pages_->addWidget(widget);
    if (index < 2) {
        ok_[index] = okButton;
        first_[index] = first;
    }
}

void GridDialog::showPanel(int panel) {
    const int index = panel == RangePanel ? 1 : 0;
    pages_->setCurrentIndex(index);
    // Only the visible panel's OK answers Enter.
    for (int i = 0; i < 2; ++i)
        if (ok_[i]) ok_[i]->setDefault(i == index);
    if (first_[index]) first_[index]->setFocus();
}

int GridDialog::panel() const {
    return pages_->currentIndex() == 0 ? GradientPanel : RangePanel;
}

void GridDialog::run(const QString& step, const std::function<void(const ColorTarget&)>& apply) {
    const int mode = targetMode_;
    ColorTarget target = resolver_ && servesMode(mode) ? resolver_(mode) : ColorTarget{};
    if (!target.grid) {
        accept();
        return;
    }
    if (!rewritesLegend(mode)) target.legend = nullptr;
    try {
        const UndoStep undoStep(target.grid, step);
        apply(target);
    } catch (const ConvertError& e) {
        dialogs_.showError(this, e.message());
        return;
    }
    emit targetChanged(mode);
    accept();
}

QComboBox* GridDialog::stepList(QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QStringLiteral("cmbStepM"));
    for (int s = kMinSteps; s <= kMaxSteps; ++s)
        list->addItem(QString::number(s));
    list->setCurrentIndex(kDefaultSteps - kMinSteps);
    return list;
}

} // namespace tolvane
