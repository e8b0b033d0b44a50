#include "sound/mci_device.h"

#include <mmsystem.h>

#include <cstdio>
#include <utility>

#include "framework/application.h"
#include "plugin/messages.h"
#include "plugin/report.h"
#include "sound/driver_pin.h"
#include "sound/sound_failure_notice.h"

namespace {

// Never reset: an alias is not reused while the process lives, so a late
// notification or command can never reach a newer device by its name.
int aliasCounter = 0;

MciDevice::CommandObserver& commandObserver() {
    static MciDevice::CommandObserver observer;
    return observer;
}

void tellObserver(const std::string& command, MCIERROR result) {
    if (commandObserver()) commandObserver()(command, result);
}

}  // namespace

const char* const MciDevice::kTemplateFileName = "DUMMY.WAV";

MciDevice::MciDevice(HWND parentWindow, SoundFailureNotice* notice) : notice_(notice) {
    // WS_CHILD alone: never visible. The button keeps its own procedure for
    // every message, the notification included.
    const RECT rect{0, 0, 10, 10};
    hasMediaWindow_ = create(0, "BUTTON", "", WS_CHILD, rect, parentWindow, 0);
    if (!hasMediaWindow_ && claimFirstSoundFailure(notice_)) reportError(messages::kCantCreateMediaWindow);
}

MciDevice::~MciDevice() = default;

const fw::MessageTable* MciDevice::messageTable() const {
    static const fw::MessageEntry entries[] = {
        {MM_MCINOTIFY, fw::handler(&MciDevice::handleNotify)},
    };
    static const fw::MessageTable table = fw::makeMessageTable(entries, baseMessageTable());
    return &table;
}

LRESULT MciDevice::handleNotify(fw::Message& message) {
    message.passOn = true;
    return onNotify(message.wParam, message.lParam);
}

LRESULT MciDevice::onNotify(WPARAM code, LPARAM /*deviceId*/) {
    const std::weak_ptr<void> alive = lifeToken();
    switch (code) {
    case MCI_NOTIFY_SUCCESSFUL:
        stop();
        if (!alive.expired()) close();
        break;
    case MCI_NOTIFY_FAILURE: {
        // A device that cannot play (no output, a driver gone) must not end
        // the host: close it, tell the user once, and the animation goes on
        // without sound. The box comes last because the device may be
        // destroyed while it is up.
        const bool tell = claimFirstSoundFailure(notice_);
        close();
        if (tell) reportError(messages::kMciError, static_cast<int>(code));
        break;
    }
    default:
        // Superseded or aborted: a command of our own cut the play short.
        close();
        break;
    }
    return 0;
}

bool MciDevice::silenced() const { return notice_ && notice_->silenced; }

unsigned long MciDevice::sendCommand(const std::string& command) {
    if (!hasMediaWindow_) return MCIERR_INTERNAL;
    char returned[kTextBufferSize] = {};
    const MCIERROR code = mciSendStringA(command.c_str(), returned, kTextBufferSize, notifyWindow_);
    char errorText[kTextBufferSize] = {};
    mciGetErrorStringA(code, errorText, kTextBufferSize);
    tellObserver(command, code);
    if (code != 0 && !silenced()) {
        const std::string text = command + messages::kMciCommandSeparator + errorText;
        fw::Application::instance().showMessageBox(text.c_str(), fw::Application::instance().title().c_str(),
                                                   MB_OK | MB_ICONEXCLAMATION);
    }
    return code;
}

bool MciDevice::sendAndSurvive(const std::string& command) {
    const std::weak_ptr<void> alive = lifeToken();
    sendCommand(command);
    return !alive.expired();
}

void MciDevice::makeAlias() {
    char text[16];
    std::snprintf(text, sizeof text, "mci%i", aliasCounter);
    ++aliasCounter;
    alias_ = text;
}

void MciDevice::openWith(std::string file, const char* typeClause) {
    if (isOpen_ || silenced()) return;
    fileName_ = std::move(file);
    makeAlias();
    // Open even when the command failed: the caller must not retry the same
    // missing file on every frame, and close() must still be sent.
    const std::weak_ptr<void> alive = lifeToken();
    const unsigned long result = sendCommand("open " + fileName_ + typeClause + " alias " + alias_);
    if (result == 0) keepWaveAudioDriverLoaded();
    if (alive.expired()) return;
    isOpen_ = 1;
}

void MciDevice::playNotify(HWND window) {
    if (silenced()) return;
    notifyWindow_ = window ? window : handle();
    if (!sendAndSurvive("play " + alias_ + " notify")) return;
    isPlaying_ = 1;
}

void MciDevice::playWait() {
    if (silenced()) return;
    isPlaying_ = 1;
    if (!sendAndSurvive("play " + alias_ + " wait")) return;
    isPlaying_ = 0;
}

void MciDevice::stop() {
    if (!isOpen_) return;
    if (!sendAndSurvive("stop " + alias_)) return;
    isPlaying_ = 0;
}

void MciDevice::rewind() {
    if (!isPlaying_ || silenced()) return;
    sendCommand("seek " + alias_ + " to start");
}

void MciDevice::close() {
    if (!isOpen_) return;
    if (!sendAndSurvive("close " + alias_)) return;
    isOpen_ = 0;
    isPlaying_ = 0;
}

void MciDevice::record(std::string file, const char* directory) {
    if (silenced()) return;
    fileName_ = std::move(file);
    makeAlias();
    if (!sendAndSurvive(std::string("open ") + directory + kTemplateFileName + " alias " + alias_)) return;
    if (!sendAndSurvive("delete " + alias_)) return;
    sendCommand("record " + alias_ + " overwrite");
}

void MciDevice::save() {
    if (silenced()) return;
    if (!sendAndSurvive("stop " + alias_)) return;
    if (!sendAndSurvive("save " + alias_ + " " + fileName_)) return;
    sendCommand("close " + alias_);
}

void MciDevice::closeAll() {
    char returned[kTextBufferSize] = {};
    const std::string command = "close all";
    tellObserver(command, mciSendStringA(command.c_str(), returned, kTextBufferSize, nullptr));
}

void MciDevice::setCommandObserver(CommandObserver observer) { commandObserver() = std::move(observer); }
