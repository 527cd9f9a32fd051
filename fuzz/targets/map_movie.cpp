// Map movies (TopoJSON) as the player decodes them.
#include "FuzzTargets.h"
#include "model/UserError.h"
#include "render/MapMovie.h"

using namespace tolvane;

TOLVANE_FUZZ_TARGET(map_movie) {
    try {
        ParseMapMovie(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    } catch (const UserError&) {
    }
}
