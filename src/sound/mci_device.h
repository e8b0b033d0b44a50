#pragma once
// One device of the Media Control Interface, driven by command strings under
// an alias of its own ("mci0", "mci1", ... in the order devices are opened in
// the process). The object is also a hidden child button: MCI tells the end of
// a notified play by posting MM_MCINOTIFY to a window, and this one is the
// usual target.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/window_object.h"

struct SoundFailureNotice;

class MciDevice : public fw::WindowObject {
public:
    using CommandObserver = std::function<void(const std::string& command, unsigned long result)>;

    // Size of MCI's return and error-text buffers, terminating zero included.
    static constexpr UINT kTextBufferSize = 128;
    // Recording starts from an empty copy of this file in the given directory.
    static const char* const kTemplateFileName;

    // The media window becomes a child of parentWindow. A failure of this
    // device is told to the user through notice (one box per notice), or
    // once per process when there is none.
    explicit MciDevice(HWND parentWindow, SoundFailureNotice* notice = nullptr);
    ~MciDevice() override;

    // Opens the file under a fresh alias unless the device is open already.
    virtual void open(std::string file) = 0;
    // Plays; the end is posted to window, or to the media window when none.
    virtual void playNotify(HWND window = nullptr);
    // Plays and returns when the sound has ended.
    virtual void playWait();
    virtual void stop();
    // Back to the start, while playing only.
    virtual void rewind();
    virtual void close();
    // Records into an emptied copy of directory + kTemplateFileName (the
    // directory ends in a separator); save() later writes it to file.
    virtual void record(std::string file, const char* directory);
    virtual void save();

    int isOpen() const { return isOpen_; }
    int isPlaying() const { return isPlaying_; }
    const std::string& alias() const { return alias_; }
    const std::string& fileName() const { return fileName_; }
    HWND notifyWindow() const { return notifyWindow_; }

    // Closes every device MCI has open for this process; silent and without
    // a callback window.
    static void closeAll();

    // Sees every command string after MCI has answered it, with its result.
    // One observer for the process; an empty function removes it.
    static void setCommandObserver(CommandObserver observer);

protected:
    // Sends one command; a failure is shown in a box naming the command and
    // MCI's text for it. Returns MCI's error code (0 on success).
    unsigned long sendCommand(const std::string& command);

    // The open shared by the device kinds: typeClause is inserted between
    // the file name and the alias clause (" type waveaudio", or nothing).
    void openWith(std::string file, const char* typeClause);

    void makeAlias();

    // The end of a notified play: code is MCI_NOTIFY_*, deviceId unused.
    virtual LRESULT onNotify(WPARAM code, LPARAM deviceId);

    SoundFailureNotice* failureNotice() const { return notice_; }
    // The owner's instance has ended: nothing but stop and close is sent,
    // and a failure shows no box.
    bool silenced() const;

    const fw::MessageTable* messageTable() const override;

private:
    LRESULT handleNotify(fw::Message& message);
    // Sends; false when this object was destroyed while a failure box was
    // up (its message loop runs the host's messages): the caller must then
    // return without touching any member.
    bool sendAndSurvive(const std::string& command);

    SoundFailureNotice* notice_;
    // Without its media window the device stays silent: it could never hear
    // the end of a play, and the user has been told.
    bool hasMediaWindow_ = false;
    std::string fileName_;
    std::string alias_;
    HWND notifyWindow_ = nullptr;
    int isOpen_ = 0;
    int isPlaying_ = 0;
};
