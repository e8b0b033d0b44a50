#include "core/tables/object_header.h"

ObjectHeader objectHeaderOf(const vxa::ObjectRecord& record) {
    ObjectHeader header;
    header.left = record.left;
    header.top = record.top;
    header.right = record.right;
    header.bottom = record.bottom;
    header.fillColor1 = colorIndexOfByte(record.fill1);
    header.fillColor2 = colorIndexOfByte(record.fill2);
    header.lineColor1 = colorIndexOfByte(record.line1);
    header.lineColor2 = colorIndexOfByte(record.line2);
    header.fillPattern = record.fillPattern;
    header.linePattern = record.linePattern;
    header.lineWidth = record.lineWidth;
    return header;
}
