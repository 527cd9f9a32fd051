#include "forms/AddMapDialog.h"

#include "platform/Dialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QString LayerCaption(const MapConverter::Layer& layer) {
    return QStringLiteral("%1 (%2, %L3 features)").arg(layer.name, layer.kind).arg(layer.features);
}

// Every field, the chosen one preselected; `none` first when the choice may be none.
void FillFields(QComboBox* list, const std::vector<MapConverter::Field>& fields,
                const QString& chosen, const QString& none) {
    list->clear();
    if (!none.isEmpty()) list->addItem(none, QString());
    for (const MapConverter::Field& f : fields)
        list->addItem(f.text ? f.name : QStringLiteral("%1 (number)").arg(f.name), f.name);
    const int at = list->findData(chosen);
    list->setCurrentIndex(std::max(at, 0));
}

} // namespace

AddMapDialog::AddMapDialog(Dialogs& dialogs, const QString& appFolder, QWidget* parent)
    : QDialog(parent)
    , dialogs_(dialogs)
    , converter_(appFolder) {
    setWindowTitle(QStringLiteral("Add map"));
    build();
    connect(&converter_, &MapConverter::progressed, this,
            [this](const QString& step, int permille) {
                stepLabel_->setText(step + QStringLiteral("…"));
                progress_->setRange(0, permille < 0 ? 0 : 1000);
                if (permille >= 0) progress_->setValue(permille);
            });
    connect(&converter_, &MapConverter::finished, this, &AddMapDialog::converterFinished);
    setWorking(false);
}

