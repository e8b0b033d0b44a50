#pragma once
// vxaplay's standard output: one line per event, each starting with what
// happened and the milliseconds since the page was ready, flushed at once so
// that a reader sees every line as it happens.
#include <chrono>
#include <string>

class EventLog {
public:
    EventLog();
    // The page is ready: its windows are made, the instance is about to be
    // created. Every time, of the lines and of the command line's schedule,
    // counts from here (Wine may take seconds to make the first window); the
    // lines before it say 0.
    void start();
    int now() const;
    // "WHAT MS DETAILS"
    void line(const char* what, const std::string& details = std::string());
    // The same for an event of an earlier moment.
    void lineAt(const char* what, int ms, const std::string& details);
    // "call MS NAME -> RESULT"
    void call(const std::string& name, long result);

private:
    std::chrono::steady_clock::time_point start_;
    bool started_ = false;
};

// The one log of the program, for the host services the plug-in calls.
EventLog& eventLog();

// Line breaks written as \n, so that one event stays on one line.
std::string oneLine(const std::string& text);
