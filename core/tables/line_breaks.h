#pragma once
// Texts from the stream end their lines with a bare carriage return; the
// platform's text drawing wants carriage return + line feed.
#include <cstddef>

size_t countCarriageReturns(const char* text);

// Replaces, in place, every carriage return of the zero-terminated buffer by
// carriage return + line feed. The buffer must have room for the result: the
// text's length plus its carriage returns plus the terminating zero. Line
// feeds already present are kept, so CR LF becomes CR LF LF.
void expandLineBreaks(char* buffer);
