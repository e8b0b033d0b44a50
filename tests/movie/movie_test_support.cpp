#include "movie_test_support.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "graphics/graphic_object.h"
#include "core/format/block_encoder.h"
#include "movie/object_group.h"

namespace movietest {

TestWindow::TestWindow(int width, int height, int x, int y) {
    const RECT rect{x, y, x + width, y + height};
    object_.create(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, rect, nullptr, 0);
    // Let the window paint itself once now, not over a frame later.
    UpdateWindow(object_.handle());
    runMessages(20);
}

namespace {

vxa::Header header(const HeaderFields& fields, vxa::Layout layout) {
    vxa::Header h;
    h.layout = layout;
    if (layout == vxa::Layout::Wide) {
        h.version = vxa::kFirstWideVersion;
        h.loop = fields.loop;
        h.wait = fields.wait;
    } else {
        h.version = 0;
    }
    h.width = fields.width;
    h.height = fields.height;
    h.background = fields.background;
    h.frameRate = fields.rate;
    h.groupCount = fields.groups;
    h.frameCount = fields.frames;
    return h;
}

}  // namespace

vxa::Header wideHeader(const HeaderFields& fields) { return header(fields, vxa::Layout::Wide); }
vxa::Header narrowHeader(const HeaderFields& fields) { return header(fields, vxa::Layout::Narrow); }

vxa::Item place(int16_t group, int16_t x, int16_t y) {
    vxa::Item item;
    item.presence = 1;
    item.groupId = group;
    item.x = x;
    item.y = y;
    return item;
}

vxa::Item repeat() {
    vxa::Item item;
    item.presence = 0;
    return item;
}

vxa::Block frameBlock(int16_t number, std::vector<vxa::Item> items, int16_t sound) {
    vxa::Block block;
    block.frame.number = number;
    block.frame.soundNumber = sound;
    block.frame.items = std::move(items);
    return block;
}

vxa::GroupRecord rectGroup(int16_t id, int width, int height, int fillIndex) {
    vxa::GroupRecord group;
    group.id = id;
    group.widthMinus1 = static_cast<uint8_t>(width - 1);
    group.heightMinus1 = static_cast<uint8_t>(height - 1);
    vxa::ObjectRecord rect;
    rect.kind = vxa::ObjectKind::Rect;
    rect.right = static_cast<uint8_t>(width);
    rect.bottom = static_cast<uint8_t>(height);
    rect.fill1 = static_cast<uint8_t>(fillIndex + 1);
    rect.fill2 = rect.fill1;
    rect.line1 = rect.fill1;
    rect.line2 = rect.fill1;
    rect.fillPattern = 12;
    rect.linePattern = 255;
    rect.lineWidth = 0;
    group.objects.push_back(rect);
    return group;
}

vxa::Block groupBlock(std::vector<vxa::GroupRecord> groups) {
    vxa::Block block;
    block.groups = std::move(groups);
    return block;
}

std::vector<uint8_t> blockBytes(const vxa::Block& block, vxa::Layout layout) {
    std::vector<uint8_t> bytes;
    vxa::encodeBlock(block, layout, bytes);
    return bytes;
}

std::vector<uint8_t> streamBytes(const vxa::Header& header, const std::vector<vxa::Block>& blocks) {
    std::vector<uint8_t> bytes;
    vxa::encodeHeader(header, bytes);
    for (const vxa::Block& block : blocks) vxa::encodeBlock(block, header.layout, bytes);
    return bytes;
}

void append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

std::unique_ptr<Movie> feed(const std::vector<uint8_t>& bytes, const std::vector<size_t>& cuts,
                            const fw::WindowObject& window, Clock& clock) {
    std::vector<size_t> ends(cuts);
    ends.push_back(bytes.size());
    size_t start = 0;
    std::unique_ptr<Movie> movie;
    for (size_t end : ends) {
        const auto length = static_cast<int32_t>(end - start);
        if (!movie) {
            movie = std::make_unique<Movie>(bytes.data() + start, length, window, clock);
        } else {
            movie->appendChunk(bytes.data() + start, length);
        }
        start = end;
    }
    return movie;
}

std::string dumpTables(const Movie& movie) {
    std::ostringstream out;
    const RECT bounds = movie.getBounds();
    out << "header " << movie.headerComplete() << " version " << movie.version() << " loops "
        << movie.loops() << " wait " << movie.isWaitingForClick() << " bounds " << bounds.left << ','
        << bounds.top << ',' << bounds.right << ',' << bounds.bottom << " background " << std::hex
        << movie.backgroundColor() << std::dec << " rate " << int(movie.frameRate()) << " frames "
        << movie.frameCount() << " groups " << movie.groupCount() << " rejected " << movie.rejectedBlocks()
        << '\n';
    for (int n = 1; n <= movie.frameCount(); ++n) {
        const FrameRecord* frame = movie.frame(n);
        if (!frame) continue;
        out << "frame " << n << " sound " << frame->soundNumber << ':';
        for (const FrameItem& item : frame->items)
            out << " (" << item.groupId << ' ' << item.x << ' ' << item.y << ')';
        out << '\n';
    }
    for (int id = 1; id <= movie.groupCount(); ++id) {
        const ObjectGroup* group = movie.group(id);
        if (!group) continue;
        const RECT& extent = group->extent();
        out << "group " << id << " id " << group->id() << " extent " << extent.right << 'x' << extent.bottom
            << ':';
        for (size_t j = 0; j < group->objectCount(); ++j) {
            const GraphicObject* object = group->object(j);
            if (!object) {
                out << " [empty]";
                continue;
            }
            const ObjectHeader& h = object->header();
            out << " [" << object->kind() << ' ' << h.left << ',' << h.top << ',' << h.right << ','
                << h.bottom << " colours " << h.fillColor1 << ',' << h.fillColor2 << ',' << h.lineColor1
                << ',' << h.lineColor2 << " patterns " << h.fillPattern << ',' << h.linePattern << " width "
                << h.lineWidth << ']';
        }
        out << '\n';
    }
    const ObjectBuildContext::Amounts& live = movie.buildContext().live();
    out << "live objects " << live.objects << " points " << live.points << " characters " << live.characters
        << " fonts " << live.fonts << '\n';
    return out.str();
}

namespace {

void removeTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(full);
            } else {
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

TempTree::TempTree(const std::string& prefix) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int serial = 0;
    root_ = std::string(temp) + prefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
    CreateDirectoryA(root_.c_str(), nullptr);
}

TempTree::~TempTree() { removeTree(root_); }

std::string TempTree::makeFolder(const std::string& relative) const {
    std::string path = root_;
    size_t start = 0;
    while (start <= relative.size()) {
        const size_t slash = relative.find('\\', start);
        path += "\\" + relative.substr(start, slash - start);
        CreateDirectoryA(path.c_str(), nullptr);
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return path;
}

void writeSilentWav(const std::string& path, int milliseconds) {
    const uint32_t rate = 11025;
    const uint32_t samples = rate * static_cast<uint32_t>(milliseconds) / 1000;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + samples);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate);  // bytes per second
    u16(1);     // block align
    u16(8);     // bits per sample
    out.write("data", 4);
    u32(samples);
    const std::string silence(samples, static_cast<char>(0x80));
    out.write(silence.data(), static_cast<std::streamsize>(silence.size()));
}

}  // namespace movietest
