#include "plugin/report.h"

#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "framework/application.h"
#include "plugin/messages.h"

int showMessage(const char* format, va_list arguments, const char* caption) {
    const bool tooLong = std::strlen(format) > static_cast<size_t>(kMaxFormatLength);
    std::unique_ptr<char[]> buffer(new char[kMessageBufferSize]);
    if (tooLong) {
        std::snprintf(buffer.get(), kMessageBufferSize, "%s", messages::kFormatTooLong);
    } else {
        // Expanded arguments may still run past the buffer: cut there.
        std::vsnprintf(buffer.get(), kMessageBufferSize, format, arguments);
    }
    buffer[kMessageBufferSize - 1] = '\0';
    return fw::Application::instance().showMessageBox(buffer.get(), caption, MB_OK | MB_ICONEXCLAMATION);
}

#define REPORT_BODY(caption)                                   \
    va_list arguments;                                         \
    va_start(arguments, format);                               \
    const int result = showMessage(format, arguments, caption); \
    va_end(arguments);                                         \
    return result

int reportDebugNote(const char* format, ...) { REPORT_BODY(messages::kDebugNoteCaption); }
int reportWarning(const char* format, ...) { REPORT_BODY(messages::kWarningCaption); }
int reportError(const char* format, ...) { REPORT_BODY(messages::kErrorCaption); }

void reportFatal(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    showMessage(format, arguments, messages::kFatalCaption);
    va_end(arguments);
    std::fflush(nullptr);
    std::raise(SIGABRT);
    std::_Exit(3);
}
