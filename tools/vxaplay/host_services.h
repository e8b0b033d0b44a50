#pragma once
// The host's function table handed to NP_Initialize. Memory comes from the C
// heap; every other service is one the plug-in should not need here: each
// call is logged and answered with an error or nothing.
#include "plugin/npapi.h"

NPNetscapeFuncs makeHostServices();
