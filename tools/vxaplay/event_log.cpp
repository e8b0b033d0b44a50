#include "event_log.h"

#include <cstdio>

EventLog::EventLog() : start_(std::chrono::steady_clock::now()) {}

void EventLog::start() {
    start_ = std::chrono::steady_clock::now();
    started_ = true;
}

int EventLog::now() const {
    if (!started_) return 0;
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count());
}

void EventLog::line(const char* what, const std::string& details) { lineAt(what, now(), details); }

void EventLog::lineAt(const char* what, int ms, const std::string& details) {
    if (details.empty())
        std::printf("%s %d\n", what, ms);
    else
        std::printf("%s %d %s\n", what, ms, details.c_str());
    std::fflush(stdout);
}

void EventLog::call(const std::string& name, long result) { line("call", name + " -> " + std::to_string(result)); }

EventLog& eventLog() {
    static EventLog log;
    return log;
}

std::string oneLine(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}
