/* FreeType's options as Debian builds the release (the source package's own
 * header, patched by Debian), less the compressed, bitmap-only and colour
 * font formats: the player reads only the Liberation TrueType files, and
 * those options would pull in libraries a browser build does not have. */
#include <freetype/config/ftoption.h>

#undef FT_CONFIG_OPTION_USE_ZLIB
#undef FT_CONFIG_OPTION_USE_LZW
#undef FT_CONFIG_OPTION_USE_BZIP2
#undef FT_CONFIG_OPTION_USE_PNG
#undef FT_CONFIG_OPTION_USE_BROTLI
#undef FT_CONFIG_OPTION_SVG
#undef FT_CONFIG_OPTION_MAC_FONTS
