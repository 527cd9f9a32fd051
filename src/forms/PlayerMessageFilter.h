#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <vector>

namespace tolvane {

// Keeps right presses away from the preview players, so no context menu can appear over
// the chart; everything else passes.
class PlayerMessageFilter : public QObject {
    Q_OBJECT
public:
    explicit PlayerMessageFilter(QObject* parent = nullptr);
    void guard(QWidget* player) { players_.emplace_back(player); }
    // Installs itself as the application's filter (again, harmlessly, when already there).
    void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool overPlayer(QWidget* widget) const;
    std::vector<QPointer<QWidget>> players_;
};

} // namespace tolvane
