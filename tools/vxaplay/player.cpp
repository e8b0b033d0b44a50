#include "player.h"

#include <algorithm>

#include "core/format/header.h"

namespace {

const char kFrameClass[] = "vxaplay.Page";
const char kPluginClass[] = "vxaplay.Embed";
const char kMimeType[] = "video/vxa";
// Posted to the page when an end of the instance is to come from inside the
// plug-in's own message pump.
constexpr UINT kDestroyRequest = WM_APP + 1;
// The loop looks at its schedule and at the picture this often.
constexpr DWORD kServicePeriod = 2;
// A chunk the plug-in did not take is offered again after this long at least.
constexpr int kRetryDelay = 100;

Player* gPlayer = nullptr;

bool registerClasses() {
    WNDCLASSA page{};
    page.lpfnWndProc = DefWindowProcA;
    page.hInstance = GetModuleHandleA(nullptr);
    page.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    page.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    page.lpszClassName = kFrameClass;
    WNDCLASSA embed = page;
    // Grey until the plug-in paints, so that an empty window can be told
    // from a movie's white background.
    embed.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    embed.lpszClassName = kPluginClass;
    return RegisterClassA(&page) && RegisterClassA(&embed);
}

std::string reasonName(NPReason reason) {
    switch (reason) {
        case NPRES_DONE: return "done";
        case NPRES_NETWORK_ERR: return "network-error";
        case NPRES_USER_BREAK: return "user-break";
        default: return std::to_string(reason);
    }
}

}  // namespace

Player::Player(const Options& options, const NPPluginFuncs& plugin, std::vector<uint8_t> movie, int width,
               int height)
    : options_(options), plugin_(plugin), log_(eventLog()), movie_(std::move(movie)), width_(width),
      height_(height) {
    gPlayer = this;
    // Each list is worked off in time order.
    auto byTime = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(options_.snapshots.begin(), options_.snapshots.end(), byTime);
    std::sort(options_.clicks.begin(), options_.clicks.end());
    std::sort(options_.escapes.begin(), options_.escapes.end());
    if (!options_.recordDir.empty()) recorder_ = std::make_unique<WindowRecorder>(options_.recordDir);
}

Player::~Player() {
    if (frame_ && IsWindow(frame_)) DestroyWindow(frame_);
    gPlayer = nullptr;
}

bool Player::createWindows() {
    if (!registerClasses()) return false;
    RECT outer{0, 0, width_, height_};
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    AdjustWindowRect(&outer, style, FALSE);
    const std::string title = "vxaplay - " + options_.movie;
    frame_ = CreateWindowExA(0, kFrameClass, title.c_str(), style, 40, 40, outer.right - outer.left,
                             outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!frame_) return false;
    SetWindowLongPtrA(frame_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(frameProcedure));
    // The embedding is the movie's size; a full page gets the whole client area.
    pluginWindow_ = CreateWindowExA(0, kPluginClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width_,
                                    height_, frame_, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!pluginWindow_) return false;
    pluginWindowProcedure_ = GetWindowLongPtrA(pluginWindow_, GWLP_WNDPROC);
    fitPluginWindow();
    ShowWindow(frame_, SW_SHOWNORMAL);
    UpdateWindow(frame_);
    return true;
}

void Player::fitPluginWindow() {
    RECT client;
    GetClientRect(frame_, &client);
    const int width = options_.mode == NP_FULL ? client.right : width_;
    const int height = options_.mode == NP_FULL ? client.bottom : height_;
    MoveWindow(pluginWindow_, 0, 0, width, height, TRUE);
    window_.window = pluginWindow_;
    window_.x = 0;
    window_.y = 0;
    window_.width = static_cast<uint32_t>(width);
    window_.height = static_cast<uint32_t>(height);
    window_.clipRect = NPRect{0, 0, static_cast<uint16_t>(height), static_cast<uint16_t>(width)};
    window_.type = NPWindowTypeWindow;
}

void Player::setWindow() { log_.call("NPP_SetWindow", plugin_.setwindow(&instance_, &window_)); }

