#include "core/model/movie_model.h"

#include <algorithm>

#include "core/model/block_acceptance.h"

namespace vxa {

void MovieModel::append(const uint8_t* data, size_t length) {
    if (broken_) return;
    reader_.append(data, length);
    taken_ += length;
    if (!reader_.headerComplete()) return;
    if (!setUp_) setUp();
    const uint8_t* body = nullptr;
    size_t bodyLength = 0;
    for (;;) {
        switch (reader_.next(body, bodyLength)) {
            case StreamReader::Next::Block: enter(body, bodyLength); break;
            case StreamReader::Next::NeedMore: return;
            case StreamReader::Next::Broken:
                broken_ = true;
                pendingAtBreak_ = taken_ - next_.offset;
                rejections_.push_back({next_, kBrokenStreamReason});
                return;
        }
    }
}

void MovieModel::setUp() {
    setUp_ = true;
    // A negative count can name no entry: its table stays empty.
    frames_.resize(static_cast<size_t>(std::max<int>(0, header().frameCount)));
    frameOrigins_.resize(frames_.size());
    groups_.resize(static_cast<size_t>(std::max<int>(0, header().groupCount)));
    groupOrigins_.resize(groups_.size());
    next_.offset = headerSize(header().layout);
}

void MovieModel::enter(const uint8_t* body, size_t length) {
    const Place place = next_;
    ++next_.block;
    next_.offset += 2 + length;

    Block block;
    std::string refusal = acceptBlock(body, length, header().layout, frameCount(), groupCount(), block);
    if (!refusal.empty()) {
        rejections_.push_back({place, std::move(refusal)});
        return;
    }
    const int16_t number = block.frame.number;
    if (number != 0) {
        const FrameRecord* previous = frame(number - 1);
        for (size_t i = 0; i < block.frame.items.size(); ++i) {
            if (block.frame.items[i].presence == 0 && (!previous || i >= previous->items.size())) {
                emptyRepeats_.push_back({place, number, i});
            }
        }
        frames_[number - 1] = frameRecordFor(block.frame, previous);
        frameOrigins_[number - 1] = place;
    }
    for (GroupRecord& group : block.groups) {
        const size_t slot = static_cast<size_t>(group.id - 1);
        groups_[slot] = std::make_shared<const GroupRecord>(std::move(group));
        groupOrigins_[slot] = place;
    }
}

const FrameRecord* MovieModel::frame(int n) const {
    if (n < 1 || n > frameCount() || !frames_[n - 1]) return nullptr;
    return &*frames_[n - 1];
}

std::shared_ptr<const GroupRecord> MovieModel::group(int id) const {
    if (id < 1 || id > groupCount()) return nullptr;
    return groups_[id - 1];
}

std::optional<MovieModel::Place> MovieModel::frameOrigin(int n) const {
    if (!frame(n)) return std::nullopt;
    return frameOrigins_[n - 1];
}

std::optional<MovieModel::Place> MovieModel::groupOrigin(int id) const {
    if (!group(id)) return std::nullopt;
    return groupOrigins_[id - 1];
}

void MovieModel::releaseFrame(int n) {
    if (n >= 1 && n <= frameCount()) frames_[n - 1].reset();
}

}  // namespace vxa
