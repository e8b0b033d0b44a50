#include "options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char kUsage[] =
    "usage: vxaplay [options] MOVIE.vxa\n"
    "  --plugins DIR        folder to find the video/vxa plug-in in (default: this build's)\n"
    "  --install-dir DIR    the browser's installation folder written to the registry;\n"
    "                       sounds are then read from DIR\\PROGRAM\\PLUGINS\\VXA_WAV\\\n"
    "  --mode embed|full    how the plug-in is embedded (default embed)\n"
    "  --chunk BYTES        bytes per NPP_Write (default: the whole file)\n"
    "  --chunk-delay MS     time between two chunks\n"
    "  --end-delay MS       time between the last chunk and NPP_DestroyStream\n"
    "  --end-reason done|network-error|user-break   (default done)\n"
    "  --for MS             end the instance and exit after MS (default: when closed)\n"
    "  --click MS           a left click into the plug-in's window (repeatable)\n"
    "  --esc MS             an ESC key for the plug-in's message pump (repeatable)\n"
    "  --destroy MS[:pump]  NPP_Destroy at MS; with :pump, from inside the plug-in's\n"
    "                       pump (posted just before its next timer message)\n"
    "  --snapshot MS:FILE   save the plug-in's window as a PNG (repeatable)\n"
    "  --record DIR         save every new picture as DIR/NNNNN-MS.png\n"
    "  --batch              answer every message box with OK\n"
    "  --help, -h           print this and exit\n";

namespace {

bool readNumber(const char* text, long long low, long long high, long long& value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

bool readTime(const char* text, int& ms) {
    long long value = 0;
    if (!readNumber(text, 0, 0x7FFFFFFF, value)) return false;
    ms = static_cast<int>(value);
    return true;
}

}  // namespace

bool parseOptions(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto bad = [&](const char* what) {
            error = name + ": " + (value ? std::string("'") + value + "' is not " + what : std::string("needs ") + what);
            return false;
        };
        long long number = 0;
        int ms = 0;
        if (name == "--batch") {
            options.batch = true;
            continue;
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            return true;
        }
        if (name.size() < 2 || name.compare(0, 2, "--") != 0) {
            if (!options.movie.empty()) {
                error = "more than one movie: " + name;
                return false;
            }
            options.movie = name;
            continue;
        }
        if (!value) return bad("a value");
        ++i;
        if (name == "--plugins") {
            options.plugins = value;
        } else if (name == "--install-dir") {
            options.installDir = value;
        } else if (name == "--record") {
            options.recordDir = value;
        } else if (name == "--mode") {
            if (std::strcmp(value, "embed") == 0) options.mode = NP_EMBED;
            else if (std::strcmp(value, "full") == 0) options.mode = NP_FULL;
            else return bad("embed or full");
        } else if (name == "--chunk") {
            if (!readNumber(value, 1, 0x7FFFFFFF, number)) return bad("a byte count above 0");
            options.chunk = static_cast<size_t>(number);
        } else if (name == "--chunk-delay") {
            if (!readTime(value, options.chunkDelay)) return bad("a time in ms");
        } else if (name == "--end-delay") {
            if (!readTime(value, options.endDelay)) return bad("a time in ms");
        } else if (name == "--end-reason") {
            if (std::strcmp(value, "done") == 0) options.endReason = NPRES_DONE;
            else if (std::strcmp(value, "network-error") == 0) options.endReason = NPRES_NETWORK_ERR;
            else if (std::strcmp(value, "user-break") == 0) options.endReason = NPRES_USER_BREAK;
            else return bad("done, network-error or user-break");
        } else if (name == "--for") {
            if (!readTime(value, options.runFor)) return bad("a time in ms");
        } else if (name == "--click") {
            if (!readTime(value, ms)) return bad("a time in ms");
            options.clicks.push_back(ms);
        } else if (name == "--esc") {
            if (!readTime(value, ms)) return bad("a time in ms");
            options.escapes.push_back(ms);
        } else if (name == "--destroy") {
            std::string text = value;
            const size_t colon = text.find(':');
            if (colon != std::string::npos) {
                if (text.substr(colon + 1) != "pump") return bad("MS or MS:pump");
                options.destroyInPump = true;
                text.erase(colon);
            }
            if (!readTime(text.c_str(), options.destroyAt)) return bad("MS or MS:pump");
        } else if (name == "--snapshot") {
            const std::string text = value;
            const size_t colon = text.find(':');
            if (colon == std::string::npos || colon + 1 == text.size() ||
                !readTime(text.substr(0, colon).c_str(), ms))
                return bad("MS:FILE");
            options.snapshots.emplace_back(ms, text.substr(colon + 1));
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (options.movie.empty()) {
        error = "no movie given";
        return false;
    }
    return true;
}
