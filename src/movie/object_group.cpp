#include "movie/object_group.h"

#include "graphics/offscreen_surface.h"

ObjectGroup::ObjectGroup(int16_t id, int width, int height, std::vector<std::unique_ptr<GraphicObject>> objects,
                         OffscreenSurface& surface, HPALETTE palette)
    : extent_{0, 0, width, height},
      placement_(extent_),
      id_(id),
      palette_(palette),
      surface_(surface),
      objects_(std::move(objects)) {}

ObjectGroup::~ObjectGroup() = default;

void ObjectGroup::place(int16_t x, int16_t y) {
    moveTo(x, y);
    draw();
}

bool ObjectGroup::place(int16_t x, int16_t y, vxa::FrameBudget& budget) {
    moveTo(x, y);
    return drawWithin(&budget);
}

void ObjectGroup::moveTo(int16_t x, int16_t y) {
    // Set, not offset by a 16-bit difference: two placements more than 32767
    // pixels apart must still land where they are asked to.
    placement_ = RECT{x, y, x + extent_.right, y + extent_.bottom};
}

void ObjectGroup::draw() { drawWithin(nullptr); }

bool ObjectGroup::drawWithin(vxa::FrameBudget* budget) {
    HDC context = surface_.handle();
    SelectPalette(context, palette_, FALSE);
    POINT origin{};
    GetWindowOrgEx(context, &origin);
    // Group point (px, py) lands at (placement.left + px, placement.top + py).
    SetWindowOrgEx(context, -placement_.left, -placement_.top, nullptr);
    bool within = true;
    for (const std::unique_ptr<GraphicObject>& object : objects_) {
        if (!object) continue;  // builds nothing, costs nothing
        if (budget && !budget->admit(object->drawingCost())) {
            within = false;
            break;
        }
        object->draw(surface_);
    }
    SetWindowOrgEx(context, origin.x, origin.y, nullptr);
    return within;
}
