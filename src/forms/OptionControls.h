#pragma once

#include <QString>
#include <vector>

class QWidget;

namespace tolvane {

class MainWindow;

// The controls an options file sets, each by the key of its lines: "cmbMap:3" selects the
// fourth map of the "Map" page's list. The key is the control's objectName(), by which the
// options reader and writer (OptionsForm.h) and the tests find it; io/OptionsFile.h says
// what a line does by how its key starts.
struct OptionControl {
    const char* key;
    QWidget* (*control)(MainWindow& main);
};
const std::vector<OptionControl>& OptionControls();

// Gives every control of the table its key as objectName, once the pages are built.
void NameOptionControls(MainWindow& main);

} // namespace tolvane
