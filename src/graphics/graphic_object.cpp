#include "graphics/graphic_object.h"

GraphicObject::GraphicObject(int kind, const ObjectHeader& header)
    : kind_(kind), header_(header), innerRect_(rect()) {
    InflateRect(&innerRect_, -header.lineWidth, -header.lineWidth);
}

GraphicObject::~GraphicObject() = default;

bool GraphicObject::hasSolidLine() const {
    return header_.linePattern == Pattern::SolidSecond || header_.linePattern == Pattern::SolidFirst;
}
