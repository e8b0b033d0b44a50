#pragma once
// Reporting to the user in modal message boxes, one function per severity.
// The format follows the C library's formatted printing.
#include <cstdarg>

// Longest format that is formatted; a longer one is replaced by a fixed text.
constexpr int kMaxFormatLength = 155;
// The formatted message's buffer, terminating zero included.
constexpr int kMessageBufferSize = 255;

int showMessage(const char* format, va_list arguments, const char* caption);

int reportDebugNote(const char* format, ...);
int reportWarning(const char* format, ...);
int reportError(const char* format, ...);
// Shows the box, then ends the process with status 3: it runs inside the
// host's process, so use it for nothing a stream's content can cause.
[[noreturn]] void reportFatal(const char* format, ...);
