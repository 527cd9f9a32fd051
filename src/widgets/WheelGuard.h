#pragma once

class QWidget;

namespace tolvane {

// Lets the mouse wheel change a list box only while it has the keyboard focus, so that
// scrolling a page past a map list never changes the map.
void IgnoreWheelUnlessFocused(QWidget* widget);

} // namespace tolvane
