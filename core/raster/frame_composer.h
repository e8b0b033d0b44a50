#pragma once
// Frames of a movie model composed into one picture: the groups a frame
// places are made ready for drawing when a frame first needs them, and again
// when the model holds a group that arrived anew. A frame that would paint
// what the picture already shows (the same placements of the same groups, in
// the same fonts) is not composed again. Every portable front end composes
// through this.
#include <memory>
#include <optional>
#include <vector>

#include "core/model/movie_model.h"
#include "core/raster/renderer.h"

namespace raster {

class FrameComposer {
public:
    // A picture of width x height (both above 0) for a movie of groupCount
    // group slots.
    FrameComposer(int width, int height, int groupCount);

    // Composes frame n of the movie; false when the frame is not in the
    // model or a group it places (before the drawing budget stops it) has
    // not arrived, as composeFrame says.
    bool compose(const vxa::MovieModel& movie, int16_t n, FontLibrary& fonts, ComposeReport* report = nullptr);
    const Image& picture() const { return picture_; }

private:
    // True when a group the frame places was prepared anew.
    bool prepareGroups(const vxa::MovieModel& movie, const FrameRecord& frame);

    Image picture_;
    GroupTable groups_;
    // What each slot of groups_ was prepared from; held so that a record the
    // model has replaced cannot be mistaken for a new one at the same address.
    std::vector<std::shared_ptr<const vxa::GroupRecord>> prepared_;

    // What the picture shows now, and what composing it said.
    struct Shown {
        std::vector<FrameItem> items;
        int backgroundIndex = -1;
        uint64_t fontsState = 0;
        bool whole = false;
        ComposeReport report;
    };
    std::optional<Shown> shown_;
};

// The colour index of a header's background byte.
int backgroundIndexOf(const vxa::Header& header);

}  // namespace raster
