#pragma once
// What one movie may hold of the host's memory and GDI objects, and what it
// holds now. A stream is content from the web: without these bounds a page
// could make the plug-in exhaust the browser's memory or its quota of GDI
// objects (10,000 per process by default), which every window of the browser
// needs. The bounds lie far above anything a real movie holds (see
// kMovieLimits), so they only ever stop hostile or broken streams.
#include <cstdint>

#include "framework/gdi_object.h"

class ObjectBuildContext {
public:
    struct Amounts {
        uint32_t objects = 0;     // graphic objects
        uint32_t points = 0;      // polygon points
        uint32_t characters = 0;  // text, after its line breaks are expanded
        uint32_t fonts = 0;       // platform fonts (one per text object)
    };

    // A movie's pictures are groups of some tens of objects, a stream of a
    // megabyte can't describe more than 80,000 objects (13 bytes each at
    // least), and a caption needs one font per text object:
    // - 1,000,000 objects: about 100 MB of object records at the most, far
    //   beyond any real movie, still inside a 32-bit host.
    // - 4,000,000 points (32 MB) and 4,000,000 characters (4 MB): a real
    //   polygon or caption has tens to hundreds.
    // - 2,000 fonts: a fifth of the process's GDI quota, leaving the rest to
    //   the browser and to the other movies on the page.
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

    // A text object's font with its share of the font bound; font is empty
    // when none could be made.
    struct TextFont {
        Share share;  // declared first: given back after the font is deleted
        fw::Font font;
    };

    explicit ObjectBuildContext(const Amounts& limits = kMovieLimits);
    ObjectBuildContext(const ObjectBuildContext&) = delete;
    ObjectBuildContext& operator=(const ObjectBuildContext&) = delete;

    // Whether the movie may hold that much more without passing a bound.
    bool canHold(const Amounts& more) const;
    // Counts amounts as live until the returned share is destroyed. The
    // caller has asked canHold.
    Share take(const Amounts& amounts);

    // Makes a font within the font bound (createTextFont). A font that can't
    // be made, because the bound is reached or the platform refuses, is
    // reported once per movie; the text is then drawn in the surface's font.
    TextFont makeFont(const char* faceName, int size, bool bold, bool italic, bool underline);

    const Amounts& live() const { return live_; }
    const Amounts& limits() const { return limits_; }
    bool fontFailureReported() const { return fontFailureReported_; }

private:
    void giveBack(const Amounts& amounts);

    Amounts limits_;
    Amounts live_;
    bool fontFailureReported_ = false;
};
