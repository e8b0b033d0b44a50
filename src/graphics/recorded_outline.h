#pragma once
// Wide pens cost Wine dearly: an ellipse or an arc drawn with an inside-frame
// pen two or more pixels wide is built as a region of one piece per pixel of
// its perimeter, about half a millisecond for an 80 x 60 oval, every time it
// is drawn. What such a call paints doesn't depend on where it is drawn, so
// an object records it once, by making the very same call on a 1-bit bitmap,
// as two masks: where the pen paints and where the brush paints. From then on
// the masks are painted instead, the brush through the one and the pen's
// colour through the other, which sets exactly the pixels the call sets.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The memory the recordings made for one surface may hold. Each recording
// keeps the budget alive and gives its bytes back when it goes, whichever of
// the two goes first.
class RecordingBudget {
public:
    explicit RecordingBudget(size_t bytes) : left_(bytes) {}
    bool take(size_t bytes);
    void giveBack(size_t bytes) { left_ += bytes; }
    size_t left() const { return left_; }

private:
    size_t left_;
};

// One object's wide outline. It is drawn directly the first time, so that an
// object drawn once never pays for a recording, recorded the second time
// (when the budget allows), and painted from the recording from then on.
class RecordedOutline {
public:
    using Paint = std::function<void(HDC)>;

    RecordedOutline();
    ~RecordedOutline();
    RecordedOutline(const RecordedOutline&) = delete;
    RecordedOutline& operator=(const RecordedOutline&) = delete;

    // paint(context) makes the primitive's call in the object's coordinates
    // with the pen and brush selected into target: an inside-frame pen of
    // penWidth and penColor, and a brush that paints unless it is the null
    // brush (withBrush false). box: the object's rectangle, which an
    // inside-frame pen keeps within.
    void draw(HDC target, const RECT& box, int penWidth, COLORREF penColor, bool withBrush,
              const std::shared_ptr<RecordingBudget>& budget, const Paint& paint);
    bool recorded() const { return masks_ != nullptr; }

private:
    struct Masks;

    std::unique_ptr<Masks> record(HDC reference, const RECT& box, int penWidth, bool withBrush,
                                  const Paint& paint) const;
    void replay(HDC target, COLORREF penColor) const;

    int draws_ = 0;
    std::unique_ptr<Masks> masks_;
    std::shared_ptr<RecordingBudget> budget_;
};