void Player::start() {
    const bool full = options_.mode == NP_FULL;
    if (!full) {
        attributeNames_ = {"SRC", "WIDTH", "HEIGHT"};
        attributeValues_ = {options_.movie, std::to_string(width_), std::to_string(height_)};
    }
    std::vector<char*> names, values;
    for (size_t i = 0; i < attributeNames_.size(); ++i) {
        names.push_back(&attributeNames_[i][0]);
        values.push_back(&attributeValues_[i][0]);
    }
    const NPError created = plugin_.newp(const_cast<char*>(kMimeType), &instance_, options_.mode,
                                         static_cast<int16_t>(names.size()), names.data(), values.data(), nullptr);
    installation_ = std::make_unique<InstallDirectory>(options_.installDir.c_str());
    log_.line("install", options_.installDir + (installation_->set() ? "" : " (registry not written)") +
                             (installation_->locked() ? "" : " (registry lock not had)"));
    vxa::Header header;
    if (vxa::decodeHeader(movie_.data(), movie_.size(), header) == vxa::HeaderStatus::Complete)
        headerBytes_ = vxa::headerSize(header.layout);
    log_.call(full ? "NPP_New full" : "NPP_New embed", created);
    if (created != NPERR_NO_ERROR) return;
    alive_ = true;
    setWindow();

    url_ = "file:///" + options_.movie;
    stream_.url = url_.c_str();
    stream_.end = static_cast<uint32_t>(movie_.size());
    uint16_t type = NP_NORMAL;
    const NPError opened = plugin_.newstream(&instance_, const_cast<char*>(kMimeType), &stream_, 0, &type);
    log_.call("NPP_NewStream type " + std::to_string(type), opened);
    if (opened != NPERR_NO_ERROR) {
        streamEnded_ = true;
        return;
    }
    deliverChunks(log_.now());
}

void Player::deliverChunks(int now) {
    while (alive_ && !streamEnded_ && sent_ < movie_.size() && now >= nextChunkAt_) {
        const int32_t ready = plugin_.writeready(&instance_, &stream_);
        log_.call("NPP_WriteReady", ready);
        if (ready <= 0) {
            nextChunkAt_ = now + std::max(options_.chunkDelay, kRetryDelay);
            return;
        }
        size_t length = movie_.size() - sent_;
        if (options_.chunk) length = std::min(length, options_.chunk);
        length = std::min(length, static_cast<size_t>(ready));
        const int32_t taken = plugin_.write(&instance_, &stream_, static_cast<int32_t>(sent_),
                                            static_cast<int32_t>(length), movie_.data() + sent_);
        log_.call("NPP_Write " + std::to_string(length), taken);
        if (!alive_) return;
        if (taken < 0) {
            // The plug-in refused the stream: end it as a browser does.
            endStreamAt_ = now;
            streamEnded_ = true;
            log_.call("NPP_DestroyStream " + reasonName(NPRES_NETWORK_ERR),
                      plugin_.destroystream(&instance_, &stream_, NPRES_NETWORK_ERR));
            return;
        }
        sent_ += std::min(static_cast<size_t>(taken), length);
        // The plug-in has read the registry value with the header: another
        // run may have it now.
        if (sent_ >= headerBytes_) installation_.reset();
        if (taken == 0) {
            nextChunkAt_ = now + std::max(options_.chunkDelay, kRetryDelay);
            return;
        }
        nextChunkAt_ = now + options_.chunkDelay;
        if (options_.chunkDelay > 0) break;
    }
    if (alive_ && !streamEnded_ && sent_ == movie_.size() && endStreamAt_ < 0) endStreamAt_ = now + options_.endDelay;
}

void Player::endStream() {
    streamEnded_ = true;
    log_.call("NPP_DestroyStream " + reasonName(options_.endReason),
              plugin_.destroystream(&instance_, &stream_, options_.endReason));
}

