#pragma once

#include "charts/LegendSets.h"

#include <QDialog>
#include <functional>
#include <vector>

namespace tolvane {

class ColorEdit;
class ColorSwatch;
class Dialogs;

// "Legend Color Set": picks the colour of one legend item, from the colours already used in
// the page's data grid or from the colour dialog. Created once; the colour chosen last stays.
class LegendColorDialog : public QDialog {
    Q_OBJECT
public:
    // Target modes 1, 2 and 4 name the region, city and shade legend.
    using LegendResolver = std::function<LegendState*(int targetMode)>;

    LegendColorDialog(Dialogs& dialogs, LegendResolver resolver, QWidget* parent = nullptr);

    void setCopyColors(const CopyColors& colors); // the first 16 go on the swatches
    void setTarget(int mode, int row, int col);
    int targetMode() const { return targetMode_; }
    int targetRow() const { return targetRow_; }
    int targetCol() const { return targetCol_; }

    int32_t copyColor(int k) const; // swatch 1 .. 16
    int32_t legendColor() const;
    void setLegendColor(int32_t color);

    // OK: the legend item takes the colour, as one undo step.
    void applyColor();
    // A click on swatch k (1 .. 16): the legend colour becomes the swatch's.
    void takeCopyColor(int k);

private:
    LegendResolver resolver_;
    int targetMode_ = 0;
    int targetRow_ = 0;
    int targetCol_ = 0;
    std::vector<ColorSwatch*> swatches_;
    ColorEdit* legendColorEdit_ = nullptr;
};

} // namespace tolvane
