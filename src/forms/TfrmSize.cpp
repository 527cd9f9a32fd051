#include "forms/TfrmSize.h"

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

TfrmSize::TfrmSize(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent)
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

void TfrmSize::buildGradientPanel() {
    QVBoxLayout* layout = startPanel(QStringLiteral("pnColor1"), kHeading);
    QWidget* panel = layout->parentWidget();
    txtMinS_ = SizeBox(QStringLiteral("txtMinS"), kDefaultMinSize, panel);
    txtMaxS_ = SizeBox(QStringLiteral("txtMaxS"), kDefaultMaxSize, panel);
    cmbStepM_ = stepList(panel);

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
    addRow(QStringLiteral("Size for &Min. Value:"), txtMinS_, {QStringLiteral("%"), kBounds});
    addRow(QStringLiteral("Size for M&ax. Value:"), txtMaxS_, {QStringLiteral("%"), kBounds});
    addRow(QStringLiteral("&Progression: "), cmbStepM_, {});
    layout->addLayout(form);
    finishPanel(
        layout, QStringLiteral("cmdOK2"), QStringLiteral("cmdCancel2"), [this] { cmdOK2Click(); },
        txtMinS_);
}

void TfrmSize::buildRangePanel() {
    QVBoxLayout* layout = startPanel(QStringLiteral("pnColor2"), kHeading);
    QWidget* panel = layout->parentWidget();
    txtNum1_ = new NumericEdit(0, panel);
    txtNum2_ = new NumericEdit(0, panel);
    addBounds(layout, txtNum1_, txtNum2_);

    txtSize_ = SizeBox(QStringLiteral("txtSize"), kDefaultRangeSize, panel);
    auto* sizeRow = new QHBoxLayout;
    auto* sizeLabel = new QLabel(QStringLiteral("&Size"), panel);
    sizeLabel->setBuddy(txtSize_);
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(txtSize_);
    sizeRow->addWidget(new QLabel(QStringLiteral("% ") + kBounds, panel));
    sizeRow->addStretch(1);
    layout->addLayout(sizeRow);
    finishPanel(
        layout, QStringLiteral("cmdOK1"), QStringLiteral("cmdCancel1"), [this] { cmdOK1Click(); },
        txtNum1_);
}

bool TfrmSize::servesMode(int mode) const {
    return mode == ModeCity || mode == ModeRCCities;
}

bool TfrmSize::rewritesLegend(int mode) const {
    return mode == ModeCity; // the "Advance Bubble" page has no legend
}

void TfrmSize::cmdOK2Click() {
    const int minSize = txtMinS_->integerValue();
    const int maxSize = txtMaxS_->integerValue();
    run(QStringLiteral("Gradient Size"), [&](const ColorTarget& t) {
        ApplySizeGradient(*t.grid, t.rows, t.legend, minSize, maxSize,
                          cmbStepM_->currentText().toInt());
    });
}

void TfrmSize::cmdOK1Click() {
    const int size = txtSize_->integerValue();
    run(QStringLiteral("Range Size"), [&](const ColorTarget& t) {
        ApplySizeRange(*t.grid, t.rows, txtNum1_->value(), txtNum2_->value(), size);
    });
}

} // namespace tolvane
