#include "core/tables/pattern_tiles.h"

const std::array<PatternTile, 64> PatternTiles = {{
#include "core/tables/pattern_tiles.inc"
}};
