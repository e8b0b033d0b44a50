// The functions the page glue (web/js/core.js) calls: one thin C entry per
// operation of a WebMovie, so that the glue needs no binding layer. Times
// are the page's millisecond tick counts.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "web/wasm/code_warm_up.h"
#include "web/wasm/web_movie.h"

using web::WebMovie;

extern "C" {

EMSCRIPTEN_KEEPALIVE WebMovie* vxa_create(int withSounds) { return new WebMovie(withSounds != 0); }
EMSCRIPTEN_KEEPALIVE void vxa_destroy(WebMovie* movie) { delete movie; }

EMSCRIPTEN_KEEPALIVE uint32_t vxa_timer_period() { return WebMovie::timerPeriod(); }

EMSCRIPTEN_KEEPALIVE uint8_t* vxa_chunk_buffer(WebMovie* movie, size_t length) {
  return movie->chunkBuffer(length);
}
EMSCRIPTEN_KEEPALIVE int vxa_take_chunk(WebMovie* movie, size_t length, uint32_t now) {
  return movie->takeChunk(length, now);
}
EMSCRIPTEN_KEEPALIVE int vxa_end_of_stream(WebMovie* movie, uint32_t now) { return movie->endOfStream(now); }

EMSCRIPTEN_KEEPALIVE int vxa_tick(WebMovie* movie, uint32_t now) { return movie->tick(now); }
EMSCRIPTEN_KEEPALIVE int vxa_click(WebMovie* movie, uint32_t now) { return movie->click(now); }
EMSCRIPTEN_KEEPALIVE int vxa_pause(WebMovie* movie, uint32_t now) { return movie->pause(now); }
EMSCRIPTEN_KEEPALIVE int vxa_play(WebMovie* movie, uint32_t now) { return movie->play(now); }
EMSCRIPTEN_KEEPALIVE void vxa_stop(WebMovie* movie) { movie->stop(); }
EMSCRIPTEN_KEEPALIVE int vxa_is_paused(WebMovie* movie) { return movie->isPaused(); }

// length: the sound's length in ms, or -1 when its file can't be had.
EMSCRIPTEN_KEEPALIVE int vxa_sound_settled(WebMovie* movie, int number, int length) {
  return movie->soundSettled(static_cast<int16_t>(number),
                             length < 0 ? std::nullopt : std::optional<uint32_t>(length));
}
EMSCRIPTEN_KEEPALIVE int vxa_retry_held_back(WebMovie* movie) { return movie->retryHeldBack(); }

EMSCRIPTEN_KEEPALIVE int vxa_warm_up_code() { return web::warmUpCode(); }

EMSCRIPTEN_KEEPALIVE int vxa_has_cold_text(WebMovie* movie) { return movie->hasColdText(); }
EMSCRIPTEN_KEEPALIVE int vxa_warm_up_text(WebMovie* movie) { return movie->warmUpText(); }

EMSCRIPTEN_KEEPALIVE int vxa_width(WebMovie* movie) { return movie->width(); }
EMSCRIPTEN_KEEPALIVE int vxa_height(WebMovie* movie) { return movie->height(); }
EMSCRIPTEN_KEEPALIVE const uint8_t* vxa_picture(WebMovie* movie) { return movie->picture(); }
EMSCRIPTEN_KEEPALIVE int vxa_cursor(WebMovie* movie) { return movie->cursor(); }
EMSCRIPTEN_KEEPALIVE int vxa_current_frame(WebMovie* movie) { return movie->currentFrame(); }

// What the header says, as `vxa info` tells it: -1 until the header is in.
// kind: 0 the narrow layout (1) or the wide one (2), 1 the frame rate, 2 the
// frames announced, 3 loops (0 or 1), 4 waits for a click on frame 6, 5 the
// groups announced, 6 and 7 the width and height it gives the picture.
EMSCRIPTEN_KEEPALIVE int vxa_header_fact(WebMovie* movie, int kind) {
  const vxa::MovieModel* model = movie->headerModel();
  if (!model) return -1;
  switch (kind) {
    case 0: return model->header().layout == vxa::Layout::Narrow ? 1 : 2;
    case 1: return model->header().frameRate;
    case 2: return model->header().frameCount;
    case 3: return model->loops() ? 1 : 0;
    case 4: return model->waitsForClick() ? 1 : 0;
    case 5: return model->header().groupCount;
    case 6: return model->header().width;
    case 7: return model->header().height;
    default: return -1;
  }
}

EMSCRIPTEN_KEEPALIVE int vxa_next_event(WebMovie* movie) { return static_cast<int>(movie->nextEvent()); }
EMSCRIPTEN_KEEPALIVE int vxa_event_value(WebMovie* movie) { return movie->event().value; }
EMSCRIPTEN_KEEPALIVE const char* vxa_event_text(WebMovie* movie) {
  const std::string& text = movie->event().text;
  return text.empty() ? nullptr : text.c_str();
}

// Takes the bytes, which the glue allocated with malloc.
EMSCRIPTEN_KEEPALIVE void vxa_add_font(const char* fileName, uint8_t* data, size_t length) {
  std::vector<uint8_t> bytes(data, data + length);
  std::free(data);
  web::pageFonts().provide(fileName, std::move(bytes));
}
EMSCRIPTEN_KEEPALIVE void vxa_font_missing(const char* fileName) { web::pageFonts().missing(fileName); }

}  // extern "C"
