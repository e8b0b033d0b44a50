#include "host_services.h"

#include <cstdlib>

#include "event_log.h"

namespace {

// The API version this host speaks: major 0, minor 9.
constexpr uint16_t kHostApiVersion = 0x0009;

void unexpected(const char* name) { eventLog().line("host", name); }

void* memAlloc(uint32_t size) { return std::malloc(size); }
void memFree(void* memory) { std::free(memory); }

NPError getUrl(NPP, const char*, const char*) { return unexpected("NPN_GetURL"), NPERR_GENERIC_ERROR; }
NPError postUrl(NPP, const char*, const char*, uint32_t, const char*, NPBool) {
    return unexpected("NPN_PostURL"), NPERR_GENERIC_ERROR;
}
NPError requestRead(NPStream*, NPByteRange*) { return unexpected("NPN_RequestRead"), NPERR_GENERIC_ERROR; }
NPError newStream(NPP, NPMIMEType, const char*, NPStream**) { return unexpected("NPN_NewStream"), NPERR_GENERIC_ERROR; }
int32_t write(NPP, NPStream*, int32_t, void*) { return unexpected("NPN_Write"), -1; }
NPError destroyStream(NPP, NPStream*, NPReason) { return unexpected("NPN_DestroyStream"), NPERR_GENERIC_ERROR; }
void status(NPP, const char*) { unexpected("NPN_Status"); }
const char* userAgent(NPP) { return unexpected("NPN_UserAgent"), "vxaplay"; }
uint32_t memFlush(uint32_t) { return unexpected("NPN_MemFlush"), 0; }
void reloadPlugins(NPBool) { unexpected("NPN_ReloadPlugins"); }
void* getJavaEnv() { return unexpected("NPN_GetJavaEnv"), nullptr; }
void* getJavaPeer(NPP) { return unexpected("NPN_GetJavaPeer"), nullptr; }
NPError getUrlNotify(NPP, const char*, const char*, void*) { return unexpected("NPN_GetURLNotify"), NPERR_GENERIC_ERROR; }
NPError postUrlNotify(NPP, const char*, const char*, uint32_t, const char*, NPBool, void*) {
    return unexpected("NPN_PostURLNotify"), NPERR_GENERIC_ERROR;
}
NPError getValue(NPP, int, void*) { return unexpected("NPN_GetValue"), NPERR_GENERIC_ERROR; }
NPError setValue(NPP, int, void*) { return unexpected("NPN_SetValue"), NPERR_GENERIC_ERROR; }
void invalidateRect(NPP, NPRect*) { unexpected("NPN_InvalidateRect"); }
void invalidateRegion(NPP, void*) { unexpected("NPN_InvalidateRegion"); }
void forceRedraw(NPP) { unexpected("NPN_ForceRedraw"); }

}  // namespace

NPNetscapeFuncs makeHostServices() {
    NPNetscapeFuncs table{};
    table.size = sizeof table;
    table.version = kHostApiVersion;
    table.geturl = getUrl;
    table.posturl = postUrl;
    table.requestread = requestRead;
    table.newstream = newStream;
    table.write = write;
    table.destroystream = destroyStream;
    table.status = status;
    table.uagent = userAgent;
    table.memalloc = memAlloc;
    table.memfree = memFree;
    table.memflush = memFlush;
    table.reloadplugins = reloadPlugins;
    table.getJavaEnv = getJavaEnv;
    table.getJavaPeer = getJavaPeer;
    table.geturlnotify = getUrlNotify;
    table.posturlnotify = postUrlNotify;
    table.getvalue = getValue;
    table.setvalue = setValue;
    table.invalidaterect = invalidateRect;
    table.invalidateregion = invalidateRegion;
    table.forceredraw = forceRedraw;
    return table;
}
