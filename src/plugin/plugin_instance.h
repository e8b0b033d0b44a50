#pragma once
// The record of one plug-in instance. It lives in memory that the host
// allocates (NPN_MemAlloc), so it is a plain record: it is filled in field by
// field and never gets a constructor or destructor run.
#include <windows.h>

#include <cstdint>

#include "plugin/npapi.h"

class Movie;
class MovieWindow;

struct PluginInstance {
    uint16_t mode;           // NP_EMBED or NP_FULL, as given to NPP_New
    NPWindow* hostWindow;    // the first window record with a handle; the host's
    uint8_t streamOpen;      // from NPP_NewStream until a normal end of the stream
    uint8_t destroying;      // NPP_Destroy has begun
    const uint8_t* chunkData;  // the host's buffer, during one NPP_Write only
    int32_t chunkLength;
    uint32_t streamStartTick;
    uint32_t streamEndTick;
    MovieWindow* movieWindow;  // owned
    Movie* movie;              // owned by movieWindow; a second reference
    RECT movieRect;            // (0, 0, 640, 480) until the Movie gives its bounds
    // Set while NPP_Write takes a chunk. A message box inside it runs the
    // host's messages, which may end the instance: the record is then freed
    // when NPP_Write returns, and a chunk offered meanwhile is not taken.
    uint8_t writing;
};

// Bookkeeping only: nothing depends on these values.
constexpr RECT kInitialMovieRect{0, 0, 640, 480};
