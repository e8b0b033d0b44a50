/* FreeType's options as Debian builds the release (the source package's own
 * header, patched by Debian), less the bitmap-only and colour font formats
 * and the compressions the player has no use for: it reads only the
 * Liberation TrueType files. zlib stays, FreeType's own copy of it (a
 * browser build has no system one), for the compressed parts the fonts are
 * fetched in (web/wasm/font_parts.h). */
#include <freetype/config/ftoption.h>

#undef FT_CONFIG_OPTION_SYSTEM_ZLIB
#undef FT_CONFIG_OPTION_USE_LZW
#undef FT_CONFIG_OPTION_USE_BZIP2
#undef FT_CONFIG_OPTION_USE_PNG
#undef FT_CONFIG_OPTION_USE_BROTLI
#undef FT_CONFIG_OPTION_SVG
#undef FT_CONFIG_OPTION_MAC_FONTS
