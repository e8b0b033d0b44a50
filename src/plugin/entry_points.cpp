// The module's three exports, through which the host finds the callbacks.
#include "plugin/callbacks.h"

namespace {
NPNetscapeFuncs* gHost = nullptr;
}

NPNetscapeFuncs* hostFunctions() { return gHost; }

extern "C" NPError NP_EXPORT_CALL NP_GetEntryPoints(NPPluginFuncs* functions) {
    if (!functions || functions->size < kMinPluginFuncsSize) return NPERR_INVALID_FUNCTABLE_ERROR;
    functions->version = kPluginApiVersion;
    functions->newp = NPP_New;
    functions->destroy = NPP_Destroy;
    functions->setwindow = NPP_SetWindow;
    functions->newstream = NPP_NewStream;
    functions->destroystream = NPP_DestroyStream;
    functions->asfile = NPP_StreamAsFile;
    functions->writeready = NPP_WriteReady;
    functions->write = NPP_Write;
    functions->print = NPP_Print;
    functions->event = nullptr;
    return NPERR_NO_ERROR;
}

extern "C" NPError NP_EXPORT_CALL NP_Initialize(NPNetscapeFuncs* host) {
    if (!host) return NPERR_INVALID_FUNCTABLE_ERROR;
    gHost = host;  // kept even when a check below fails
    if ((host->version >> 8) > 0) return NPERR_INCOMPATIBLE_VERSION_ERROR;
    if (host->size < kMinNetscapeFuncsSize) return NPERR_INVALID_FUNCTABLE_ERROR;
    return NPP_Initialize();
}

extern "C" NPError NP_EXPORT_CALL NP_Shutdown() {
    NPP_Shutdown();
    gHost = nullptr;
    return NPERR_NO_ERROR;
}
