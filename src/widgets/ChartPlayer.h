#pragma once

#include "render/ChartScene.h"
#include "render/HitTest.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

namespace tolvane {

// Plays a chart movie: the map movie staged as data/cmap.map (or any movie file) drawn
// with the staged data file its kind names, beside it. The movie is fitted into the widget
// keeping its proportions. Everything is drawn synchronously: when play() returns, the
// picture is final. The player never shows a message box: what it cannot draw it notes
// in the picture.
class ChartPlayer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Menu READ menu WRITE setMenu)

public:
    explicit ChartPlayer(QWidget* parent = nullptr);

    // Replaces the movie of layer 0 (other layers are not used); loading the same path
    // again reads the movie and its staged data file afresh.
    void loadMovie(int layer, const QString& path);
    // Draws the loaded movie.
    void play();

    // The player's own context menu. There is none either way; the property is kept for
    // the callers that switch it off.
    void setMenu(bool on) { menu_ = on; }
    bool menu() const { return menu_; }

    // The current picture at the widget's size.
    QImage picture() const;
    // The same chart drawn directly at any size.
    QImage renderPicture(QSize size) const;
    // Writes the chart at `size`: a 24-bit BMP unless the name ends in .png, .svg or .pdf.
    // Throws UserError with a message for the user.
    void savePicture(const QString& path, QSize size) const;

    QString moviePath() const { return moviePath_; }
    const ChartScene& scene() const { return scene_; }

    // What lies under a point of the widget, and its tooltip text.
    ChartHit hitAt(const QPoint& position) const;
    QString describe(const ChartHit& hit) const;
    // Outlines a region or city of the chart, as the page's grid row names it (by name
    // and short name or region); an entry the chart lacks outlines nothing.
    void highlight(ChartHit::Kind kind, const QString& name, const QString& key);
    ChartHit highlighted() const { return highlight_; }

signals:
    // A left click on a region or city of the chart.
    void entryClicked(ChartHit hit);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ChartScene scene_;
    QString moviePath_;
    bool menu_ = true;
    // The last pictures drawn, kept until the scene or the size changes: one at the
    // widget's size, one at the screen's pixel density when that differs.
    mutable QImage picture_;
    mutable QImage screen_;
    // Hit testing works in the widget's frame; rebuilt when the scene or the size changes.
    const ChartHitIndex& hitIndex() const;
    mutable ChartHitIndex hits_;
    mutable QSize hitsSize_;
    ChartHit hover_;
    ChartHit highlight_;
};

} // namespace tolvane
