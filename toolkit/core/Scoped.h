#pragma once
// Scoped owners, one per release protocol of the platform. Each owns exactly one handle,
// cannot be copied, can be moved, and releases in its destructor.
#include <windows.h>
#include <objbase.h>

#include <array>
#include <utility>

template <typename Traits>
class ScopedHandle {
public:
    using Type = typename Traits::Type;

    ScopedHandle() noexcept = default;
    explicit ScopedHandle(Type handle) noexcept : handle_(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }
    Type release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
    // Taking over the handle already held changes nothing: releasing it first would leave
    // this owner holding a dead handle.
    void reset(Type handle = Traits::Invalid()) noexcept
    {
        if (handle == handle_)
            return;
        if (handle_ != Traits::Invalid())
            Traits::Close(handle_);
        handle_ = handle;
    }
    // For out-parameters of platform calls: releases what is held, then hands out the slot.
    Type* put() noexcept
    {
        reset();
        return &handle_;
    }

private:
    Type handle_ = Traits::Invalid();
};

namespace scoped_traits {
// Handles whose "none" is null, given back with one platform call.
template <typename T, auto Release>
struct Null {
    using Type = T;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { Release(h); }
};

// Kernel handles whose "none" is INVALID_HANDLE_VALUE (files, searches).
template <auto Release>
struct InvalidValue {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { Release(h); }
};

using Key = Null<HKEY, &RegCloseKey>;
using Find = InvalidValue<&FindClose>;
using ChangeNotification = InvalidValue<&FindCloseChangeNotification>;
using File = InvalidValue<&CloseHandle>;
using Kernel = Null<HANDLE, &CloseHandle>;
using Icon = Null<HICON, &DestroyIcon>;
template <typename T>
using Gdi = Null<T, &DeleteObject>;
using Dc = Null<HDC, &DeleteDC>;
using Library = Null<HMODULE, &FreeLibrary>;
using Menu = Null<HMENU, &DestroyMenu>;
using Window = Null<HWND, &DestroyWindow>;
using EnhMetaFile = Null<HENHMETAFILE, &DeleteEnhMetaFile>;
using CoMem = Null<void*, &CoTaskMemFree>;
using Hook = Null<HHOOK, &UnhookWindowsHookEx>;
} // namespace scoped_traits

using ScopedKey = ScopedHandle<scoped_traits::Key>;
using ScopedFind = ScopedHandle<scoped_traits::Find>;
using ScopedChangeNotification = ScopedHandle<scoped_traits::ChangeNotification>;
using ScopedFile = ScopedHandle<scoped_traits::File>;
using ScopedKernelHandle = ScopedHandle<scoped_traits::Kernel>;
using ScopedIcon = ScopedHandle<scoped_traits::Icon>;
using ScopedBitmap = ScopedHandle<scoped_traits::Gdi<HBITMAP>>;
using ScopedBrush = ScopedHandle<scoped_traits::Gdi<HBRUSH>>;
using ScopedPen = ScopedHandle<scoped_traits::Gdi<HPEN>>;
using ScopedFont = ScopedHandle<scoped_traits::Gdi<HFONT>>;
using ScopedRegion = ScopedHandle<scoped_traits::Gdi<HRGN>>;
using ScopedPalette = ScopedHandle<scoped_traits::Gdi<HPALETTE>>;
using ScopedDC = ScopedHandle<scoped_traits::Dc>;
using ScopedLibrary = ScopedHandle<scoped_traits::Library>;
using ScopedMenu = ScopedHandle<scoped_traits::Menu>;
using ScopedWindow = ScopedHandle<scoped_traits::Window>;
using ScopedEnhMetaFile = ScopedHandle<scoped_traits::EnhMetaFile>;
using ScopedCoMem = ScopedHandle<scoped_traits::CoMem>;
using ScopedHook = ScopedHandle<scoped_traits::Hook>;