void Player::endInstance(bool fromPump) {
    if (!alive_) return;
    alive_ = false;
    // What the plug-in drew before its end is recorded as before it, also
    // when the end comes from inside the step that drew it.
    record(log_.now());
    NPSavedData* saved = nullptr;
    const NPError result = plugin_.destroy(&instance_, &saved);
    log_.call(fromPump && inPluginStep_ ? "NPP_Destroy in-pump" : "NPP_Destroy", result);
    installation_.reset();
    ended_ = true;
    // A plug-in done with the window puts its procedure back.
    const bool givenBack = GetWindowLongPtrA(pluginWindow_, GWLP_WNDPROC) == pluginWindowProcedure_;
    log_.line("window", givenBack ? "given back" : "still taken");
}

void Player::click() {
    RECT client;
    GetClientRect(pluginWindow_, &client);
    const LPARAM centre = MAKELPARAM(client.right / 2, client.bottom / 2);
    PostMessageA(pluginWindow_, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageA(pluginWindow_, WM_LBUTTONUP, 0, centre);
    log_.line("click");
}

// ESC is looked for only by the plug-in's own pump, which runs inside its
// timer message: what is armed goes into the queue just before that message
// is dispatched, so the pump finds it there.
void Player::prepareForStep() {
    for (; escapesArmed_ > 0; --escapesArmed_) {
        PostMessageA(pluginWindow_, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PostMessageA(pluginWindow_, WM_KEYUP, VK_ESCAPE, 0xC0010001);
        log_.line("esc");
    }
    if (destroyArmed_) {
        destroyArmed_ = false;
        PostMessageA(frame_, kDestroyRequest, 0, 0);
    }
}

void Player::record(int now) {
    if (!recorder_) return;
    if (const int number = recorder_->look(pluginWindow_, now)) log_.lineAt("frame", now, std::to_string(number));
}

void Player::service() {
    const int now = log_.now();
    deliverChunks(now);
    if (alive_ && !streamEnded_ && endStreamAt_ >= 0 && now >= endStreamAt_) endStream();
    for (; nextClick_ < options_.clicks.size() && now >= options_.clicks[nextClick_]; ++nextClick_) click();
    for (; nextEscape_ < options_.escapes.size() && now >= options_.escapes[nextEscape_]; ++nextEscape_)
        ++escapesArmed_;
    if (!destroyDone_ && options_.destroyAt >= 0 && now >= options_.destroyAt) {
        destroyDone_ = true;
        if (options_.destroyInPump)
            destroyArmed_ = true;
        else
            endInstance();
    }
    for (; nextSnapshot_ < options_.snapshots.size() && now >= options_.snapshots[nextSnapshot_].first;
         ++nextSnapshot_) {
        const std::string& file = options_.snapshots[nextSnapshot_].second;
        const bool saved = WindowPicture::capture(pluginWindow_).savePng(file);
        log_.line("snapshot", file + (saved ? "" : " failed"));
    }
    record(now);
    if (options_.runFor >= 0 && now >= options_.runFor) finished_ = true;
}

void Player::run() {
    while (!finished_) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                finished_ = true;
                break;
            }
            const bool step = alive_ && message.hwnd == pluginWindow_ && message.message == WM_TIMER;
            // The page sets no timer of its own: one after the end is the
            // plug-in's, left running.
            if (ended_ && message.hwnd == pluginWindow_ && message.message == WM_TIMER)
                log_.line("timer", "after the end, id " + std::to_string(message.wParam));
            if (step) prepareForStep();
            inPluginStep_ = step;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            inPluginStep_ = false;
            if (step) record(log_.now());
        }
        if (finished_) break;
        service();
        if (finished_) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kServicePeriod, QS_ALLINPUT);
    }
}

LRESULT CALLBACK Player::frameProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    Player* player = gPlayer;
    if (player) {
        switch (id) {
            case kDestroyRequest:
                player->endInstance(true);
                return 0;
            case WM_SIZE:
                if (player->pluginWindow_ && player->options_.mode == NP_FULL) {
                    player->fitPluginWindow();
                    if (player->alive_) player->setWindow();
                }
                break;
            case WM_CLOSE:
                player->endInstance();
                DestroyWindow(window);
                return 0;
            case WM_DESTROY:
                player->frame_ = nullptr;
                PostQuitMessage(0);
                return 0;
        }
    }
    return DefWindowProcA(window, id, wParam, lParam);
}
