#pragma once
// Our declarations of the Netscape Plugin API's types, written from the API's
// documented layouts. Only what this module and its test host use is declared.
// The exported entry points use the Windows API calling convention; the
// callbacks in the tables use the C calling convention.
#include <cstddef>
#include <cstdint>

using NPError = int16_t;
using NPReason = int16_t;
using NPBool = unsigned char;
using NPMIMEType = char*;

enum : NPError {
    NPERR_NO_ERROR = 0,
    NPERR_GENERIC_ERROR = 1,
    NPERR_INVALID_INSTANCE_ERROR = 2,
    NPERR_INVALID_FUNCTABLE_ERROR = 3,
    NPERR_MODULE_LOAD_FAILED_ERROR = 4,
    NPERR_OUT_OF_MEMORY_ERROR = 5,
    NPERR_INVALID_PLUGIN_ERROR = 6,
    NPERR_INVALID_PLUGIN_DIR_ERROR = 7,
    NPERR_INCOMPATIBLE_VERSION_ERROR = 8,
};

enum : NPReason { NPRES_DONE = 0, NPRES_NETWORK_ERR = 1, NPRES_USER_BREAK = 2 };

enum : uint16_t { NP_EMBED = 1, NP_FULL = 2 };
enum : uint16_t { NP_NORMAL = 1, NP_SEEK = 2, NP_ASFILE = 3, NP_ASFILEONLY = 4 };

// The API's version this module implements: major 0, minor 6.
constexpr uint16_t kPluginApiVersion = 6;

struct NPP_t {
    void* pdata;  // the plug-in's
    void* ndata;  // the host's
};
using NPP = NPP_t*;

struct NPStream {
    void* pdata;
    void* ndata;
    const char* url;
    uint32_t end;
    uint32_t lastmodified;
    void* notifyData;
};

struct NPByteRange {
    int32_t offset;
    uint32_t length;
    NPByteRange* next;
};

struct NPSavedData {
    int32_t len;
    void* buf;
};

struct NPRect {
    uint16_t top;
    uint16_t left;
    uint16_t bottom;
    uint16_t right;
};

enum NPWindowType { NPWindowTypeWindow = 1, NPWindowTypeDrawable = 2 };

struct NPWindow {
    void* window;  // the HWND on Windows
    int32_t x;
    int32_t y;
    uint32_t width;
    uint32_t height;
    NPRect clipRect;
    NPWindowType type;
};

struct NPFullPrint {
    NPBool pluginPrinted;
    NPBool printOne;
    void* platformPrint;
};

struct NPEmbedPrint {
    NPWindow window;
    void* platformPrint;
};

struct NPPrint {
    uint16_t mode;
    union {
        NPFullPrint fullPrint;
        NPEmbedPrint embedPrint;
    } print;
};

// Plug-in callbacks, called by the host.
using NPP_NewProc = NPError (*)(NPMIMEType, NPP, uint16_t, int16_t, char**, char**, NPSavedData*);
using NPP_DestroyProc = NPError (*)(NPP, NPSavedData**);
using NPP_SetWindowProc = NPError (*)(NPP, NPWindow*);
using NPP_NewStreamProc = NPError (*)(NPP, NPMIMEType, NPStream*, NPBool, uint16_t*);
using NPP_DestroyStreamProc = NPError (*)(NPP, NPStream*, NPReason);
using NPP_StreamAsFileProc = void (*)(NPP, NPStream*, const char*);
using NPP_WriteReadyProc = int32_t (*)(NPP, NPStream*);
using NPP_WriteProc = int32_t (*)(NPP, NPStream*, int32_t, int32_t, void*);
using NPP_PrintProc = void (*)(NPP, NPPrint*);
using NPP_HandleEventProc = int16_t (*)(NPP, void*);
using NPP_URLNotifyProc = void (*)(NPP, const char*, NPReason, void*);
using NPP_GetValueProc = NPError (*)(NPP, int, void*);
using NPP_SetValueProc = NPError (*)(NPP, int, void*);

struct NPPluginFuncs {
    uint16_t size;
    uint16_t version;
    NPP_NewProc newp;
    NPP_DestroyProc destroy;
    NPP_SetWindowProc setwindow;
    NPP_NewStreamProc newstream;
    NPP_DestroyStreamProc destroystream;
    NPP_StreamAsFileProc asfile;
    NPP_WriteReadyProc writeready;
    NPP_WriteProc write;
    NPP_PrintProc print;
    NPP_HandleEventProc event;
    NPP_URLNotifyProc urlnotify;
    void* javaClass;
    NPP_GetValueProc getvalue;
    NPP_SetValueProc setvalue;
};

// Host services, called by the plug-in.
struct NPNetscapeFuncs {
    uint16_t size;
    uint16_t version;
    NPError (*geturl)(NPP, const char*, const char*);
    NPError (*posturl)(NPP, const char*, const char*, uint32_t, const char*, NPBool);
    NPError (*requestread)(NPStream*, NPByteRange*);
    NPError (*newstream)(NPP, NPMIMEType, const char*, NPStream**);
    int32_t (*write)(NPP, NPStream*, int32_t, void*);
    NPError (*destroystream)(NPP, NPStream*, NPReason);
    void (*status)(NPP, const char*);
    const char* (*uagent)(NPP);
    void* (*memalloc)(uint32_t);
    void (*memfree)(void*);
    uint32_t (*memflush)(uint32_t);
    void (*reloadplugins)(NPBool);
    void* (*getJavaEnv)();
    void* (*getJavaPeer)(NPP);
    NPError (*geturlnotify)(NPP, const char*, const char*, void*);
    NPError (*posturlnotify)(NPP, const char*, const char*, uint32_t, const char*, NPBool, void*);
    NPError (*getvalue)(NPP, int, void*);
    NPError (*setvalue)(NPP, int, void*);
    void (*invalidaterect)(NPP, NPRect*);
    void (*invalidateregion)(NPP, void*);
    void (*forceredraw)(NPP);
};

// The least table sizes the module accepts: each table must reach through the
// last entry the module fills in or calls.
constexpr uint16_t kMinPluginFuncsSize = offsetof(NPPluginFuncs, event) + sizeof(NPP_HandleEventProc);
constexpr uint16_t kMinNetscapeFuncsSize =
    offsetof(NPNetscapeFuncs, reloadplugins) + sizeof(void (*)(NPBool));

#if defined(_WIN32) && !defined(_WIN64)
static_assert(kMinPluginFuncsSize == 44, "the 32-bit host's plug-in table reaches its event entry at 44 bytes");
static_assert(kMinNetscapeFuncsSize == 52, "the 32-bit host's table reaches reloadplugins at 52 bytes");
#endif

#ifdef _WIN32
#define NP_EXPORT_CALL __stdcall
#else
#define NP_EXPORT_CALL
#endif

extern "C" {
NPError NP_EXPORT_CALL NP_GetEntryPoints(NPPluginFuncs* functions);
NPError NP_EXPORT_CALL NP_Initialize(NPNetscapeFuncs* host);
NPError NP_EXPORT_CALL NP_Shutdown();
}
