#pragma once

#include "charts/AddedMaps.h"
#include "io/MapConverter.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace tolvane {

class Dialogs;

// "Add map…": turns a layer of a GeoJSON, TopoJSON, Shapefile or GeoPackage file into a map
// of the program's own. The user chooses the file, the layer, the fields that name the
// regions or cities, the projection, the title and the attribution; the converter runs
// with progress and Cancel; at the end the dialog tells what it changed or left out.
class AddMapDialog : public QDialog {
    Q_OBJECT
public:
    AddMapDialog(Dialogs& dialogs, const QString& appFolder, QWidget* parent = nullptr);

    // Asks for the file and reads its layers; false when the user chose none.
    bool chooseFile();
    // Reads the layers of `path` (the converter reports when done: see busy()).
    void openFile(const QString& path);
    // Adds the map as the controls say.
    void addMap();
    bool busy() const { return converter_.busy(); }

    // The map added, once it has been.
    const std::optional<AddedMap>& addedMap() const { return added_; }

    QComboBox* layerList() const { return layerList_; }
    QComboBox* nameFieldList() const { return nameFieldList_; }
    QComboBox* shortFieldList() const { return shortFieldList_; }
    QLineEdit* projectionEdit() const { return projectionEdit_; }
    QLineEdit* titleEdit() const { return titleEdit_; }
    QLineEdit* sourceEdit() const { return sourceEdit_; }
    QLineEdit* licenceEdit() const { return licenceEdit_; }
    QPushButton* addButton() const { return addButton_; }
    QPushButton* closeButton() const { return closeButton_; }
    QPlainTextEdit* report() const { return report_; }

    void reject() override;

private:
    void build();
    void layerChosen();
    void converterFinished();
    void setWorking(bool working);
    const MapConverter::Layer* chosenLayer() const;

    Dialogs& dialogs_;
    MapConverter converter_;
    QString file_;
    std::optional<MapConverter::Listing> listing_;
    std::optional<AddedMap> added_;

    QLineEdit* fileEdit_ = nullptr;
    QPushButton* chooseFileButton_ = nullptr;
    QComboBox* layerList_ = nullptr;
    QLabel* shortFieldLabel_ = nullptr;
    QComboBox* nameFieldList_ = nullptr;
    QComboBox* shortFieldList_ = nullptr;
    QLineEdit* projectionEdit_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    QLineEdit* sourceEdit_ = nullptr;
    QLineEdit* licenceEdit_ = nullptr;
    QLabel* stepLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace tolvane
