#include "forms/TfrmColor.h"

#include "charts/ColorByData.h"
#include "charts/ColorSchemes.h"
#include "platform/Dialogs.h"
#include "widgets/ColorEdit.h"
#include "widgets/SchemeComboBox.h"

#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int32_t kDefaultMinColor = 14745584; // 240, 255, 224
constexpr int32_t kDefaultMaxColor = 1339686;  // 38, 113, 20
constexpr int32_t kDefaultSetColor = 14745568; // 224, 255, 224

const QString kHeading = QStringLiteral("Color Set (Gradient Color by Data):");

} // namespace

bool BoundKeyAllowed(QChar typed, const QString& text) {
    if (typed == QChar(8) || (typed >= u'0' && typed <= u'9')) return true;
    if (typed == u'-') return text.isEmpty();
    if (typed == u'.') return !text.contains(u'.');
    return false;
}

TfrmColor::TfrmColor(Dialogs& dialogs, ColorTargetResolver resolver, QWidget* parent, Codes codes)
    : GridDialog(dialogs, std::move(resolver), parent)
    , codes_(codes) {
    setObjectName(codes_ == Codes::Shade ? QStringLiteral("TfrmColor2")
                                         : QStringLiteral("TfrmColor"));
    setWindowTitle(QStringLiteral("Color Set"));
    buildGradientPanel();
    buildRangePanel();
    showPanel(GradientPanel);
}

void TfrmColor::buildGradientPanel() {
    QVBoxLayout* layout = startPanel(QStringLiteral("pnColor1"), kHeading);
    QWidget* panel = layout->parentWidget();
    clrMinM_ = new ColorEdit(dialogs_, kDefaultMinColor, panel);
    clrMinM_->setObjectName(QStringLiteral("clrMinM"));
    clrMaxM_ = new ColorEdit(dialogs_, kDefaultMaxColor, panel);
    clrMaxM_->setObjectName(QStringLiteral("clrMaxM"));
    cmbStepM_ = stepList(panel);
    cmbScheme_ = new SchemeComboBox(panel);
    cmbScheme_->setObjectName(QStringLiteral("cmbScheme"));
    cmbClasses_ = new QComboBox(panel);
    cmbClasses_->setObjectName(QStringLiteral("cmbClasses"));
    for (ClassMethod method :
         {ClassMethod::EqualInterval, ClassMethod::Quantile, ClassMethod::NaturalBreaks})
        cmbClasses_->addItem(ClassMethodName(method), static_cast<int>(method));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Color for &Min. Value:"), clrMinM_);
    form->addRow(QStringLiteral("Color for M&ax. Value:"), clrMaxM_);
    form->addRow(QStringLiteral("Color sc&heme:"), cmbScheme_);
    form->addRow(QStringLiteral("&Progression: "), cmbStepM_);
    form->addRow(QStringLiteral("C&lasses:"), cmbClasses_);
    layout->addLayout(form);

    // A scheme fills the two colour edits; picking either colour returns to two colours.
    connect(cmbScheme_, &QComboBox::currentIndexChanged, this, &TfrmColor::schemeChanged);
    connect(cmbStepM_, &QComboBox::currentIndexChanged, this, &TfrmColor::schemeChanged);
    for (ColorEdit* edit : {clrMinM_, clrMaxM_})
        connect(edit, &ColorEdit::colorChosen, cmbScheme_, &SchemeComboBox::clearScheme);
    finishPanel(
        layout, QStringLiteral("cmdOK2"), QStringLiteral("cmdCancel2"), [this] { cmdOK2Click(); },
        cmbStepM_);
}

void TfrmColor::buildRangePanel() {
    QVBoxLayout* layout = startPanel(QStringLiteral("pnColor2"), kHeading);
    QWidget* panel = layout->parentWidget();
    const auto boundBox = [&] {
        auto* box = new QLineEdit(QStringLiteral("0"), panel);
        box->setMaxLength(30);
        box->setAlignment(Qt::AlignRight);
        box->installEventFilter(this);
        return box;
    };
    txtNum1_ = boundBox();
    txtNum2_ = boundBox();
    addBounds(layout, txtNum1_, txtNum2_);

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
    finishPanel(
        layout, QStringLiteral("cmdOK1"), QStringLiteral("cmdCancel1"), [this] { cmdOK1Click(); },
        txtNum1_);
}

void TfrmColor::schemeChanged() {
    const ColorScheme* scheme = cmbScheme_->scheme();
    if (!scheme) return;
    const std::vector<int32_t> colors = SchemeColors(*scheme, cmbStepM_->currentText().toInt());
    clrMinM_->setColor(colors.front());
    clrMaxM_->setColor(colors.back());
}

bool TfrmColor::servesMode(int mode) const {
    return (codes_ == Codes::Shade) == (mode == ModeShade);
}

bool TfrmColor::rewritesLegend(int mode) const {
    // Only the "Map", "Advance Map" and "Bubble" pages' legends follow the gradient.
    return mode == ModeRegion || mode == ModeCity || mode == ModeShade;
}

void TfrmColor::cmdOK2Click() {
    QString note;
    run(QStringLiteral("Gradient Color"), [&](const ColorTarget& t) {
        GradientOptions options;
        options.method = static_cast<ClassMethod>(cmbClasses_->currentData().toInt());
        options.scheme = cmbScheme_->scheme();
        options.shadeCodes = codes_ == Codes::Shade;
        note = ApplyGradient(*t.grid, t.rows, t.legend, clrMinM_->color(), clrMaxM_->color(),
                             cmbStepM_->currentText().toInt(), options);
    });
    // Fewer classes than asked, or breaks found on a sample: the legend alone would not say.
    if (!note.isEmpty()) dialogs_.showMessage(parentWidget(), note + QLatin1Char('.'));
}

void TfrmColor::cmdOK1Click() {
    run(QStringLiteral("Range Color"), [this](const ColorTarget& t) {
        const QString code = cmbShadeSet_ ? cmbShadeSet_->currentText() : QString();
        ApplyRange(*t.grid, t.rows, txtNum1_->text(), txtNum2_->text(), clrSet_->color(),
                   cmbShadeSet_ ? &code : nullptr);
    });
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
    return GridDialog::eventFilter(watched, event);
}

} // namespace tolvane
