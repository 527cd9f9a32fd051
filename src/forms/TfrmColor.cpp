#include "forms/TfrmColor.h"

#include "charts/ColorByData.h"
#include "model/UndoStack.h"
#include "model/UserError.h"
#include "platform/Dialogs.h"
#include "widgets/ColorEdit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int32_t kDefaultMinColor = 14745584; // 240, 255, 224
constexpr int32_t kDefaultMaxColor = 1339686;  // 38, 113, 20
constexpr int32_t kDefaultSetColor = 14745568; // 224, 255, 224
constexpr int kMinSteps = 2;
constexpr int kMaxSteps = 50;
constexpr int kDefaultSteps = 6;

QLabel* Heading(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("Color Set (Gradient Color by Data):"), parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QPushButton* AddButtons(QVBoxLayout* layout, QWidget* parent, const QString& okName,
                        const QString& cancelName) {
    auto* box = new QDialogButtonBox(parent);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setObjectName(okName);
    cancel->setObjectName(cancelName);
    layout->addStretch(1);
    layout->addWidget(box);
    return ok;
}

} // namespace

bool BoundKeyAllowed(QChar typed, const QString& text) {
    if (typed == QChar(8) || (typed >= u'0' && typed <= u'9')) return true;
    if (typed == u'-') return text.isEmpty();
    if (typed == u'.') return !text.contains(u'.');
    return false;
}

TfrmColor::TfrmColor(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent, Codes codes)
    : QDialog(parent)
    , dialogs_(dialogs)
    , resolver_(std::move(resolver))
    , codes_(codes) {
    setObjectName(codes_ == Codes::Shade ? QStringLiteral("TfrmColor2")
                                         : QStringLiteral("TfrmColor"));
    setWindowTitle(QStringLiteral("Color Set"));
    pages_ = new QStackedWidget(this);
    pages_->addWidget(buildGradientPanel());
    pages_->addWidget(buildRangePanel());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    showPanel(GradientPanel);
}

QWidget* TfrmColor::buildGradientPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnColor1"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Heading(panel));

    clrMinM_ = new ColorEdit(dialogs_, kDefaultMinColor, panel);
    clrMinM_->setObjectName(QStringLiteral("clrMinM"));
    clrMaxM_ = new ColorEdit(dialogs_, kDefaultMaxColor, panel);
    clrMaxM_->setObjectName(QStringLiteral("clrMaxM"));
    cmbStepM_ = new QComboBox(panel);
    cmbStepM_->setObjectName(QStringLiteral("cmbStepM"));
    for (int s = kMinSteps; s <= kMaxSteps; ++s)
        cmbStepM_->addItem(QString::number(s));
    cmbStepM_->setCurrentIndex(kDefaultSteps - kMinSteps);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Color for &Min. Value:"), clrMinM_);
    form->addRow(QStringLiteral("Color for M&ax. Value:"), clrMaxM_);
    form->addRow(QStringLiteral("&Progression: "), cmbStepM_);
    layout->addLayout(form);

    cmdOK2_ = AddButtons(layout, panel, QStringLiteral("cmdOK2"), QStringLiteral("cmdCancel2"));
    connect(cmdOK2_, &QPushButton::clicked, this, &TfrmColor::cmdOK2Click);
    connect(panel->findChild<QPushButton*>(QStringLiteral("cmdCancel2")), &QPushButton::clicked,
            this, &TfrmColor::cmdCancel2Click);
    return panel;
}

