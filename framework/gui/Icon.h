// TIcon: an icon handle the object owns, with its size.
#pragma once

#include <utility>

#include <windows.h>

class TIcon {
public:
    TIcon() = default;
    explicit TIcon(HICON Handle) { SetHandle(Handle); }
    ~TIcon() { SetHandle(nullptr); }
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    HICON Handle() const { return icon_; }
    // Takes ownership of Handle (the previous icon is destroyed).
    void SetHandle(HICON Handle)
    {
        if (icon_ && icon_ != Handle) DestroyIcon(icon_);
        icon_ = Handle;
        width_ = height_ = 0;
        ICONINFO info{};
        if (icon_ && GetIconInfo(icon_, &info)) {
            BITMAP bm{};
            // A monochrome icon keeps mask and image stacked in one bitmap of double height.
            HBITMAP measured = info.hbmColor ? info.hbmColor : info.hbmMask;
            if (GetObjectA(measured, sizeof bm, &bm)) {
                width_ = bm.bmWidth;
                height_ = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
            }
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
    }
    HICON ReleaseHandle() { return std::exchange(icon_, nullptr); }
    bool Empty() const { return icon_ == nullptr; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    HICON icon_ = nullptr;
    int width_ = 0, height_ = 0;
};
