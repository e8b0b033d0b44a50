#include "graphics/object_factory.h"

#include <vector>

#include "graphics/arc_object.h"
#include "core/tables/line_breaks.h"
#include "graphics/line_object.h"
#include "graphics/oval_object.h"
#include "graphics/polygon_object.h"
#include "graphics/rect_object.h"
#include "graphics/round_rect_object.h"
#include "graphics/text_object.h"
#include "core/model/frame_budget.h"

namespace {

// What the record's object would hold of the movie's bounds, its font aside:
// a font past its bound leaves the text in the surface's font instead.
ObjectBuildContext::Amounts amountsOf(const vxa::ObjectRecord& record) {
    ObjectBuildContext::Amounts amounts;
    amounts.objects = 1;
    if (record.kind == vxa::ObjectKind::Polygon) {
        amounts.points = static_cast<uint32_t>(record.points.size());
    } else if (record.kind == vxa::ObjectKind::Text) {
        const std::string& text = record.text;
        amounts.characters = static_cast<uint32_t>(text.size() + countCarriageReturns(text.c_str()));
    }
    return amounts;
}

std::unique_ptr<GraphicObject> buildPolygon(const vxa::ObjectRecord& record, const ObjectHeader& header) {
    // The stream holds at most a 16-bit count of points.
    const size_t count = std::min<size_t>(record.points.size(), INT16_MAX);
    std::vector<POINT> points(count);
    for (size_t i = 0; i < count; ++i) {
        points[i] = POINT{record.points[i].first, record.points[i].second};
    }
    return std::make_unique<PolygonObject>(record.kind, header, static_cast<int16_t>(count), points.data());
}

std::unique_ptr<GraphicObject> buildObject(const vxa::ObjectRecord& record, ObjectBuildContext& context) {
    const ObjectHeader header = objectHeaderOf(record);
    switch (record.kind) {
        case vxa::ObjectKind::Polygon:
            return buildPolygon(record, header);
        case vxa::ObjectKind::Line:
            return std::make_unique<LineObject>(record.kind, header);
        case vxa::ObjectKind::Oval:
            return std::make_unique<OvalObject>(record.kind, header);
        case vxa::ObjectKind::Rect:
            return std::make_unique<RectObject>(record.kind, header);
        case vxa::ObjectKind::RoundRect:
            return std::make_unique<RoundRectObject>(record.kind, header, record.cornerWidth, record.cornerHeight);
        case vxa::ObjectKind::Arc:
            return std::make_unique<ArcObject>(record.kind, header, record.startAngle, record.sweep);
        case vxa::ObjectKind::Text:
            return std::make_unique<TextObject>(record.kind, header, colorIndexOfByte(record.textColor), record.style,
                                                record.size, record.justification, record.fontName.c_str(),
                                                record.text.c_str(), context);
        default:
            return nullptr;
    }
}

}  // namespace

BuiltObject buildGraphicObject(const vxa::ObjectRecord& record, ObjectBuildContext& context) {
    BuiltObject built;
    if (record.kind < vxa::ObjectKind::Polygon || record.kind > vxa::ObjectKind::Text) return built;
    const ObjectBuildContext::Amounts amounts = amountsOf(record);
    if (!context.canHold(amounts)) {
        built.overLimit = true;
        return built;
    }
    built.object = buildObject(record, context);
    built.object->holdShare(context.take(amounts));
    built.object->setDrawingCost(vxa::drawingCost(record));
    return built;
}
