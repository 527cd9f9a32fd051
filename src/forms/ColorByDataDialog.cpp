#include "forms/ColorByDataDialog.h"

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

ColorByDataDialog::ColorByDataDialog(Dialogs& dialogs, ColorTargetResolver resolver,
                                     QWidget* parent, Codes codes)
    : GridDialog(dialogs, std::move(resolver), parent)
    , codes_(codes) {
    setObjectName(codes_ == Codes::Shade ? QStringLiteral("TfrmColor2")
                                         : QStringLiteral("TfrmColor"));
    setWindowTitle(QStringLiteral("Color Set"));
    buildGradientPanel();
    buildRangePanel();
    showPanel(GradientPanel);
}

void ColorByDataDialog::buildGradientPanel() {
    QVBoxLayout* layout = startPanel(QStringLiteral("pnColor1"), kHeading);
    QWidget* panel = layout->parentWidget();
    minColorEdit_ = new ColorEdit(dialogs_, kDefaultMinColor, panel);
    minColorEdit_->setObjectName(QStringLiteral("clrMinM"));
    maxColorEdit_ = new ColorEdit(dialogs_, kDefaultMaxColor, panel);
    maxColorEdit_->setObjectName(QStringLiteral("clrMaxM"));
    stepList_ = stepList(panel);
    schemeList_ = new SchemeComboBox(panel);
    schemeList_->setObjectName(QStringLiteral("cmbScheme"));
    classMethodList_ = new QComboBox(panel);
    classMethodList_->setObjectName(QStringLiteral("cmbClasses"));
    for (ClassMethod method :
         {ClassMethod::EqualInterval, ClassMethod::Quantile, ClassMethod::NaturalBreaks})
        classMethodList_->addItem(ClassMethodName(method), static_cast<int>(method));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Color for &Min. Value:"), minColorEdit_);
    form->addRow(QStringLiteral("Color for M&ax. Value:"), maxColorEdit_);
    form->addRow(QStringLiteral("Color sc&heme:"), schemeList_);
    form->addRow(QStringLiteral("&Progression: "), stepList_);
    form->addRow(QStringLiteral("C&lasses:"), classMethodList_);
    layout->addLayout(form);

    // A scheme fills the two colour edits; picking either colour returns to two colours.
    connect(schemeList_, &QComboBox::currentIndexChanged, this, &ColorByDataDialog::schemeChanged);
    connect(stepList_, &QComboBox::currentIndexChanged, this, &ColorByDataDialog::schemeChanged);
    for (ColorEdit* edit : {minColorEdit_, maxColorEdit_})
        connect(edit, &ColorEdit::colorChosen, schemeList_, &SchemeComboBox::clearScheme);
    finishPanel(
        layout, QStringLiteral("cmdOK2"), QStringLiteral("cmdCancel2"), [this] { applyGradient(); },
        stepList_);
}

void ColorByDataDialog::buildRangePanel() {
    QVBoxLayout* layout = startPanel(QStringLiteral("pnColor2"), kHeading);
    QWidget* panel = layout->parentWidget();
    const auto boundBox = [&] {
        auto* box = new QLineEdit(QStringLiteral("0"), panel);
        box->setMaxLength(30);
        box->setAlignment(Qt::AlignRight);
        box->installEventFilter(this);
        return box;
    };
    lowBound_ = boundBox();
    highBound_ = boundBox();
    addBounds(layout, lowBound_, highBound_);

    rangeColorEdit_ = new ColorEdit(dialogs_, kDefaultSetColor, panel);
    rangeColorEdit_->setObjectName(QStringLiteral("clrSet"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Color"), rangeColorEdit_);
    if (codes_ == Codes::Shade) {
        shadeCodeList_ = new QComboBox(panel);
        shadeCodeList_->setObjectName(QStringLiteral("cmbShadeSet"));
        for (int code = 1; code <= 16; ++code)
            shadeCodeList_->addItem(QString::number(code));
        form->addRow(QStringLiteral("&Shade"), shadeCodeList_);
    }
    layout->addLayout(form);
    finishPanel(
        layout, QStringLiteral("cmdOK1"), QStringLiteral("cmdCancel1"), [this] { applyRange(); },
        lowBound_);
}

void ColorByDataDialog::schemeChanged() {
    const ColorScheme* scheme = schemeList_->scheme();
    if (!scheme) return;
    const std::vector<int32_t> colors = SchemeColors(*scheme, stepList_->currentText().toInt());
    minColorEdit_->setColor(colors.front());
    maxColorEdit_->setColor(colors.back());
}

bool ColorByDataDialog::servesMode(int mode) const {
    return (codes_ == Codes::Shade) == (mode == ModeShade);
}

bool ColorByDataDialog::rewritesLegend(int mode) const {
    // Only the "Map", "Advance Map" and "Bubble" pages' legends follow the gradient.
    return mode == ModeRegion || mode == ModeCity || mode == ModeShade;
}

void ColorByDataDialog::applyGradient() {
    QString note;
    run(QStringLiteral("Gradient Color"), [&](const ColorTarget& t) {
        GradientOptions options;
        options.method = static_cast<ClassMethod>(classMethodList_->currentData().toInt());
        options.scheme = schemeList_->scheme();
        options.shadeCodes = codes_ == Codes::Shade;
        note = ApplyGradient(*t.grid, t.rows, t.legend, minColorEdit_->color(),
                             maxColorEdit_->color(), stepList_->currentText().toInt(), options);
    });
    // Fewer classes than asked, or breaks found on a sample: the legend alone would not say.
    if (!note.isEmpty()) dialogs_.showMessage(parentWidget(), note + QLatin1Char('.'));
}

void ColorByDataDialog::applyRange() {
    run(QStringLiteral("Range Color"), [this](const ColorTarget& t) {
        const QString code = shadeCodeList_ ? shadeCodeList_->currentText() : QString();
        ApplyRange(*t.grid, t.rows, lowBound_->text(), highBound_->text(), rangeColorEdit_->color(),
                   shadeCodeList_ ? &code : nullptr);
    });
}

bool ColorByDataDialog::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == lowBound_ || watched == highBound_) && event->type() == QEvent::KeyPress) {
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
