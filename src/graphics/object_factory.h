#pragma once
// Graphic objects from the stream's object records.
#include <memory>

#include "graphics/graphic_object.h"
#include "graphics/object_build_context.h"
#include "core/format/block.h"

struct BuiltObject {
    // Null for a record that builds no object (kind 7 and unknown kinds):
    // an empty slot, which the group skips.
    std::unique_ptr<GraphicObject> object;
    // The record would take the movie past one of context's bounds; nothing
    // was built, and the group it belongs to is to be refused.
    bool overLimit = false;
};

// Converts the raw record (a colour byte is its index plus one, modulo 256)
// and builds its object, which then holds its share of context's bounds
// until it is destroyed: context must outlive it. Throws std::bad_alloc when
// memory runs out.
BuiltObject buildGraphicObject(const vxa::ObjectRecord& record, ObjectBuildContext& context);
