// vxaplay: plays a .vxa movie through the video/vxa plug-in the way a
// browser would, and tells on standard output what happened when.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "event_log.h"
#include "host_paths.h"
#include "host_services.h"
#include "message_box_watcher.h"
#include "core/format/header.h"
#include "options.h"
#include "player.h"
#include "plugin_library.h"

namespace {

// A movie whose header cannot be read still gets a window.
constexpr int kFallbackWidth = 320;
constexpr int kFallbackHeight = 240;

int fail(const std::string& message) {
    std::fprintf(stderr, "vxaplay: %s\n", message.c_str());
    return 1;
}

bool readFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "vxaplay: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    options.movie = windowsPath(options.movie);
    if (!options.recordDir.empty()) {
        options.recordDir = windowsPath(options.recordDir);
        if (!makeFolders(options.recordDir)) return fail("cannot make " + options.recordDir);
    }
    for (auto& snapshot : options.snapshots) snapshot.second = windowsPath(snapshot.second);

    std::vector<uint8_t> movie;
    if (!readFile(options.movie, movie)) return fail("cannot read " + options.movie);
    int width = kFallbackWidth;
    int height = kFallbackHeight;
    vxa::Header header;
    if (vxa::decodeHeader(movie.data(), movie.size(), header) == vxa::HeaderStatus::Complete && header.width > 0 &&
        header.height > 0) {
        width = header.width;
        height = header.height;
    }

    EventLog& log = eventLog();
    MessageBoxWatcher watcher(options.batch, [&log](const SeenBox& box) {
        log.line("box", oneLine(box.caption) + ": " + oneLine(box.text));
    });

    // The build's top folder, where the module is made.
    const std::string plugins =
        options.plugins.empty() ? parentFolder(parentFolder(programFolder())) : windowsPath(options.plugins);
    const std::string pluginPath = findPlugin(plugins, "video/vxa", "vxa");
    if (pluginPath.empty()) return fail("no plug-in for video/vxa (.vxa) in " + plugins);
    log.line("plugin", pluginPath);

    if (options.installDir.empty()) {
        options.installDir = programFolder() + "\\navigator";
        makeFolders(options.installDir + "\\PROGRAM\\PLUGINS\\VXA_WAV");
    } else {
        options.installDir = windowsPath(options.installDir);
    }

    PluginLibrary library;
    if (!library.load(pluginPath, error)) return fail(error);
    NPPluginFuncs plugin{};
    plugin.size = sizeof plugin;
    const NPError entries = library.getEntryPoints(&plugin);
    log.call("NP_GetEntryPoints", entries);
    NPNetscapeFuncs host = makeHostServices();
    const NPError initialized = entries == NPERR_NO_ERROR ? library.initialize(&host) : entries;
    log.call("NP_Initialize", initialized);
    if (initialized != NPERR_NO_ERROR || !plugin.newp) return fail("the plug-in did not start");

    {
        Player player(options, plugin, std::move(movie), width, height);
        if (!player.createWindows()) return fail("cannot create the page's windows");
        log.start();
        player.start();
        player.run();
        player.endInstance();
    }
    log.call("NP_Shutdown", library.shutdown());
    library.unload();
    std::printf("exit 0\n");
    std::fflush(stdout);
    return 0;
}
