#include "forms/TfrmLegendColor.h"

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

TfrmLegendColor::TfrmLegendColor(Dialogs& dialogs, LegendResolver resolver, QWidget* parent)
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
        connect(swatch, &QAbstractButton::clicked, this, [this, k] { pnCopyColorClick(k); });
        row->addWidget(swatch);
        swatches_.push_back(swatch);
    }
    layout->addLayout(row);

    auto* legendRow = new QHBoxLayout;
    clrLegend_ = new ColorEdit(dialogs, kDefaultLegendColor, this);
    clrLegend_->setObjectName(QStringLiteral("clrLegend"));
    auto* label = new QLabel(QStringLiteral("Color for &legend:"), this);
    label->setBuddy(clrLegend_);
    legendRow->addWidget(label);
    legendRow->addWidget(clrLegend_);
    legendRow->addStretch(1);
    layout->addLayout(legendRow);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setObjectName(QStringLiteral("cmdOK2"));
    cancel->setObjectName(QStringLiteral("cmdCancel2"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TfrmLegendColor::cmdOK2Click);
    connect(cancel, &QPushButton::clicked, this, &TfrmLegendColor::cmdCancel2Click);
    layout->addWidget(buttons);
}

void TfrmLegendColor::setCopyColors(const CopyColors& colors) {
    for (size_t k = 0; k < swatches_.size(); ++k)
        swatches_[k]->setColor(colors[k]);
}

void TfrmLegendColor::setTarget(int mode, int row, int col) {
    targetMode_ = mode;
    targetRow_ = row;
    targetCol_ = col;
}

int32_t TfrmLegendColor::copyColor(int k) const {
    if (k < 1 || k > static_cast<int>(swatches_.size())) return kWhite;
    return swatches_[static_cast<size_t>(k - 1)]->color();
}

int32_t TfrmLegendColor::legendColor() const {
    return clrLegend_->color();
}

void TfrmLegendColor::setLegendColor(int32_t color) {
    clrLegend_->setColor(color);
}

void TfrmLegendColor::cmdOK2Click() {
    if (IsLegendMode(targetMode_) && resolver_) {
        if (LegendState* legend = resolver_(targetMode_)) {
            const UndoStep step(&legend->grid, QStringLiteral("Legend Color"));
            legend->grid.setColor(targetCol_, targetRow_, clrLegend_->color());
        }
    }
    accept();
}

void TfrmLegendColor::cmdCancel2Click() {
    reject();
}

void TfrmLegendColor::pnCopyColorClick(int k) {
    if (k >= 1 && k <= static_cast<int>(swatches_.size())) clrLegend_->setColor(copyColor(k));
}

} // namespace tolvane
