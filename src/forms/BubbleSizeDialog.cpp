#include "forms/BubbleSizeDialog.h"

#include "charts/SizeByData.h"
#include "widgets/NumberEdits.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int kDefaultMinSize = 50;
constexpr int kDefaultMaxSize = 100;
constexpr int kDefaultRangeSize = 100;
const QColor kBackground(247, 247, 247); // platform colour 16250871

const QString kHeading = QStringLiteral("Bubble Size (Gradient Size by Data):");
const QString kBounds = QStringLiteral("(From 0% to 200%)");

SpinEdit* SizeBox(const QString& name, int value, QWidget* parent) {
    auto* box = new SpinEdit(kMinBubbleSize, kMaxBubbleSize, value, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

BubbleSizeDialog::BubbleSizeDialog(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent)
    : GridDialog(dialogs, std::move(resolver), parent) {
    setObjectName(QStringLiteral("TfrmSize"));
    setWindowTitle(QStringLiteral("Bubble Set"));
    QPalette shade = palette();
    shade.setColor(QPalette::Window, kBackground);
    setPalette(shade);
    setAutoFillBackground(true);
    buildGradientPanel();
    buildRangePanel();
    showPanel(GradientPanel);
}

void BubbleSizeDialog::buildGradientPanel() {
    QVBoxLayout* layout = startPanel(QStringLiteral("pnColor1"), kHeading);
    QWidget* panel = layout->parentWidget();
    minSizeEdit_ = SizeBox(QStringLiteral("txtMinS"), kDefaultMinSize, panel);
    maxSizeEdit_ = SizeBox(QStringLiteral("txtMaxS"), kDefaultMaxSize, panel);
    stepList_ = stepList(panel);

    auto* form = new QGridLayout;
    int row = 0;
    const auto addRow = [&](const QString& caption, QWidget* box, const QStringList& after) {
        auto* label = new QLabel(caption, panel);
        label->setBuddy(box);
        form->addWidget(label, row, 0);
        form->addWidget(box, row, 1);
        for (int i = 0; i < after.size(); ++i)
            form->addWidget(new QLabel(after[i], panel), row, 2 + i);
        ++row;
    };
    addRow(QStringLiteral("Size for &Min. Value:"), minSizeEdit_, {QStringLiteral("%"), kBounds});
    addRow(QStringLiteral("Size for M&ax. Value:"), maxSizeEdit_, {QStringLiteral("%"), kBounds});
    addRow(QStringLiteral("&Progression: "), stepList_, {});
    layout->addLayout(form);
    finishPanel(
        layout, QStringLiteral("cmdOK2"), QStringLiteral("cmdCancel2"), [this] { applyGradient(); },
        minSizeEdit_);
}

void BubbleSizeDialog::buildRangePanel() {
    QVBoxLayout* layout = startPanel(QStringLiteral("pnColor2"), kHeading);
    QWidget* panel = layout->parentWidget();
    lowBound_ = new NumericEdit(0, panel);
    highBound_ = new NumericEdit(0, panel);
    addBounds(layout, lowBound_, highBound_);

    rangeSizeEdit_ = SizeBox(QStringLiteral("txtSize"), kDefaultRangeSize, panel);
    auto* sizeRow = new QHBoxLayout;
    auto* sizeLabel = new QLabel(QStringLiteral("&Size"), panel);
    sizeLabel->setBuddy(rangeSizeEdit_);
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(rangeSizeEdit_);
    sizeRow->addWidget(new QLabel(QStringLiteral("% ") + kBounds, panel));
    sizeRow->addStretch(1);
    layout->addLayout(sizeRow);
    finishPanel(
        layout, QStringLiteral("cmdOK1"), QStringLiteral("cmdCancel1"), [this] { applyRange(); },
        lowBound_);
}

bool BubbleSizeDialog::servesMode(int mode) const {
    return mode == ModeCity || mode == ModeRCCities;
}

bool BubbleSizeDialog::rewritesLegend(int mode) const {
    return mode == ModeCity; // the "Advance Bubble" page has no legend
}

void BubbleSizeDialog::applyGradient() {
    const int minSize = minSizeEdit_->integerValue();
    const int maxSize = maxSizeEdit_->integerValue();
    run(QStringLiteral("Gradient Size"), [&](const ColorTarget& t) {
        ApplySizeGradient(*t.grid, t.rows, t.legend, minSize, maxSize,
                          stepList_->currentText().toInt());
    });
}

void BubbleSizeDialog::applyRange() {
    const int size = rangeSizeEdit_->integerValue();
    run(QStringLiteral("Range Size"), [&](const ColorTarget& t) {
        ApplySizeRange(*t.grid, t.rows, lowBound_->value(), highBound_->value(), size);
    });
}

} // namespace tolvane
