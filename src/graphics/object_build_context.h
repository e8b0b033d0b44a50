#pragma once
// What one movie may hold of the host's memory and GDI objects, and what it
// holds now. A stream is content from the web: without these bounds a page
// could make the plug-in exhaust the browser's memory or its quota of GDI
// objects (10,000 per process by default), which every window of the browser
// needs. The bounds lie far above anything a real movie holds (see
// kMovieLimits), so they only ever stop hostile or broken streams.
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "framework/gdi_object.h"
#include "graphics/font_keeper.h"

class ObjectBuildContext {
public:
    struct Amounts {
        uint32_t objects = 0;     // graphic objects
        uint32_t points = 0;      // polygon points
        uint32_t characters = 0;  // text, after its line breaks are expanded
        uint32_t fonts = 0;       // distinct platform fonts
    };

    // A movie's pictures are groups of some tens of objects, a stream of a
    // megabyte can't describe more than 80,000 objects (13 bytes each at
    // least), and every text object of the same face, size and style shares
    // one font:
    // - 1,000,000 objects: about 100 MB of object records at the most, far
    //   beyond any real movie, still inside a 32-bit host.
    // - 4,000,000 points (32 MB) and 4,000,000 characters (4 MB): a real
    //   polygon or caption has tens to hundreds.
    // - 2,000 distinct fonts: a fifth of the process's GDI quota, leaving the
    //   rest to the browser and to the other movies on the page. A real movie
    //   has tens (8 faces, a few sizes and styles).
    static constexpr Amounts kMovieLimits{1'000'000, 4'000'000, 4'000'000, 2'000};

    // What one object holds of the bounds, given back when the holder dies.
    class Share {
    public:
        Share() = default;
        Share(Share&& other) noexcept;
        Share& operator=(Share&& other) noexcept;
        ~Share();
        Share(const Share&) = delete;
        Share& operator=(const Share&) = delete;

    private:
        friend class ObjectBuildContext;
        void giveBack();
        ObjectBuildContext* context_ = nullptr;
        Amounts amounts_;
    };

    // One font of the movie, shared by every text object that asks for the
    // same face, size and style, and deleted with the last of them.
    struct MovieFont {
        Share share;  // declared first: given back after the font is deleted
        fw::Font font;
        std::unique_ptr<FontKeeper> keeper;  // none once kKeptFonts are kept
    };
    // Null when no font could be made.
    using TextFont = std::shared_ptr<const MovieFont>;

    // Fonts kept realized for the surface (FontKeeper): two GDI objects each,
    // and more distinct fonts than a real movie uses in its captions.
    static constexpr uint32_t kKeptFonts = 32;

    explicit ObjectBuildContext(const Amounts& limits = kMovieLimits);
    ObjectBuildContext(const ObjectBuildContext&) = delete;
    ObjectBuildContext& operator=(const ObjectBuildContext&) = delete;

    // Whether the movie may hold that much more without passing a bound.
    bool canHold(const Amounts& more) const;
    // Counts amounts as live until the returned share is destroyed. The
    // caller has asked canHold.
    Share take(const Amounts& amounts);

    // What to tell the user about a font that could not be made: the message
    // for its cause, with the face and size it names.
    struct FontNotice {
        const char* message = nullptr;  // one of the plug-in's messages
        std::string faceName;
        int size = 0;
    };

    // The movie's font of that face, size and style, made within the font
    // bound (createTextFont) when the movie has none yet. A font that can't be
    // made, because the bound is reached or the platform refuses, is noted
    // for the user once per movie, each cause with its own message; the text
    // is then drawn in the surface's font.
    TextFont makeFont(const char* faceName, int size, bool bold, bool italic, bool underline);
    // The noted font failure, once. It is told by whoever builds, once the
    // objects are in place: a box can't be raised in the middle of building,
    // since the host may destroy the movie from inside it.
    bool takeFontNotice(FontNotice& notice);
    bool hasFontNotice() const { return fontNotice_.message != nullptr; }
    // The context fonts are drawn on (the movie's surface), for which the
    // first kKeptFonts fonts are kept realized. Without one none are kept.
    void keepFontsRealizedFor(HDC surface) { surface_ = surface; }

    const Amounts& live() const { return live_; }
    const Amounts& limits() const { return limits_; }
    bool fontFailureNoted() const { return fontFailureNoted_; }
    uint32_t keptFonts() const { return keptFonts_; }
    // The movie's instance has ended: a font that can't be made is no longer
    // told.
    void silence() {
        fontFailureNoted_ = true;
        fontNotice_ = FontNotice{};
    }

private:
    using FontKey = std::tuple<std::string, int, bool, bool, bool>;

    void giveBack(const Amounts& amounts);
    void forget(const FontKey& key, const MovieFont* font);

    Amounts limits_;
    Amounts live_;
    bool fontFailureNoted_ = false;
    FontNotice fontNotice_;
    HDC surface_ = nullptr;
    uint32_t keptFonts_ = 0;
    std::map<FontKey, std::weak_ptr<const MovieFont>> fonts_;
};
