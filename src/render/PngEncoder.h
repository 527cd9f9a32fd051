#pragma once

#include <QByteArray>
#include <QImage>

namespace tolvane {

// A PNG of the image's RGB pixels (8 bits a channel, no alpha, no interlace), or an empty
// array when the image is empty or the compressor fails.
//
// Deflating is nearly all of the cost, so the rows are split into bands deflated on the
// cores there are and joined into the one zlib stream PNG asks for. Every band but the last
// goes through ISA-L, which packs three times faster than zlib's fastest level and ends a
// band on a byte boundary for the next to follow. The last third goes through libdeflate,
// which packs an eighth tighter than ISA-L but can end its stream only at the picture's
// end. Together a chart picture stays within 13% of zlib's default level (tools/bench has
// the measurements) in a fifth of its time. Rows are written unfiltered: chart pictures
// are flat colours, which the PNG filters turn into more varied bytes that pack worse.
QByteArray EncodePng(const QImage& image);

} // namespace tolvane
