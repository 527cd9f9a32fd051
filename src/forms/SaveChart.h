#pragma once

#include <QSize>
#include <QString>
#include <functional>

class QWidget;

namespace tolvane {

class ChartPlayer;
class Dialogs;

// The name Save Chart writes to: a name without a picture extension the player writes
// (.bmp, .png, .svg, .pdf) gets ".bmp".
QString WithPictureExtension(const QString& chosen);

// Draws the staged chart in the capture player at `size`, asks for a file name (and before
// replacing a file), and saves the picture. Errors are shown; nothing is written on cancel.
// `restart` runs the preview restart sequence on the capture player.
void SaveChartPicture(QWidget* parent, Dialogs& dialogs, ChartPlayer* capture, QSize size,
                      const std::function<void(ChartPlayer*)>& restart);

} // namespace tolvane
