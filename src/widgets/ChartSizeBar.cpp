#include "widgets/ChartSizeBar.h"

#include "model/ChartSize.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

namespace tolvane {

ChartSizeBar::ChartSizeBar(bool longCaption, QWidget* parent)
    : QWidget(parent)
    , slider_(new QSlider(Qt::Horizontal, this))
    , label_(new QLabel(ChartSizeLabel(ChartSizeForPosition(0)), this)) {
    slider_->setRange(0, kChartSizeMax);
    slider_->setPageStep(1);
    slider_->setTickPosition(QSlider::TicksBelow);
    slider_->setTickInterval(1);
    slider_->setMinimumWidth(120);
    slider_->setAccessibleName(QStringLiteral("Chart Size"));
    label_->setStyleSheet(QStringLiteral("color: blue;"));
    label_->setMinimumWidth(label_->fontMetrics().horizontalAdvance(QStringLiteral("2000X1400")) +
                            4);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* title = new QLabel(QStringLiteral("Chart Size:"), this);
    title->setBuddy(slider_);
    layout->addWidget(title);
    layout->addWidget(slider_, 1);
    layout->addWidget(
        new QLabel(longCaption ? QStringLiteral("( Minimun: 500X350, Maximum: 2000X1400. Current:")
                               : QStringLiteral("( Current:"),
                   this));
    layout->addWidget(label_);
    layout->addWidget(new QLabel(QStringLiteral(")"), this));

    connect(slider_, &QSlider::valueChanged, this, &ChartSizeBar::positionChanged);
}

QSize ChartSizeBar::chartSize() const {
    return ChartSizeForPosition(slider_->value());
}

void ChartSizeBar::positionChanged(int position) {
    const QSize size = ChartSizeForPosition(position);
    label_->setText(ChartSizeLabel(size));
    emit sizeChanged(size);
}

} // namespace tolvane
