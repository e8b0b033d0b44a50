#pragma once
// What the sound tests share: a parent for media windows, a temporary folder
// with a real WAV file, the log of MCI commands, and a message pump.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A hidden top-level window to parent media windows.
class ParentWindow {
public:
    ParentWindow();
    ~ParentWindow();
    HWND handle() const { return window_; }

private:
    HWND window_;
};

// A fresh folder under the Windows temporary directory, removed with its files.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    // path + name; the path ends in a backslash.
    std::string file(const std::string& name) const { return path_ + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Writes a 16-bit mono PCM WAV of a sine tone.
void writeToneWav(const std::string& path, double seconds, double frequency = 1000.0, int rate = 22050);

// Records every command that MCI answers, for the life of the log.
class CommandLog {
public:
    CommandLog();
    ~CommandLog();
    std::vector<std::string> commands() const;
    // True when every command so far succeeded.
    bool allSucceeded() const;
    void clear() { entries_.clear(); }

private:
    std::vector<std::pair<std::string, unsigned long>> entries_;
};

// Dispatches the thread's messages until done() or the bound has passed.
bool pumpUntil(const std::function<bool()>& done, DWORD boundMs);
