#pragma once
// The movie's logical palette: every palette-relative colour of the colour
// table, so that a 256-colour display shows the table's colours exactly.
#include <windows.h>

// A new palette, owned by the caller (DeleteObject); null when GDI refuses,
// in which case colours fall back to the display's default palette.
HPALETTE createMoviePalette();
