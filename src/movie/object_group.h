#pragma once
// A numbered picture of graphic objects with group-local coordinates, drawn
// wherever a frame places it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/graphic_object.h"
#include "core/model/frame_budget.h"

class OffscreenSurface;

class ObjectGroup {
public:
    // width and height: 1..256. A null object is an empty slot (a record that
    // builds no object), skipped when drawing. surface and palette are the
    // movie's and must outlive the group.
    ObjectGroup(int16_t id, int width, int height, std::vector<std::unique_ptr<GraphicObject>> objects,
                OffscreenSurface& surface, HPALETTE palette);
    virtual ~ObjectGroup();
    ObjectGroup(const ObjectGroup&) = delete;
    ObjectGroup& operator=(const ObjectGroup&) = delete;

    // Draws every object at the current placement, later ones over earlier
    // ones, leaving the surface's window origin as it found it.
    virtual void draw();
    // Moves the placement's top-left corner to (x, y) in movie coordinates and
    // draws there. Nothing is clipped to the group's extent.
    void place(int16_t x, int16_t y);
    // The same within a frame's drawing budget: only the objects the budget
    // admits are drawn. False once the budget has cut the frame.
    bool place(int16_t x, int16_t y, vxa::FrameBudget& budget);

    int16_t id() const { return id_; }
    const RECT& extent() const { return extent_; }
    const RECT& placement() const { return placement_; }
    size_t objectCount() const { return objects_.size(); }
    const GraphicObject* object(size_t index) const { return objects_[index].get(); }

private:
    void moveTo(int16_t x, int16_t y);
    bool drawWithin(vxa::FrameBudget* budget);

    RECT extent_;
    RECT placement_;
    int16_t id_;
    HPALETTE palette_;
    OffscreenSurface& surface_;
    std::vector<std::unique_ptr<GraphicObject>> objects_;
};
