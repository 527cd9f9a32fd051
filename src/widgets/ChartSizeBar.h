#pragma once

#include <QSize>
#include <QWidget>

class QLabel;
class QSlider;

namespace tolvane {

// "Chart Size:" with its track bar (0..20) and the current size in blue inside the caption.
// It only sets the size Save Chart uses; the preview keeps its own size.
class ChartSizeBar : public QWidget {
    Q_OBJECT
public:
    // `longCaption`: the caption naming minimum and maximum; else only the current size.
    ChartSizeBar(bool longCaption, QWidget* parent = nullptr);

    QSlider* slider() const { return slider_; }
    QLabel* sizeLabel() const { return label_; }
    QSize chartSize() const;

signals:
    void sizeChanged(QSize size);

private:
    void positionChanged(int position);

    QSlider* slider_;
    QLabel* label_;
};

} // namespace tolvane
