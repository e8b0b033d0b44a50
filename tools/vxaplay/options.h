#pragma once
// vxaplay's command line.
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "plugin/npapi.h"

struct Options {
    std::string movie;
    std::string plugins;     // empty: the folder of this program's build
    std::string installDir;  // empty: a folder of the program's own
    uint16_t mode = NP_EMBED;
    size_t chunk = 0;  // bytes per NPP_Write; 0: the whole file at once
    int chunkDelay = 0;  // ms between two chunks
    int endDelay = 0;    // ms between the last chunk and the end of the stream
    NPReason endReason = NPRES_DONE;
    int runFor = -1;  // ms; -1: until the window is closed
    std::vector<int> clicks;
    std::vector<int> escapes;
    int destroyAt = -1;
    bool destroyInPump = false;
    std::vector<std::pair<int, std::string>> snapshots;
    std::string recordDir;
    bool batch = false;
    bool help = false;  // print the usage and do nothing else
};

// Parses argv; on a fault, `error` says what is wrong. --help (or -h) anywhere
// asks for the usage alone: no movie is needed then.
bool parseOptions(int argc, char** argv, Options& options, std::string& error);

extern const char kUsage[];
