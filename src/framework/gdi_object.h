#pragma once
// Thin owners of one GDI handle each. An owner deletes its handle when it is
// destroyed unless it has given the handle away (release), which is how a
// pen or brush passes to the surface that adopts it.
#include <windows.h>

#include <utility>

namespace fw {

template <typename Handle>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    ~GdiObject() { reset(); }

    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle_(other.release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Handle handle() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Gives the handle up: the caller owns it from now on.
    Handle release() { return std::exchange(handle_, nullptr); }

    // Deletes the held handle (stock objects included: GDI ignores that) and
    // takes the new one.
    void reset(Handle handle = nullptr) {
        if (handle_) DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Palette = GdiObject<HPALETTE>;
using Region = GdiObject<HRGN>;

}  // namespace fw
