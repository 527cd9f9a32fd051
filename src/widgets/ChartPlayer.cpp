#include "widgets/ChartPlayer.h"

#include "render/ChartRenderer.h"
#include "render/PictureFile.h"

#include <QContextMenuEvent>
#include <QPainter>

namespace tolvane {

ChartPlayer::ChartPlayer(QWidget* parent)
    : QWidget(parent) {
    // Right presses reach the player itself and go no further: no menu of its own, and
    // none of a parent's either.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartPlayer::LoadMovie(int layer, const QString& path) {
    if (layer != 0) return;
    moviePath_ = path;
    scene_ = LoadChartScene(path);
    picture_ = QImage();
    screen_ = QImage();
    update();
}

void ChartPlayer::Play() {
    picture();
    update();
}

QImage ChartPlayer::picture() const {
    if (picture_.size() != size()) picture_ = renderPicture(size());
    return picture_;
}

QImage ChartPlayer::renderPicture(QSize size) const {
    return RenderChartImage(scene_, size);
}

void ChartPlayer::savePicture(const QString& path, QSize size) const {
    WriteChartPicture(scene_, path, size);
}

void ChartPlayer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    if (ratio == 1.0) {
        painter.drawImage(0, 0, picture());
        return;
    }
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (screen_.size() != pixels) {
        screen_ = renderPicture(pixels);
        screen_.setDevicePixelRatio(ratio);
    }
    painter.drawImage(0, 0, screen_);
}

void ChartPlayer::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

} // namespace tolvane
