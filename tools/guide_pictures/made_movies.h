#pragma once
// Movies made for the guide from the project's own tables and rules, so
// that their pictures cannot drift from what a player does: the colour
// table as labelled swatches, the 64 patterns with their numbers, and the
// frame times and frame orders of the playback timeline.
#include "json_fields.h"

namespace guide {

vxa::tool::Json colourSwatchMovie();
vxa::tool::Json patternSheetMovie();
vxa::tool::Json playbackChartMovie();

}  // namespace guide