QWidget* TfrmColor::buildRangePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnColor2"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Heading(panel));

    const auto boundBox = [&](const QString& name) {
        auto* box = new QLineEdit(QStringLiteral("0"), panel);
        box->setObjectName(name);
        box->setMaxLength(30);
        box->setAlignment(Qt::AlignRight);
        box->installEventFilter(this);
        return box;
    };
    txtNum1_ = boundBox(QStringLiteral("txtNum1"));
    txtNum2_ = boundBox(QStringLiteral("txtNum2"));
    txtNum1_->setAccessibleName(QStringLiteral("Lowest data value"));
    txtNum2_->setAccessibleName(QStringLiteral("Highest data value"));
    auto* range = new QHBoxLayout;
    range->addWidget(txtNum1_);
    range->addWidget(new QLabel(QStringLiteral("<= Data <="), panel));
    range->addWidget(txtNum2_);
    layout->addLayout(range);

    clrSet_ = new ColorEdit(dialogs_, kDefaultSetColor, panel);
    clrSet_->setObjectName(QStringLiteral("clrSet"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Color"), clrSet_);
    if (codes_ == Codes::Shade) {
        cmbShadeSet_ = new QComboBox(panel);
        cmbShadeSet_->setObjectName(QStringLiteral("cmbShadeSet"));
        for (int code = 1; code <= 16; ++code)
            cmbShadeSet_->addItem(QString::number(code));
        form->addRow(QStringLiteral("&Shade"), cmbShadeSet_);
    }
    layout->addLayout(form);

    cmdOK1_ = AddButtons(layout, panel, QStringLiteral("cmdOK1"), QStringLiteral("cmdCancel1"));
    connect(cmdOK1_, &QPushButton::clicked, this, &TfrmColor::cmdOK1Click);
    connect(panel->findChild<QPushButton*>(QStringLiteral("cmdCancel1")), &QPushButton::clicked,
            this, &TfrmColor::cmdCancel2Click);
    return panel;
}

void TfrmColor::showPanel(int panel) {
    const bool gradient = panel != RangePanel;
    pages_->setCurrentIndex(gradient ? 0 : 1);
    // Only the visible panel's OK answers Enter.
    cmdOK2_->setDefault(gradient);
    cmdOK1_->setDefault(!gradient);
    (gradient ? static_cast<QWidget*>(cmbStepM_) : txtNum1_)->setFocus();
}

int TfrmColor::panel() const {
    return pages_->currentIndex() == 0 ? GradientPanel : RangePanel;
}

bool TfrmColor::acceptsMode(int mode) const {
    return (codes_ == Codes::Shade) == (mode == ModeShade);
}

template <typename Apply> void TfrmColor::run(Apply apply) {
    const int mode = targetMode_;
    ColorTarget target = resolver_ && acceptsMode(mode) ? resolver_(mode) : ColorTarget{};
    if (!target.grid) {
        accept();
        return;
    }
    // Only the "Map", "Advance Map" and "Bubble" pages' legends follow the gradient.
    if (mode != ModeRegion && mode != ModeCity && mode != ModeShade) target.legend = nullptr;
    try {
        const UndoStep step(target.grid, panel() == GradientPanel ? QStringLiteral("Gradient Color")
                                                                  : QStringLiteral("Range Color"));
        apply(target);
    } catch (const ConvertError& e) {
        dialogs_.showError(this, e.message());
        return;
    }
    emit targetChanged(mode);
    accept();
}

void TfrmColor::cmdOK2Click() {
    run([this](const ColorTarget& t) {
        ApplyGradient(*t.grid, t.rows, t.legend, clrMinM_->color(), clrMaxM_->color(),
                      cmbStepM_->currentText().toInt(), codes_ == Codes::Shade);
    });
}

void TfrmColor::cmdOK1Click() {
    run([this](const ColorTarget& t) {
        const QString code = cmbShadeSet_ ? cmbShadeSet_->currentText() : QString();
        ApplyRange(*t.grid, t.rows, txtNum1_->text(), txtNum2_->text(), clrSet_->color(),
                   cmbShadeSet_ ? &code : nullptr);
    });
}

void TfrmColor::cmdCancel2Click() {
    reject();
}

bool TfrmColor::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == txtNum1_ || watched == txtNum2_) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (typed.size() == 1 && typed[0].isPrint() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
            !BoundKeyAllowed(typed[0], static_cast<QLineEdit*>(watched)->text()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tolvane