void AddMapDialog::build() {
    fileEdit_ = new QLineEdit(this);
    fileEdit_->setReadOnly(true);
    chooseFileButton_ = new QPushButton(QStringLiteral("Choose…"), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileEdit_, 1);
    fileRow->addWidget(chooseFileButton_);

    layerList_ = new QComboBox(this);
    nameFieldList_ = new QComboBox(this);
    shortFieldList_ = new QComboBox(this);
    projectionEdit_ = new QLineEdit(this);
    projectionEdit_->setToolTip(
        QStringLiteral("A PROJ string or EPSG:code; \"source\" keeps the file's own coordinates. "
                       "The one proposed keeps the areas of the regions true."));
    titleEdit_ = new QLineEdit(this);
    sourceEdit_ = new QLineEdit(this);
    licenceEdit_ = new QLineEdit(this);
    licenceEdit_->setPlaceholderText(QStringLiteral("e.g. CC BY 4.0"));
    shortFieldLabel_ = new QLabel(QStringLiteral("&Short-name field:"), this);
    shortFieldLabel_->setBuddy(shortFieldList_);

    auto* form = new QFormLayout;
    auto* fileLabel = new QLabel(QStringLiteral("&File:"), this);
    fileLabel->setBuddy(chooseFileButton_);
    form->addRow(fileLabel, fileRow);
    form->addRow(QStringLiteral("&Layer:"), layerList_);
    form->addRow(QStringLiteral("&Name field:"), nameFieldList_);
    form->addRow(shortFieldLabel_, shortFieldList_);
    form->addRow(QStringLiteral("&Projection:"), projectionEdit_);
    form->addRow(QStringLiteral("&Title:"), titleEdit_);
    form->addRow(QStringLiteral("S&ource:"), sourceEdit_);
    form->addRow(QStringLiteral("L&icence:"), licenceEdit_);

    stepLabel_ = new QLabel(this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    report_ = new QPlainTextEdit(this);
    report_->setReadOnly(true);
    report_->setMinimumHeight(160);
    report_->hide();

    auto* buttons = new QDialogButtonBox(this);
    addButton_ = buttons->addButton(QStringLiteral("&Add"), QDialogButtonBox::AcceptRole);
    closeButton_ = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    addButton_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(stepLabel_);
    layout->addWidget(progress_);
    layout->addWidget(report_, 1);
    layout->addWidget(buttons);
    setMinimumWidth(560);

    connect(chooseFileButton_, &QPushButton::clicked, this, &AddMapDialog::chooseFile);
    connect(layerList_, &QComboBox::currentIndexChanged, this, &AddMapDialog::layerChosen);
    // The buttons' roles would close the dialog: they act first.
    disconnect(buttons, nullptr, this, nullptr);
    connect(addButton_, &QPushButton::clicked, this, &AddMapDialog::addMap);
    connect(closeButton_, &QPushButton::clicked, this, [this] {
        if (converter_.busy())
            converter_.cancel(); // the dialog stays, so other choices can be tried
        else if (added_)
            accept();
        else
            reject();
    });
}

bool AddMapDialog::chooseFile() {
    const auto path = dialogs_.openFile(
        this, QStringLiteral("Add map"),
        QStringLiteral("Map files (*.geojson *.json *.topojson *.shp *.zip *.gpkg)"));
    if (!path) return false;
    openFile(*path);
    return true;
}

void AddMapDialog::openFile(const QString& path) {
    if (converter_.busy() || added_) return;
    file_ = path;
    listing_.reset();
    fileEdit_->setText(QDir::toNativeSeparators(path));
    fileEdit_->setCursorPosition(0);
    layerList_->clear();
    stepLabel_->setText(QStringLiteral("Reading the layers…"));
    progress_->setRange(0, 0);
    setWorking(true);
    converter_.list(path);
}

const MapConverter::Layer* AddMapDialog::chosenLayer() const {
    const int i = layerList_->currentData().toInt();
    if (!listing_ || layerList_->currentIndex() < 0 || i < 0 ||
        i >= static_cast<int>(listing_->layers.size()))
        return nullptr;
    return &listing_->layers[static_cast<size_t>(i)];
}

void AddMapDialog::layerChosen() {
    const MapConverter::Layer* layer = chosenLayer();
    if (!layer || !layer->map) {
        nameFieldList_->clear();
        shortFieldList_->clear();
        setWorking(false);
        return;
    }
    const bool cities = *layer->map == AddedMapKind::City;
    shortFieldLabel_->setText(cities ? QStringLiteral("&Region field:")
                                     : QStringLiteral("&Short-name field:"));
    FillFields(nameFieldList_, layer->fields, layer->nameField, {});
    FillFields(shortFieldList_, layer->fields, layer->shortField,
               cities ? QStringLiteral("(none: no regions)")
                      : QStringLiteral("(none: the names serve)"));
    projectionEdit_->setText(layer->projection);
    projectionEdit_->setCursorPosition(0);
    titleEdit_->setText(layer->name);
    setWorking(false);
}

void AddMapDialog::addMap() {
    const MapConverter::Layer* layer = chosenLayer();
    if (converter_.busy() || added_ || !layer || !layer->map) return;
    if (titleEdit_->text().trimmed().isEmpty()) titleEdit_->setText(layer->name);
    MapConverter::Choices c;
    c.layer = layer->name;
    c.nameField = nameFieldList_->currentData().toString();
    c.shortField = shortFieldList_->currentData().toString();
    c.projection = projectionEdit_->text().trimmed();
    c.title = titleEdit_->text().simplified();
    c.sourceName = sourceEdit_->text().trimmed();
    c.licence = licenceEdit_->text().trimmed();
    stepLabel_->setText(QStringLiteral("Starting…"));
    progress_->setRange(0, 0);
    setWorking(true);
    converter_.add(file_, c);
}

void AddMapDialog::converterFinished() {
    if (converter_.listing()) {
        listing_ = converter_.listing();
        const QSignalBlocker block(layerList_);
        layerList_->clear();
        auto* model = qobject_cast<QStandardItemModel*>(layerList_->model());
        for (size_t i = 0; i < listing_->layers.size(); ++i) {
            const MapConverter::Layer& layer = listing_->layers[i];
            layerList_->addItem(LayerCaption(layer), static_cast<int>(i));
            // Lines and tables stay in sight, so the user sees why they cannot be chosen.
            if (!layer.map && model) model->item(layerList_->count() - 1)->setEnabled(false);
            if (layer.name == listing_->defaultLayer)
                layerList_->setCurrentIndex(layerList_->count() - 1);
        }
        sourceEdit_->setText(listing_->source);
        sourceEdit_->setPlaceholderText(QFileInfo(file_).fileName());
        licenceEdit_->setText(listing_->licence);
        stepLabel_->setText(QStringLiteral("%1 layer(s) read.").arg(listing_->layers.size()));
        progress_->setRange(0, 1000);
        progress_->setValue(0);
        layerChosen();
        return;
    }
    if (converter_.added()) {
        added_ = converter_.added();
        const bool city = added_->kind == AddedMapKind::City;
        stepLabel_->setText(
            QStringLiteral("Added. “%1” is now in the map list of the “%2” page.")
                .arg(added_->title, city ? QStringLiteral("Bubble") : QStringLiteral("Map")));
        progress_->setRange(0, 1000);
        progress_->setValue(1000);
        report_->setPlainText(converter_.report());
        report_->show();
        setWorking(false);
        closeButton_->setDefault(true);
        return;
    }
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    if (converter_.cancelled()) {
        stepLabel_->setText(QStringLiteral("Cancelled: nothing was added."));
    } else {
        stepLabel_->setText(QStringLiteral("Nothing was added."));
        dialogs_.showError(this, converter_.error());
    }
    setWorking(false);
}

void AddMapDialog::setWorking(bool working) {
    const bool open = !working && !added_; // the choices can still change
    const MapConverter::Layer* layer = chosenLayer();
    const bool addable = open && layer && layer->map;
    chooseFileButton_->setEnabled(open);
    layerList_->setEnabled(open && listing_);
    for (QWidget* w :
         std::initializer_list<QWidget*>{nameFieldList_, shortFieldList_, projectionEdit_,
                                         titleEdit_, sourceEdit_, licenceEdit_})
        w->setEnabled(addable);
    addButton_->setEnabled(addable);
    addButton_->setVisible(!added_);
    closeButton_->setText(added_ && !working ? QStringLiteral("Close") : QStringLiteral("Cancel"));
}

void AddMapDialog::reject() {
    // Closing while the converter works stops it first: nothing half-done is left behind.
    if (converter_.busy()) converter_.waitUntilDone(0);
    if (added_)
        QDialog::accept();
    else
        QDialog::reject();
}

} // namespace tolvane
