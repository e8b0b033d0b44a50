#pragma once
// What the movie and playback tests share (with the window tests' helpers
// for running messages and reading pixels): a real window to draw into, a
// clock the test sets, streams made with the format's encoder, a canonical
// dump of a movie's tables, and the host's registry entry set for a test.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/window_object.h"
#include "install_directory.h"
#include "core/format/block.h"
#include "core/format/header.h"
#include "movie/movie.h"
#include "playback/clock.h"
#include "test_host_window.h"

namespace movietest {

// A visible top-level popup of the given client size at (x, y) on the screen.
class TestWindow {
public:
    TestWindow(int width, int height, int x = 40, int y = 40);
    HWND handle() const { return object_.handle(); }
    const fw::WindowObject& object() const { return object_; }
    COLORREF pixel(int x, int y) const { return pixelAt(handle(), x, y); }

private:
    fw::WindowObject object_;
};

class ManualClock : public Clock {
public:
    explicit ManualClock(uint32_t start = 1000) : now_(start) {}
    uint32_t now() override { return now_; }
    void advance(uint32_t ms) { now_ += ms; }
    void set(uint32_t ms) { now_ = ms; }

private:
    uint32_t now_;
};

struct HeaderFields {
    int16_t width = 64;
    int16_t height = 48;
    int16_t groups = 4;
    int16_t frames = 4;
    uint8_t rate = 10;
    uint8_t background = 1;  // colour byte: index 0, white
    int8_t loop = 0;
    int8_t wait = 0;
};
vxa::Header wideHeader(const HeaderFields& fields);
vxa::Header narrowHeader(const HeaderFields& fields);

vxa::Item place(int16_t group, int16_t x, int16_t y);
vxa::Item repeat();
vxa::Block frameBlock(int16_t number, std::vector<vxa::Item> items, int16_t sound = 0);
// A group of one solid rectangle over its whole extent, filled with the
// colour-table index fillIndex and without an outline.
vxa::GroupRecord rectGroup(int16_t id, int width, int height, int fillIndex);
vxa::Block groupBlock(std::vector<vxa::GroupRecord> groups);

std::vector<uint8_t> streamBytes(const vxa::Header& header, const std::vector<vxa::Block>& blocks);
std::vector<uint8_t> blockBytes(const vxa::Block& block, vxa::Layout layout = vxa::Layout::Wide);
void append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes);

// Builds a movie from bytes cut at the given chunk ends (ascending offsets;
// the last chunk runs to the end).
std::unique_ptr<Movie> feed(const std::vector<uint8_t>& bytes, const std::vector<size_t>& cuts,
                            const fw::WindowObject& window, Clock& clock = systemClock());

// Every setting and every table entry, one line each: equal dumps mean equal
// movies as far as playback can tell.
std::string dumpTables(const Movie& movie);

// Sets (or, with a null value, deletes) the host's "Install Directory" for
// the life of the object, then puts back what was there before; another run
// beside this one waits meanwhile.
using ScopedInstallDirectory = ::InstallDirectory;

// A fresh folder under the Windows temporary directory, removed with
// everything in it.
class TempTree {
public:
    explicit TempTree(const std::string& prefix);
    ~TempTree();
    // Creates path (relative, backslashes) with its parents; returns it in full.
    std::string makeFolder(const std::string& relative) const;
    const std::string& root() const { return root_; }

private:
    std::string root_;
};

// Writes a 16-bit mono PCM WAV of silence.
void writeSilentWav(const std::string& path, int milliseconds);

}  // namespace movietest
