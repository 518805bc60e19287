// Owning wrappers of kernel, GDI and module handles. Ownership is in the
// name: a Unique* object closes what it holds; a plain HANDLE/HBRUSH is
// borrowed and never closed by whoever merely receives it.
#pragma once

#include <windows.h>

#include <utility>

namespace fw {

// One owned handle; Traits say what "empty" is and how to close.
template <class Traits>
class UniqueResource {
public:
    using Handle = typename Traits::Handle;

    UniqueResource() = default;
    explicit UniqueResource(Handle handle) : handle_(handle) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return !Traits::IsEmpty(handle_); }

    // Closes the current handle (if any) and takes the new one.
    void Reset(Handle handle = Traits::Empty()) {
        if (!Traits::IsEmpty(handle_)) {
            Traits::Close(handle_);
        }
        handle_ = handle;
    }

    // Gives up ownership without closing.
    [[nodiscard]] Handle Release() { return std::exchange(handle_, Traits::Empty()); }

    // For APIs that return a handle through a pointer: closes the current one first.
    Handle* Receive() {
        Reset();
        return &handle_;
    }

private:
    Handle handle_ = Traits::Empty();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    // CreateFile and a few others report failure as INVALID_HANDLE_VALUE
    // where the rest use null: both mean "nothing to close".
    static bool IsEmpty(Handle h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};

template <class GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};

struct IconTraits {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { DestroyIcon(h); }
};

struct CursorTraits {
    using Handle = HCURSOR;
    static Handle Empty() { return nullptr; }
    static bool IsEmpty(Handle h) { return h == nullptr; }
    static void Close(Handle h) { DestroyCursor(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;

template <class GdiHandle>
using UniqueGdi = UniqueResource<GdiObjectTraits<GdiHandle>>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueFont = UniqueGdi<HFONT>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueRegion = UniqueGdi<HRGN>;

// Icons and cursors made by LoadImage without LR_SHARED, CreateIconIndirect
// or CopyIcon; shared ones (LoadIcon, LR_SHARED) must stay borrowed.
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueCursor = UniqueResource<CursorTraits>;

}  // namespace fw
