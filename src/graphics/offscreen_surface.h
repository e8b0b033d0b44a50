#pragma once
// The movie's off-screen canvas: a memory device context holding a bitmap of
// the movie's size, on which each frame is composed before one copy shows it.
// It owns the pen and brush that graphic objects last selected into it, and the
// sheet of the 64 fill patterns from which pattern brushes are cut.
#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/device_context.h"
#include "framework/gdi_object.h"
#include "graphics/pattern_tile_maker.h"
#include "graphics/recorded_outline.h"
#include "core/tables/object_header.h"

class OffscreenSurface : public fw::DeviceContext {
public:
    // The module resource that holds the pattern sheet.
    static constexpr int kPatternSheetId = 107;

    // reference: a context of the movie window, whose format the bitmap takes.
    // A patternSheetId of 0 loads no sheet. When no memory context can be
    // made the surface exists without one and every drawing on it does nothing.
    OffscreenSurface(HDC reference, const RECT& rect, int patternSheetId);
    ~OffscreenSurface() override;

    // Select the pen or brush and take it over: the object passed in gives up
    // its handle, and the surface deletes the one it adopted before. A pen or
    // brush that can't be selected stays with its object.
    void adoptPen(fw::Pen& pen);
    void adoptBrush(fw::Brush& brush);

    // A brush for a pattern number (low byte used) coloured with two colour
    // indices: 1 when made, 0 for pattern 255 (brush left empty). Selects
    // nothing.
    int makePatternBrush(int16_t pattern, int colorIndex1, int colorIndex2, fw::Brush& brush) const;
    // The fill brush and the line brush of an object: 1 when both were made.
    int makeShapeBrushes(const ObjectHeader& header, fw::Brush& fill, fw::Brush& line) const;

    // Copies the whole surface into target (the client area when null),
    // stretched to its size. A null window gets nothing: its context would be
    // the whole screen's.
    void copyToWindow(HWND window, const RECT* target) const;

    // Whether there is a context with the movie-sized bitmap in it: a
    // surface that is too large for the memory at hand has none.
    bool hasBitmap() const { return savedBitmap_ != nullptr; }
    const RECT& rect() const { return surfaceRect_; }
    HBITMAP patternSheet() const { return patternSheet_.handle(); }

    // What recordings of wide outlines drawn here may hold (RecordedOutline):
    // some hundreds of shapes, far more than a frame of a real movie has.
    static constexpr size_t kRecordingBytes = 4u << 20;
    const std::shared_ptr<RecordingBudget>& recordingBudget() const { return recordingBudget_; }

private:
    HPEN savedPen_ = nullptr;
    HBRUSH savedBrush_ = nullptr;
    HBITMAP savedBitmap_ = nullptr;
    RECT surfaceRect_;
    fw::Bitmap patternSheet_;
    // Made with the first pattern brush; it keeps the sheet selected, so it
    // goes before the sheet.
    mutable std::unique_ptr<PatternTileMaker> tileMaker_;
    std::shared_ptr<RecordingBudget> recordingBudget_ = std::make_shared<RecordingBudget>(kRecordingBytes);
};
