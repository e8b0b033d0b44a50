// The functions the page glue (web/js/core.js) calls, one thin C entry per
// operation of a WebMovie, so that the glue needs no binding layer.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "web/wasm/web_movie.h"

using web::WebMovie;

extern "C" {

EMSCRIPTEN_KEEPALIVE WebMovie* vxa_create() { return new WebMovie(); }
EMSCRIPTEN_KEEPALIVE void vxa_destroy(WebMovie* movie) { delete movie; }

EMSCRIPTEN_KEEPALIVE uint32_t vxa_timer_period() { return WebMovie::timerPeriod(); }

EMSCRIPTEN_KEEPALIVE uint8_t* vxa_chunk_buffer(WebMovie* movie, size_t length) {
  return movie->chunkBuffer(length);
}
EMSCRIPTEN_KEEPALIVE int vxa_take_chunk(WebMovie* movie, size_t length) {
  return movie->takeChunk(length);
}
EMSCRIPTEN_KEEPALIVE int vxa_end_of_stream(WebMovie* movie) { return movie->endOfStream(); }

EMSCRIPTEN_KEEPALIVE int vxa_tick(WebMovie* movie, uint32_t now, int pointerInside) {
  return movie->tick(now, pointerInside != 0);
}
EMSCRIPTEN_KEEPALIVE int vxa_click(WebMovie* movie) { return movie->click(); }
EMSCRIPTEN_KEEPALIVE void vxa_pause(WebMovie* movie) { movie->pause(); }
EMSCRIPTEN_KEEPALIVE int vxa_is_paused(WebMovie* movie) { return movie->isPaused(); }
EMSCRIPTEN_KEEPALIVE void vxa_sound_ended(WebMovie* movie) { movie->soundEnded(); }
EMSCRIPTEN_KEEPALIVE void vxa_retry_held_back(WebMovie* movie) { movie->retryHeldBack(); }

EMSCRIPTEN_KEEPALIVE int vxa_width(WebMovie* movie) { return movie->width(); }
EMSCRIPTEN_KEEPALIVE int vxa_height(WebMovie* movie) { return movie->height(); }
EMSCRIPTEN_KEEPALIVE const uint8_t* vxa_picture(WebMovie* movie) { return movie->picture(); }
EMSCRIPTEN_KEEPALIVE int vxa_cursor(WebMovie* movie) { return movie->cursor(); }
EMSCRIPTEN_KEEPALIVE int vxa_current_frame(WebMovie* movie) { return movie->currentFrame(); }

EMSCRIPTEN_KEEPALIVE int vxa_next_event(WebMovie* movie) {
  return static_cast<int>(movie->nextEvent());
}
EMSCRIPTEN_KEEPALIVE int vxa_event_value(WebMovie* movie) { return movie->event().value; }
EMSCRIPTEN_KEEPALIVE const char* vxa_event_text(WebMovie* movie) {
  const std::string& text = movie->event().text;
  return text.empty() ? nullptr : text.c_str();
}

// Takes the bytes (allocated by the glue with malloc).
EMSCRIPTEN_KEEPALIVE void vxa_add_font(const char* fileName, uint8_t* data, size_t length) {
  std::vector<uint8_t> bytes(data, data + length);
  std::free(data);
  web::fonts().provide(fileName, std::move(bytes));
}
EMSCRIPTEN_KEEPALIVE void vxa_font_missing(const char* fileName) { web::fonts().missing(fileName); }

}  // extern "C"
