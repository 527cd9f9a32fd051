#include "forms/LegendColorDialog.h"

#include "model/UndoStack.h"
#include "widgets/ColorEdit.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int32_t kDefaultLegendColor = 14745584; // 240, 255, 224

bool IsLegendMode(int mode) {
    return mode == ModeRegion || mode == ModeCity || mode == ModeShade;
}

} // namespace

LegendColorDialog::LegendColorDialog(Dialogs& dialogs, LegendResolver resolver, QWidget* parent)
    : QDialog(parent)
    , resolver_(std::move(resolver)) {
    setObjectName(QStringLiteral("TfrmLegendColor"));
    setWindowTitle(QStringLiteral("Legend Color Set"));
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    layout->addWidget(new QLabel(QStringLiteral("Color in list:"), this));
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    for (int k = 1; k <= kCopyColorSwatches; ++k) {
        auto* swatch = new ColorSwatch(this);
        swatch->setObjectName(QStringLiteral("pnCopyColor%1").arg(k));
        swatch->setAccessibleName(QStringLiteral("Color in list %1").arg(k));
        swatch->setFixedSize(swatch->sizeHint());
        connect(swatch, &QAbstractButton::clicked, this, [this, k] { takeCopyColor(k); });
        row->addWidget(swatch);
        swatches_.push_back(swatch);
    }
    layout->addLayout(row);

    auto* legendRow = new QHBoxLayout;
    legendColorEdit_ = new ColorEdit(dialogs, kDefaultLegendColor, this);
    legendColorEdit_->setObjectName(QStringLiteral("clrLegend"));
    auto* label = new QLabel(QStringLiteral("Color for &legend:"), this);
    label->setBuddy(legendColorEdit_);
    legendRow->addWidget(label);
    legendRow->addWidget(legendColorEdit_);
    legendRow->addStretch(1);
    layout->addLayout(legendRow);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("cmdOK2"));
    cancel->setObjectName(QStringLiteral("cmdCancel2"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &LegendColorDialog::applyColor);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void LegendColorDialog::setCopyColors(const CopyColors& colors) {
    for (size_t k = 0; k < swatches_.size(); ++k)
        swatches_[k]->setColor(colors[k]);
}

void LegendColorDialog::setTarget(int mode, int row, int col) {
    targetMode_ = mode;
    targetRow_ = row;
    targetCol_ = col;
}

int32_t LegendColorDialog::copyColor(int k) const {
    if (k < 1 || k > static_cast<int>(swatches_.size())) return kWhite;
    return swatches_[static_cast<size_t>(k - 1)]->color();
}

int32_t LegendColorDialog::legendColor() const {
    return legendColorEdit_->color();
}

void LegendColorDialog::setLegendColor(int32_t color) {
    legendColorEdit_->setColor(color);
}

void LegendColorDialog::applyColor() {
    if (IsLegendMode(targetMode_) && resolver_) {
        if (LegendState* legend = resolver_(targetMode_)) {
            const UndoStep step(&legend->grid, QStringLiteral("Legend Color"));
            legend->grid.setColor(targetCol_, targetRow_, legendColorEdit_->color());
        }
    }
    accept();
}

void LegendColorDialog::takeCopyColor(int k) {
    if (k >= 1 && k <= static_cast<int>(swatches_.size())) legendColorEdit_->setColor(copyColor(k));
}

} // namespace tolvane
