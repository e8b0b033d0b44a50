#include "graphics/object_build_context.h"

#include <utility>

#include "graphics/font_mapping.h"
#include "plugin/messages.h"

namespace {

bool fits(uint32_t live, uint32_t more, uint32_t limit) {
    return static_cast<uint64_t>(live) + more <= limit;
}

}  // namespace

ObjectBuildContext::Share::Share(Share&& other) noexcept
    : context_(std::exchange(other.context_, nullptr)), amounts_(other.amounts_) {}

ObjectBuildContext::Share& ObjectBuildContext::Share::operator=(Share&& other) noexcept {
    if (this != &other) {
        giveBack();
        context_ = std::exchange(other.context_, nullptr);
        amounts_ = other.amounts_;
    }
    return *this;
}

ObjectBuildContext::Share::~Share() { giveBack(); }

void ObjectBuildContext::Share::giveBack() {
    if (context_) context_->giveBack(amounts_);
    context_ = nullptr;
}

ObjectBuildContext::ObjectBuildContext(const Amounts& limits) : limits_(limits) {}

bool ObjectBuildContext::canHold(const Amounts& more) const {
    return fits(live_.objects, more.objects, limits_.objects) &&
           fits(live_.points, more.points, limits_.points) &&
           fits(live_.characters, more.characters, limits_.characters) &&
           fits(live_.fonts, more.fonts, limits_.fonts);
}

ObjectBuildContext::Share ObjectBuildContext::take(const Amounts& amounts) {
    live_.objects += amounts.objects;
    live_.points += amounts.points;
    live_.characters += amounts.characters;
    live_.fonts += amounts.fonts;
    Share share;
    share.context_ = this;
    share.amounts_ = amounts;
    return share;
}

void ObjectBuildContext::giveBack(const Amounts& amounts) {
    live_.objects -= amounts.objects;
    live_.points -= amounts.points;
    live_.characters -= amounts.characters;
    live_.fonts -= amounts.fonts;
}

ObjectBuildContext::TextFont ObjectBuildContext::makeFont(const char* faceName, int size, bool bold,
                                                          bool italic, bool underline) {
    const FontKey key{faceName, size, bold, italic, underline};
    const auto known = fonts_.find(key);
    if (known != fonts_.end()) {
        if (TextFont shared = known->second.lock()) return shared;
    }

    Amounts oneFont;
    oneFont.fonts = 1;
    const char* refusal = messages::kTooManyFonts;
    if (canHold(oneFont)) {
        auto made = std::make_unique<MovieFont>();
        made->font = createTextFont(faceName, size, bold, italic, underline);
        if (made->font) {
            made->share = take(oneFont);
            if (surface_ && keptFonts_ < kKeptFonts) {
                made->keeper = std::make_unique<FontKeeper>(surface_, made->font.handle());
                ++keptFonts_;
            }
            // The last text object to let go of the font takes it out of the
            // table; the context outlives every object it built.
            TextFont shared(made.release(), [this, key](const MovieFont* font) { forget(key, font); });
            fonts_[key] = shared;
            return shared;
        }
        refusal = messages::kCantCreateFont;
    }
    if (!fontFailureNoted_) {
        // Told, not fatal: a web page must not be able to end the browser.
        fontFailureNoted_ = true;
        fontNotice_ = FontNotice{refusal, faceName, size};
    }
    return nullptr;
}

bool ObjectBuildContext::takeFontNotice(FontNotice& notice) {
    if (!fontNotice_.message) return false;
    notice = std::move(fontNotice_);
    fontNotice_ = FontNotice{};
    return true;
}

void ObjectBuildContext::forget(const FontKey& key, const MovieFont* font) {
    if (font->keeper) --keptFonts_;
    const auto entry = fonts_.find(key);
    if (entry != fonts_.end() && entry->second.expired()) fonts_.erase(entry);
    delete font;
}
