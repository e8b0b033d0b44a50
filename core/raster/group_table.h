#pragma once
// The groups a movie has sent, made ready for drawing as they arrive.
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
    // Room for the ids 1..count (the header's group count); none has arrived.
    explicit GroupTable(int count = 0);

    int count() const { return static_cast<int>(groups_.size()); }
    // A group record replaces the group with its id; ids outside the table
    // are ignored.
    void put(const vxa::GroupRecord& record);
    // Null when the id is outside the table or the group has not arrived.
    const PreparedGroup* find(int id) const;
    bool inTable(int id) const { return id >= 1 && id <= count(); }

private:
    std::vector<std::unique_ptr<PreparedGroup>> groups_;
};

}  // namespace raster
