#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QString>

namespace tolvane {

// Qt's SVG renderer ignores markers, and draws a marker's content once at the origin
// instead. Some flags draw their stars as markers on the vertices of a path (the United
// States has fifty). This writes each marker out as ordinary content at every vertex it
// marks, so the renderer draws what the file shows. Files without markers come back as
// they are.
QByteArray ExpandSvgMarkers(const QByteArray& svg);

// The vertices of SVG path data, in order, closing points included.
QList<QPointF> PathDataVertices(const QString& d);

} // namespace tolvane
