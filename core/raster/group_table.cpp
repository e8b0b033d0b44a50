#include "core/raster/group_table.h"

#include <algorithm>

namespace raster {

GroupTable::GroupTable(int count, size_t keptSpans)
    : keptSpans_(keptSpans), groups_(static_cast<size_t>(std::max(0, count))) {}

void GroupTable::put(const vxa::GroupRecord& record) {
    if (!inTable(record.id)) return;
    auto group = std::make_unique<PreparedGroup>();
    group->id = record.id;
    group->objects.reserve(record.objects.size());
    std::unique_ptr<PreparedGroup>& slot = groups_[static_cast<size_t>(record.id - 1)];
    if (slot) {
        for (const PreparedObject& object : slot->objects) kept_ -= object.drawing.weight();
    }
    for (const vxa::ObjectRecord& object : record.objects) {
        PreparedObject prepared;
        if (prepareObject(object, prepared)) group->objects.push_back(std::move(prepared));
    }
    slot = std::move(group);
}

const PreparedGroup* GroupTable::find(int id) const {
    if (!inTable(id)) return nullptr;
    return groups_[static_cast<size_t>(id - 1)].get();
}

PreparedGroup* GroupTable::find(int id) {
    if (!inTable(id)) return nullptr;
    return groups_[static_cast<size_t>(id - 1)].get();
}

void GroupTable::record(PreparedObject& object) {
    if (object.recorded || object.noRoom) return;
    recordObject(object);
    if (kept_ + object.drawing.weight() > keptSpans_) {
        forgetRecording(object);
        object.noRoom = true;
        return;
    }
    kept_ += object.drawing.weight();
}

}  // namespace raster
