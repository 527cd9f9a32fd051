#include "widgets/WorkProgress.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <future>
#include <memory>

namespace tolvane {

void RunWithProgress(QWidget* parent, const QString& label, const std::function<void()>& work,
                     const WorkFeedback& feedback, std::chrono::milliseconds showAfter) {
    std::future<void> done = std::async(std::launch::async, work);
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QProgressDialog> dialog;
    while (done.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready) {
        if (!dialog && clock.elapsed() >= showAfter.count()) {
            dialog =
                std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, 1000, parent);
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->setAutoClose(false);
            dialog->setAutoReset(false);
            dialog->setMinimumDuration(0);
            QObject::connect(dialog.get(), &QProgressDialog::canceled, [&feedback] {
                if (feedback.cancel) feedback.cancel();
            });
            dialog->show();
        }
        if (dialog) {
            const int permille = feedback.permille ? feedback.permille() : -1;
            if (permille < 0) {
                dialog->setRange(0, 0); // a busy bar until the work knows how far it is
            } else {
                dialog->setRange(0, 1000);
                dialog->setValue(permille);
            }
        }
        // While the modal dialog is up, only it takes input: its Cancel button must work.
        QCoreApplication::processEvents(dialog ? QEventLoop::AllEvents
                                               : QEventLoop::ExcludeUserInputEvents);
    }
    done.get();
}

} // namespace tolvane
