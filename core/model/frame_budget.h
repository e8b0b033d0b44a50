#pragma once
// How much drawing one frame may ask for.
//
// A frame places up to 255 groups, and a group of one block can hold some
// 2,500 objects, or one polygon of 16,000 points: a stream of a few kilobytes
// can ask for hundreds of thousands of objects in every frame. Drawing that
// would keep the browser's user-interface thread inside one timer step for
// minutes. So every frame gets the same budget, and what would pass it is not
// drawn: the picture stops there, the user is told once per movie that part
// of the animation can't be shown, and playback goes on.
//
// The cost of an object is a function of its record alone, so that every
// player of a stream (the plug-in, the portable renderer, `vxa check`) cuts a
// frame at the same object:
//
// - Unit: the drawing unit, about one microsecond of drawing through GDI under
//   Wine on the machine the bound was measured on (thread time).
// - Cost: drawingCost(object) below; what it counts is listed there. An object
//   whose kind builds nothing costs 0.
// - Bound: kFrameDrawingBound units per frame, the background fill not
//   counted.
// - Cut: in drawing order (items in the frame's order, each group's objects in
//   their order), the first object whose cost would take the frame's total
//   past the bound is not drawn, and neither is anything after it in the
//   frame: no later object, however cheap, and no later item. Items after the
//   cut are not looked at, so a group they name that has not arrived does not
//   hold the frame back.
//
// A repaint composes the frame again and cuts it at the same place.
#include <cstdint>
#include <vector>

#include "core/format/block.h"

namespace vxa {

// A hostile frame stays within about 250 ms of drawing on the machine the
// bound was measured on, while the example movies use a few per cent of it.
constexpr uint64_t kFrameDrawingBound = 200'000;

// The largest picture a player makes: 4096 x 4096 pixels. Every frame fills
// the whole picture and copies it to the window before and after any object,
// so its area is work no budget of objects bounds: a header asking for
// 4000 x 32767 pixels kept a timer step busy for 340 ms of thread time, and
// 9999 x 32722 for 910 ms. Movies were made for pages a few hundred pixels
// across; a larger one is damaged or hostile, and is refused as a picture
// the platform could not make.
constexpr int64_t kLargestPicture = int64_t{1} << 24;

// Whether a movie of this size has a picture too large to show. A size
// with a side of 0 or less has no picture at all, which is not this.
constexpr bool pictureTooLarge(int width, int height) {
    return width > 0 && height > 0 && int64_t{width} * height > kLargestPicture;
}

// The drawing units one object costs each time it is drawn.
uint32_t drawingCost(const ObjectRecord& object);

// What one frame has spent so far, and whether it has been cut.
class FrameBudget {
public:
    // Whether an object of this cost is drawn. Once one is refused, every
    // later one of the frame is too.
    bool admit(uint32_t cost) {
        if (cut_ || cost > kFrameDrawingBound - spent_) {
            cut_ = true;
            return false;
        }
        spent_ += cost;
        return true;
    }
    bool cut() const { return cut_; }
    uint64_t spent() const { return spent_; }

private:
    uint64_t spent_ = 0;
    bool cut_ = false;
};

// What some objects ask for when drawn once, added up only until the sum
// passes the bound. A frame is cut before one of its items exactly when the
// items before it ask for more than the bound (no cost is negative, so the
// budget admits everything up to there): a player that has not all of a
// frame's groups yet shows the frame when this passes before the first
// missing one, as drawing it would never look at that group.
class FrameAsk {
public:
    void add(const std::vector<ObjectRecord>& objects) {
        for (size_t i = 0; i < objects.size() && !overBound(); ++i) asked_ += drawingCost(objects[i]);
    }
    bool overBound() const { return asked_ > kFrameDrawingBound; }

private:
    uint64_t asked_ = 0;
};

}  // namespace vxa
