#pragma once
// The plug-in callbacks that NP_GetEntryPoints hands to the host.
#include "plugin/npapi.h"

NPError NPP_Initialize();
void NPP_Shutdown();

NPError NPP_New(NPMIMEType type, NPP instance, uint16_t mode, int16_t argc, char** argn, char** argv,
                NPSavedData* saved);
NPError NPP_Destroy(NPP instance, NPSavedData** save);
NPError NPP_SetWindow(NPP instance, NPWindow* window);
NPError NPP_NewStream(NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable, uint16_t* streamType);
NPError NPP_DestroyStream(NPP instance, NPStream* stream, NPReason reason);
void NPP_StreamAsFile(NPP instance, NPStream* stream, const char* fileName);
int32_t NPP_WriteReady(NPP instance, NPStream* stream);
int32_t NPP_Write(NPP instance, NPStream* stream, int32_t offset, int32_t length, void* buffer);
void NPP_Print(NPP instance, NPPrint* request);

// The host's function table stored by NP_Initialize; null before and after.
NPNetscapeFuncs* hostFunctions();
