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
                labStep_->setText(step + QStringLiteral("…"));
                progress_->setRange(0, permille < 0 ? 0 : 1000);
                if (permille >= 0) progress_->setValue(permille);
            });
    connect(&converter_, &MapConverter::finished, this, &AddMapDialog::converterFinished);
    setWorking(false);
}

void AddMapDialog::build() {
    edtFile_ = new QLineEdit(this);
    edtFile_->setReadOnly(true);
    cmdFile_ = new QPushButton(QStringLiteral("Choose…"), this);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(edtFile_, 1);
    fileRow->addWidget(cmdFile_);

    cmbLayer_ = new QComboBox(this);
    cmbNameField_ = new QComboBox(this);
    cmbShortField_ = new QComboBox(this);
    edtProjection_ = new QLineEdit(this);
    edtProjection_->setToolTip(
        QStringLiteral("A PROJ string or EPSG:code; \"source\" keeps the file's own coordinates. "
                       "The one proposed keeps the areas of the regions true."));
    edtTitle_ = new QLineEdit(this);
    edtSource_ = new QLineEdit(this);
    edtLicence_ = new QLineEdit(this);
    edtLicence_->setPlaceholderText(QStringLiteral("e.g. CC BY 4.0"));
    labShortField_ = new QLabel(QStringLiteral("&Short-name field:"), this);
    labShortField_->setBuddy(cmbShortField_);

    auto* form = new QFormLayout;
    auto* fileLabel = new QLabel(QStringLiteral("&File:"), this);
    fileLabel->setBuddy(cmdFile_);
    form->addRow(fileLabel, fileRow);
    form->addRow(QStringLiteral("&Layer:"), cmbLayer_);
    form->addRow(QStringLiteral("&Name field:"), cmbNameField_);
    form->addRow(labShortField_, cmbShortField_);
    form->addRow(QStringLiteral("&Projection:"), edtProjection_);
    form->addRow(QStringLiteral("&Title:"), edtTitle_);
    form->addRow(QStringLiteral("S&ource:"), edtSource_);
    form->addRow(QStringLiteral("L&icence:"), edtLicence_);

    labStep_ = new QLabel(this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    report_ = new QPlainTextEdit(this);
    report_->setReadOnly(true);
    report_->setMinimumHeight(160);
    report_->hide();

    auto* buttons = new QDialogButtonBox(this);
    cmdAdd_ = buttons->addButton(QStringLiteral("&Add"), QDialogButtonBox::AcceptRole);
    cmdClose_ = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cmdAdd_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(labStep_);
    layout->addWidget(progress_);
    layout->addWidget(report_, 1);
    layout->addWidget(buttons);
    setMinimumWidth(560);

    connect(cmdFile_, &QPushButton::clicked, this, &AddMapDialog::chooseFile);
    connect(cmbLayer_, &QComboBox::currentIndexChanged, this, &AddMapDialog::layerChosen);
    // The buttons' roles would close the dialog: they act first.
    disconnect(buttons, nullptr, this, nullptr);
    connect(cmdAdd_, &QPushButton::clicked, this, &AddMapDialog::addMap);
    connect(cmdClose_, &QPushButton::clicked, this, [this] {
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
    edtFile_->setText(QDir::toNativeSeparators(path));
    edtFile_->setCursorPosition(0);
    cmbLayer_->clear();
    labStep_->setText(QStringLiteral("Reading the layers…"));
    progress_->setRange(0, 0);
    setWorking(true);
    converter_.list(path);
}

const MapConverter::Layer* AddMapDialog::chosenLayer() const {
    const int i = cmbLayer_->currentData().toInt();
    if (!listing_ || cmbLayer_->currentIndex() < 0 || i < 0 ||
        i >= static_cast<int>(listing_->layers.size()))
        return nullptr;
    return &listing_->layers[static_cast<size_t>(i)];
}

void AddMapDialog::layerChosen() {
    const MapConverter::Layer* layer = chosenLayer();
    if (!layer || !layer->map) {
        cmbNameField_->clear();
        cmbShortField_->clear();
        setWorking(false);
        return;
    }
    const bool cities = *layer->map == AddedMapKind::City;
    labShortField_->setText(cities ? QStringLiteral("&Region field:")
                                   : QStringLiteral("&Short-name field:"));
    FillFields(cmbNameField_, layer->fields, layer->nameField, {});
    FillFields(cmbShortField_, layer->fields, layer->shortField,
               cities ? QStringLiteral("(none: no regions)")
                      : QStringLiteral("(none: the names serve)"));
    edtProjection_->setText(layer->projection);
    edtProjection_->setCursorPosition(0);
    edtTitle_->setText(layer->name);
    setWorking(false);
}

void AddMapDialog::addMap() {
    const MapConverter::Layer* layer = chosenLayer();
    if (converter_.busy() || added_ || !layer || !layer->map) return;
    if (edtTitle_->text().trimmed().isEmpty()) edtTitle_->setText(layer->name);
    MapConverter::Choices c;
    c.layer = layer->name;
    c.nameField = cmbNameField_->currentData().toString();
    c.shortField = cmbShortField_->currentData().toString();
    c.projection = edtProjection_->text().trimmed();
    c.title = edtTitle_->text().simplified();
    c.sourceName = edtSource_->text().trimmed();
    c.licence = edtLicence_->text().trimmed();
    labStep_->setText(QStringLiteral("Starting…"));
    progress_->setRange(0, 0);
    setWorking(true);
    converter_.add(file_, c);
}

void AddMapDialog::converterFinished() {
    if (converter_.listing()) {
        listing_ = converter_.listing();
        const QSignalBlocker block(cmbLayer_);
        cmbLayer_->clear();
        auto* model = qobject_cast<QStandardItemModel*>(cmbLayer_->model());
        for (size_t i = 0; i < listing_->layers.size(); ++i) {
            const MapConverter::Layer& layer = listing_->layers[i];
            cmbLayer_->addItem(LayerCaption(layer), static_cast<int>(i));
            // Lines and tables stay in sight, so the user sees why they cannot be chosen.
            if (!layer.map && model) model->item(cmbLayer_->count() - 1)->setEnabled(false);
            if (layer.name == listing_->defaultLayer)
                cmbLayer_->setCurrentIndex(cmbLayer_->count() - 1);
        }
        edtSource_->setText(listing_->source);
        edtSource_->setPlaceholderText(QFileInfo(file_).fileName());
        edtLicence_->setText(listing_->licence);
        labStep_->setText(QStringLiteral("%1 layer(s) read.").arg(listing_->layers.size()));
        progress_->setRange(0, 1000);
        progress_->setValue(0);
        layerChosen();
        return;
    }
    if (converter_.added()) {
        added_ = converter_.added();
        const bool city = added_->kind == AddedMapKind::City;
        labStep_->setText(
            QStringLiteral("Added. “%1” is now in the map list of the “%2” page.")
                .arg(added_->title, city ? QStringLiteral("Bubble") : QStringLiteral("Map")));
        progress_->setRange(0, 1000);
        progress_->setValue(1000);
        report_->setPlainText(converter_.report());
        report_->show();
        setWorking(false);
        cmdClose_->setDefault(true);
        return;
    }
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    if (converter_.cancelled()) {
        labStep_->setText(QStringLiteral("Cancelled: nothing was added."));
    } else {
        labStep_->setText(QStringLiteral("Nothing was added."));
        dialogs_.showError(this, converter_.error());
    }
    setWorking(false);
}

void AddMapDialog::setWorking(bool working) {
    const bool open = !working && !added_; // the choices can still change
    const MapConverter::Layer* layer = chosenLayer();
    const bool addable = open && layer && layer->map;
    cmdFile_->setEnabled(open);
    cmbLayer_->setEnabled(open && listing_);
    for (QWidget* w : std::initializer_list<QWidget*>{cmbNameField_, cmbShortField_, edtProjection_,
                                                      edtTitle_, edtSource_, edtLicence_})
        w->setEnabled(addable);
    cmdAdd_->setEnabled(addable);
    cmdAdd_->setVisible(!added_);
    cmdClose_->setText(added_ && !working ? QStringLiteral("Close") : QStringLiteral("Cancel"));
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
