#include "forms/SaveChart.h"

#include "model/UserError.h"
#include "platform/Dialogs.h"
#include "widgets/ChartPlayer.h"

#include <QFileInfo>

namespace tolvane {

QString WithPictureExtension(const QString& chosen) {
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    static const QStringList kept{"bmp", "png", "svg", "pdf"};
    return kept.contains(suffix) ? chosen : chosen + QStringLiteral(".bmp");
}

void SaveChartPicture(QWidget* parent, Dialogs& dialogs, ChartPlayer* capture, QSize size,
                      const std::function<void(ChartPlayer*)>& restart) {
    capture->resize(size);
    restart(capture);
    // Every format the player writes, the bitmap first.
    const auto chosen = dialogs.saveFile(parent, QStringLiteral("Save Chart"),
                                         QStringLiteral("*.bmp;;*.png;;*.svg;;*.pdf"));
    if (!chosen) return;
    const QString path = WithPictureExtension(*chosen);
    if (QFileInfo::exists(path) &&
        !dialogs.askOkCancel(
            parent, QStringLiteral("Information"),
            QStringLiteral("A same named file has existed. Do you want to replace it?")))
        return;
    try {
        capture->savePicture(path, size);
    } catch (const UserError& e) {
        dialogs.showError(parent, e.message());
    }
}

} // namespace tolvane
