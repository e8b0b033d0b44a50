// Placeholder callbacks until the instance life is built.
#include "plugin/callbacks.h"

NPError NPP_Initialize() { return NPERR_NO_ERROR; }
void NPP_Shutdown() {}
NPError NPP_New(NPMIMEType, NPP instance, uint16_t, int16_t, char**, char**, NPSavedData*) {
    return instance ? NPERR_GENERIC_ERROR : NPERR_INVALID_INSTANCE_ERROR;
}
NPError NPP_Destroy(NPP, NPSavedData**) { return NPERR_NO_ERROR; }
NPError NPP_SetWindow(NPP, NPWindow*) { return NPERR_GENERIC_ERROR; }
NPError NPP_NewStream(NPP, NPMIMEType, NPStream*, NPBool, uint16_t*) { return NPERR_GENERIC_ERROR; }
NPError NPP_DestroyStream(NPP, NPStream*, NPReason) { return NPERR_NO_ERROR; }
void NPP_StreamAsFile(NPP, NPStream*, const char*) {}
int32_t NPP_WriteReady(NPP, NPStream*) { return 0x0FFFFFFF; }
int32_t NPP_Write(NPP, NPStream*, int32_t, int32_t, void*) { return 0; }
void NPP_Print(NPP, NPPrint*) {}
