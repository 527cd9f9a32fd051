#include "widgets/ChartPlayer.h"

#include "render/ChartRenderer.h"
#include "render/PictureFile.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace tolvane {

ChartPlayer::ChartPlayer(QWidget* parent)
    : QWidget(parent) {
    // Right presses reach the player itself and go no further: no menu of its own, and
    // none of a parent's either.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void ChartPlayer::loadMovie(int layer, const QString& path) {
    if (layer != 0) return;
    moviePath_ = path;
    scene_ = LoadChartScene(path);
    picture_ = QImage();
    screen_ = QImage();
    hitsSize_ = QSize();
    hover_ = {};
    highlight_ = {};
    update();
}

void ChartPlayer::play() {
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
    } else {
        const QSize pixels = (QSizeF(size()) * ratio).toSize();
        if (screen_.size() != pixels) {
            screen_ = renderPicture(pixels);
            screen_.setDevicePixelRatio(ratio);
        }
        painter.drawImage(0, 0, screen_);
    }
    if (highlight_.kind == ChartHit::Kind::None) return;
    // The selected row's shape, outlined over the picture: dark inside a light halo.
    const QPainterPath outline = hitIndex().outline(highlight_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(
        QPen(QColor(255, 255, 255, 220), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(outline);
    painter.setPen(QPen(QColor(20, 60, 160), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(outline);
}

const ChartHitIndex& ChartPlayer::hitIndex() const {
    if (hitsSize_ != size()) {
        hits_ = ChartHitIndex(scene_, QRectF(QPointF(0, 0), QSizeF(size())));
        hitsSize_ = size();
    }
    return hits_;
}

ChartHit ChartPlayer::hitAt(const QPoint& position) const {
    return hitIndex().at(position);
}

QString ChartPlayer::describe(const ChartHit& hit) const {
    return hitIndex().describe(hit);
}

void ChartPlayer::highlight(ChartHit::Kind kind, const QString& name, const QString& key) {
    const ChartHit hit = hitIndex().find(kind, name, key);
    if (hit == highlight_) return;
    highlight_ = hit;
    update();
}

void ChartPlayer::mouseMoveEvent(QMouseEvent* event) {
    const ChartHit hit = hitAt(event->position().toPoint());
    if (hit == hover_) return;
    hover_ = hit;
    if (hit.kind == ChartHit::Kind::None)
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), describe(hit), this);
}

void ChartPlayer::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const ChartHit hit = hitAt(event->position().toPoint());
    if (hit.kind != ChartHit::Kind::None) emit entryClicked(hit);
}

void ChartPlayer::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

} // namespace tolvane
