// Small owners for system resources and scoped states: a kernel handle that closes itself, a GDI
// object, the device contexts of painting and of a window, and a flag set for one scope. Each
// releases what it holds on every way out of its scope, an exception included.
#pragma once

#include <windows.h>

#include <utility>

// A kernel handle (event, thread, file, device) owned by one object and closed once. Both of
// the system's "no handle" values (null and INVALID_HANDLE_VALUE) count as empty.
class TOwnedHandle {
public:
    TOwnedHandle() = default;
    explicit TOwnedHandle(HANDLE Handle) : handle_(Handle) {}
    ~TOwnedHandle() { Reset(); }
    TOwnedHandle(TOwnedHandle&& Other) noexcept : handle_(Other.Release()) {}
    TOwnedHandle& operator=(TOwnedHandle&& Other) noexcept
    {
        if (this != &Other) Reset(Other.Release());
        return *this;
    }
    TOwnedHandle(const TOwnedHandle&) = delete;
    TOwnedHandle& operator=(const TOwnedHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // Closes what is held and takes Handle (by default: nothing).
    void Reset(HANDLE Handle = nullptr)
    {
        if (Valid()) CloseHandle(handle_);
        handle_ = Handle;
    }
    // Gives the handle up without closing it.
    HANDLE Release() { return std::exchange(handle_, nullptr); }

private:
    HANDLE handle_ = nullptr;
};

// A GDI object (brush, pen, font, bitmap) owned by one object and deleted once.
template <class T>
class TOwnedGdiObject {
public:
    TOwnedGdiObject() = default;
    explicit TOwnedGdiObject(T Object) : object_(Object) {}
    ~TOwnedGdiObject() { Reset(); }
    TOwnedGdiObject(const TOwnedGdiObject&) = delete;
    TOwnedGdiObject& operator=(const TOwnedGdiObject&) = delete;

    T Get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }
    // Deletes what is held and takes Object (by default: nothing).
    void Reset(T Object = nullptr)
    {
        if (object_) DeleteObject(object_);
        object_ = Object;
    }

private:
    T object_ = nullptr;
};

// BeginPaint and EndPaint of one WM_PAINT.
class TPaintDC {
public:
    explicit TPaintDC(HWND Window) : window_(Window) { dc_ = BeginPaint(window_, &paint_); }
    ~TPaintDC() { EndPaint(window_, &paint_); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A window's client DC, released at the end of the scope.
class TWindowDC {
public:
    explicit TWindowDC(HWND Window) : window_(Window), dc_(GetDC(Window)) {}
    ~TWindowDC()
    {
        if (dc_) ReleaseDC(window_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Sets a flag for one scope and clears it again on the way out.
class TScopedFlag {
public:
    explicit TScopedFlag(bool& Flag) : flag_(Flag) { flag_ = true; }
    ~TScopedFlag() { flag_ = false; }
    TScopedFlag(const TScopedFlag&) = delete;
    TScopedFlag& operator=(const TScopedFlag&) = delete;

private:
    bool& flag_;
};
