#pragma once
// Owners of Win32 resources for one scope: each frees what it holds when it goes, however the
// scope is left, so no early return can leak a handle. They move but never copy: two copies
// would free one handle twice.
#include <windows.h>
#include <oleauto.h>

#include <utility>

// A GDI object the scope made (a bitmap, brush, pen, font or region), deleted when it goes.
// release() hands it on to an owner that outlives the scope.
template <typename Handle> class ScopedGdiObject {
public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(Handle handle)
        : handle_(handle)
    {
    }
    ScopedGdiObject(ScopedGdiObject&& other) noexcept
        : handle_(other.release())
    {
    }
    ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    ~ScopedGdiObject() { reset(); }

    Handle get() const { return handle_; }
    Handle release() { return std::exchange(handle_, nullptr); }
    void reset(Handle handle = nullptr)
    {
        if (handle_ != nullptr)
            DeleteObject(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

using ScopedBitmap = ScopedGdiObject<HBITMAP>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedRegion = ScopedGdiObject<HRGN>;

// A memory device context like `like` (null: like the screen), deleted when it goes. Anything
// selected into it must have been selected out by then (ScopedSelection does).
class ScopedMemoryDc {
public:
    explicit ScopedMemoryDc(HDC like)
        : dc_(CreateCompatibleDC(like))
    {
    }
    ScopedMemoryDc(ScopedMemoryDc&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr))
    {
    }
    ScopedMemoryDc& operator=(ScopedMemoryDc&&) = delete;
    ScopedMemoryDc(const ScopedMemoryDc&) = delete;
    ScopedMemoryDc& operator=(const ScopedMemoryDc&) = delete;
    ~ScopedMemoryDc()
    {
        if (dc_ != nullptr)
            DeleteDC(dc_);
    }

    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// The device context of a window (null: the screen), released when it goes.
class ScopedWindowDc {
public:
    explicit ScopedWindowDc(HWND window)
        : window_(window)
        , dc_(GetDC(window))
    {
    }
    ScopedWindowDc(ScopedWindowDc&& other) noexcept
        : window_(other.window_)
        , dc_(std::exchange(other.dc_, nullptr))
    {
    }
    ScopedWindowDc& operator=(ScopedWindowDc&&) = delete;
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    ~ScopedWindowDc()
    {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
    }

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context; the object that was selected before is put back
// when the scope ends, whatever else was selected in between. Declare it after the owner of the
// object, so the object is selected out before it is deleted.
class ScopedSelection {
public:
    ScopedSelection(HDC dc, HGDIOBJ object)
        : dc_(dc)
        , old_(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr)
    {
    }
    ScopedSelection(ScopedSelection&& other) noexcept
        : dc_(other.dc_)
        , old_(std::exchange(other.old_, nullptr))
    {
    }
    ScopedSelection& operator=(ScopedSelection&&) = delete;
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;
    ~ScopedSelection()
    {
        if (old_ != nullptr && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A memory device context like `like` with `bitmap` selected into it: the bitmap is selected out
// again before the context is deleted.
class ScopedBitmapDc {
public:
    ScopedBitmapDc(HDC like, HBITMAP bitmap)
        : dc_(like)
        , selected_(dc_.get(), bitmap)
    {
    }

    HDC get() const { return dc_.get(); }

private:
    ScopedMemoryDc dc_;
    ScopedSelection selected_;
};

// Everything a painter may select or set in a device context (objects, colours, modes),
// put back as it was when the scope ends.
class ScopedDcState {
public:
    explicit ScopedDcState(HDC dc)
        : dc_(dc)
        , saved_(dc != nullptr ? SaveDC(dc) : 0)
    {
    }
    ScopedDcState(const ScopedDcState&) = delete;
    ScopedDcState& operator=(const ScopedDcState&) = delete;
    ~ScopedDcState()
    {
        if (saved_ != 0)
            RestoreDC(dc_, saved_);
    }

private:
    HDC dc_;
    int saved_;
};

// A COM interface, released when it goes. out() hands its address to a call that fills it.
template <typename Interface> class ComPointer {
public:
    ComPointer() = default;
    explicit ComPointer(Interface* pointer)
        : pointer_(pointer)
    {
    }
    ComPointer(ComPointer&& other) noexcept
        : pointer_(other.release())
    {
    }
    ComPointer& operator=(ComPointer&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    ComPointer(const ComPointer&) = delete;
    ComPointer& operator=(const ComPointer&) = delete;
    ~ComPointer() { reset(); }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    Interface** out()
    {
        reset();
        return &pointer_;
    }
    Interface* release() { return std::exchange(pointer_, nullptr); }
    void reset(Interface* pointer = nullptr)
    {
        if (pointer_ != nullptr)
            pointer_->Release();
        pointer_ = pointer;
    }

private:
    Interface* pointer_ = nullptr;
};

// A string the COM allocator made, freed when it goes. out() hands its address to a call that
// fills it.
class ScopedBstr {
public:
    ScopedBstr() = default;
    ScopedBstr(ScopedBstr&& other) noexcept
        : text_(std::exchange(other.text_, nullptr))
    {
    }
    ScopedBstr& operator=(ScopedBstr&&) = delete;
    ScopedBstr(const ScopedBstr&) = delete;
    ScopedBstr& operator=(const ScopedBstr&) = delete;
    ~ScopedBstr() { SysFreeString(text_); }

    BSTR get() const { return text_; }
    BSTR* out()
    {
        SysFreeString(std::exchange(text_, nullptr));
        return &text_;
    }

private:
    BSTR text_ = nullptr;
};

// An open file (CreateFile), closed when it goes; INVALID_HANDLE_VALUE when it did not open.
class ScopedFile {
public:
    explicit ScopedFile(HANDLE file)
        : file_(file)
    {
    }
    ScopedFile(ScopedFile&& other) noexcept
        : file_(std::exchange(other.file_, INVALID_HANDLE_VALUE))
    {
    }
    ScopedFile& operator=(ScopedFile&&) = delete;
    ScopedFile(const ScopedFile&) = delete;
    ScopedFile& operator=(const ScopedFile&) = delete;
    ~ScopedFile()
    {
        if (isOpen())
            CloseHandle(file_);
    }

    bool isOpen() const { return file_ != INVALID_HANDLE_VALUE && file_ != nullptr; }
    HANDLE get() const { return file_; }

private:
    HANDLE file_;
};

// A search of a folder (FindFirstFile), closed when it goes. The first match is in found().
class ScopedFind {
public:
    explicit ScopedFind(const char* pattern)
        : search_(FindFirstFileA(pattern, &found_))
    {
    }
    ScopedFind(const ScopedFind&) = delete;
    ScopedFind& operator=(const ScopedFind&) = delete;
    ~ScopedFind()
    {
        if (isOpen())
            FindClose(search_);
    }

    bool isOpen() const { return search_ != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAA& found() const { return found_; }
    // The next match into found(); false when there is none.
    bool next() { return FindNextFileA(search_, &found_) != 0; }

private:
    WIN32_FIND_DATAA found_;
    HANDLE search_;
};
