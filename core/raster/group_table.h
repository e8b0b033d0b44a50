#pragma once
// The groups a movie has sent, made ready for drawing as they arrive.
#include <cstddef>
#include <memory>
#include <vector>

#include "core/format/block.h"
#include "core/raster/objects.h"

namespace raster {

struct PreparedGroup {
    int id = 0;
    std::vector<PreparedObject> objects;  // drawn in order, later ones over earlier ones
};

class GroupTable {
public:
    // What the table keeps of its objects' recorded drawings, in spans (about
    // 12 MB): every real movie's shapes fit, and a hostile one's past it are
    // drawn shape by shape, with the same pixels.
    static constexpr size_t kKeptSpans = 1 << 20;

    // Room for the ids 1..count (the header's group count); none has arrived.
    explicit GroupTable(int count = 0, size_t keptSpans = kKeptSpans);

    int count() const { return static_cast<int>(groups_.size()); }
    // A group record replaces the group with its id; ids outside the table
    // are ignored.
    void put(const vxa::GroupRecord& record);
    // Null when the id is outside the table or the group has not arrived.
    const PreparedGroup* find(int id) const;
    PreparedGroup* find(int id);
    // Records an object of the table's groups as it is first drawn, and keeps
    // the recording while the table has room: a group's objects past a
    // frame's drawing budget cost nothing until a frame draws them.
    void record(PreparedObject& object);
    bool inTable(int id) const { return id >= 1 && id <= count(); }

private:
    size_t keptSpans_;
    size_t kept_ = 0;  // of keptSpans_, by the groups in the table
    std::vector<std::unique_ptr<PreparedGroup>> groups_;
};

}  // namespace raster
