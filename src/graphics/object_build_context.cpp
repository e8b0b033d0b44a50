#include "graphics/object_build_context.h"

#include <utility>

#include "graphics/font_mapping.h"
#include "plugin/messages.h"
#include "plugin/report.h"

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
    TextFont made;
    Amounts oneFont;
    oneFont.fonts = 1;
    if (canHold(oneFont)) {
        made.font = createTextFont(faceName, size, bold, italic, underline);
        if (made.font) made.share = take(oneFont);
    }
    if (!made.font && !fontFailureReported_) {
        // Reported, not fatal: a web page must not be able to end the browser.
        fontFailureReported_ = true;
        reportError(messages::kCantCreateFont, faceName, size);
    }
    return made;
}
