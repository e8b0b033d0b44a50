#include "core/tables/line_breaks.h"

#include <cstring>

size_t countCarriageReturns(const char* text) {
    size_t count = 0;
    for (const char* c = text; *c; ++c) count += *c == '\r';
    return count;
}

void expandLineBreaks(char* buffer) {
    // Filled from the back, so that each character moves once: a text of
    // nothing but carriage returns costs no more than any other.
    const size_t length = std::strlen(buffer);
    size_t to = length + countCarriageReturns(buffer);
    buffer[to] = '\0';
    for (size_t from = length; from > 0;) {
        const char c = buffer[--from];
        if (c == '\r') buffer[--to] = '\n';
        buffer[--to] = c;
    }
}