// A device context borrowed from a window with GetDC, given back with ReleaseDC. It must be
// given back while the window exists: the platform recycles the contexts of its windows.
class ScopedWindowDC {
public:
    ScopedWindowDC() noexcept = default;
    explicit ScopedWindowDC(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDC() { reset(); }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    ScopedWindowDC(ScopedWindowDC&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr))
    {
    }
    ScopedWindowDC& operator=(ScopedWindowDC&& other) noexcept
    {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    void reset() noexcept
    {
        if (dc_)
            ReleaseDC(window_, dc_);
        dc_ = nullptr;
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
};

// An object selected into a device context for a scope; the previous one is selected back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelect() { if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's paint, from BeginPaint to EndPaint: the update region is validated and the caret
// shown again however the painting ends.
class ScopedPaint {
public:
    explicit ScopedPaint(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &info_)) {}
    ~ScopedPaint()
    {
        if (dc_)
            EndPaint(window_, &info_);
    }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;

    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& Info() const noexcept { return info_; }

private:
    HWND window_;
    PAINTSTRUCT info_{};
    HDC dc_;
};

// The whole state of a device context (origin, clipping, selected objects, colours and modes)
// for a scope: what SaveDC kept is restored on every path.
class ScopedSavedDC {
public:
    explicit ScopedSavedDC(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    ~ScopedSavedDC()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    ScopedSavedDC(const ScopedSavedDC&) = delete;
    ScopedSavedDC& operator=(const ScopedSavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

// A memory device context of its own with the objects selected into it. Whatever a selection
// replaced goes back before the context is deleted, and whenever Deselect asks for it (a bitmap
// can sit in one context at a time): neither the context nor an object it holds is ever deleted
// while selected. The objects themselves belong to others and must outlive their selection.
class ScopedMemoryDC {
public:
    ScopedMemoryDC() noexcept = default;
    // A new context compatible with the given one (null: the screen); empty when refused.
    explicit ScopedMemoryDC(HDC compatible) noexcept : dc_(CreateCompatibleDC(compatible)) {}
    ~ScopedMemoryDC() { reset(); }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC(ScopedMemoryDC&& other) noexcept
        : dc_(std::move(other.dc_)), originals_(std::exchange(other.originals_, {})),
          selected_(std::exchange(other.selected_, {}))
    {
    }
    ScopedMemoryDC& operator=(ScopedMemoryDC&& other) noexcept
    {
        if (this != &other) {
            reset();
            dc_ = std::move(other.dc_);
            originals_ = std::exchange(other.originals_, {});
            selected_ = std::exchange(other.selected_, {});
        }
        return *this;
    }

    HDC get() const noexcept { return dc_.get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(dc_); }

    // Selects a bitmap, brush, pen or font; false (and nothing changed) when the platform
    // refuses it or the object is of another kind.
    bool Select(HGDIOBJ object) noexcept
    {
        const int slot = Slot(object);
        if (!dc_ || slot < 0)
            return false;
        const auto index = static_cast<std::size_t>(slot);
        if (selected_[index] == object)
            return true;
        const HGDIOBJ previous = SelectObject(dc_.get(), object);
        if (!previous || previous == HGDI_ERROR)
            return false;
        if (!originals_[index])
            originals_[index] = previous;
        selected_[index] = object;
        return true;
    }
    // Every object selected here leaves the context; it holds what it held when made.
    void Deselect() noexcept
    {
        for (std::size_t i = 0; i < originals_.size(); ++i) {
            if (originals_[i])
                SelectObject(dc_.get(), originals_[i]);
            originals_[i] = nullptr;
            selected_[i] = nullptr;
        }
    }
    void reset() noexcept
    {
        Deselect();
        dc_.reset();
    }

private:
    // One slot for each kind of object a context holds one of at a time.
    static int Slot(HGDIOBJ object) noexcept
    {
        switch (GetObjectType(object)) {
        case OBJ_BITMAP:
            return 0;
        case OBJ_BRUSH:
            return 1;
        case OBJ_PEN:
        case OBJ_EXTPEN:
            return 2;
        case OBJ_FONT:
            return 3;
        default:
            return -1;
        }
    }

    ScopedDC dc_;
    std::array<HGDIOBJ, 4> originals_{};
    std::array<HGDIOBJ, 4> selected_{};
};

// COM on the calling thread for a scope. A thread that has it already (in either apartment
// kind) keeps it; each successful initialisation is given back once.
class ScopedComApartment {
public:
    ScopedComApartment() noexcept : status_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ScopedComApartment()
    {
        if (SUCCEEDED(status_))
            CoUninitialize();
    }
    ScopedComApartment(const ScopedComApartment&) = delete;
    ScopedComApartment& operator=(const ScopedComApartment&) = delete;
    // COM is usable on the thread: initialised here, before, or in the multithreaded apartment.
    bool Usable() const noexcept { return SUCCEEDED(status_) || status_ == RPC_E_CHANGED_MODE; }

private:
    HRESULT status_;
};

// The process error mode for a scope; nested scopes restore in reverse order.
class ScopedErrorMode {
public:
    explicit ScopedErrorMode(UINT mode) noexcept : previous_(SetErrorMode(mode)) {}
    ~ScopedErrorMode() { SetErrorMode(previous_); }
    ScopedErrorMode(const ScopedErrorMode&) = delete;
    ScopedErrorMode& operator=(const ScopedErrorMode&) = delete;

private:
    UINT previous_;
};

// A COM interface pointer: AddRef on copy-in is the caller's business, Release on scope end.
template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    explicit ComPtr(T* p) noexcept : p_(p) {}
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& other) noexcept : p_(other.p_) { if (p_) p_->AddRef(); }
    ComPtr& operator=(const ComPtr& other) noexcept
    {
        if (other.p_)
            other.p_->AddRef();
        reset(other.p_);
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.p_, nullptr));
        return *this;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    void reset(T* p = nullptr) noexcept
    {
        if (p_)
            p_->Release();
        p_ = p;
    }
    T** put() noexcept
    {
        reset();
        return &p_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

private:
    T* p_ = nullptr;
};
