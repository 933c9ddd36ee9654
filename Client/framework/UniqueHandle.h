#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

// Move-only owner of one OS handle. Traits supply the null value and the close call,
// so each handle kind has exactly one place that knows how it is released.
template <typename Traits>
class CUniqueHandle {
public:
    using Handle = typename Traits::Handle;

    CUniqueHandle() noexcept = default;
    explicit CUniqueHandle(Handle handle) noexcept : m_handle(handle) {}
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_handle(other.Detach()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept {
        Reset(other.Detach());
        return *this;
    }
    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;
    ~CUniqueHandle() { Reset(); }

    Handle Get() const noexcept { return m_handle; }
    explicit operator bool() const noexcept { return m_handle != Traits::Null(); }

    // For out-parameters: closes what is held and hands out the slot to fill.
    Handle* Receive() noexcept {
        Reset();
        return &m_handle;
    }

    Handle Detach() noexcept { return std::exchange(m_handle, Traits::Null()); }

    void Reset(Handle handle = Traits::Null()) noexcept {
        Handle old = std::exchange(m_handle, handle);
        if (old != Traits::Null()) {
            Traits::Close(old);
        }
    }

private:
    Handle m_handle = Traits::Null();
};

struct CRegKeyTraits {
    using Handle = HKEY;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};

// CreateFileW reports failure as INVALID_HANDLE_VALUE, not null.
struct CFileHandleTraits {
    using Handle = HANDLE;
    static Handle Null() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct CKernelHandleTraits {
    using Handle = HANDLE;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct CFindHandleTraits {
    using Handle = HANDLE;
    static Handle Null() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) noexcept { ::FindClose(h); }
};

struct CUrlCacheFindTraits {
    using Handle = HANDLE;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FindCloseUrlCache(h); }
};

struct CIconTraits {
    using Handle = HICON;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};

struct CFontTraits {
    using Handle = HFONT;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

struct CModuleTraits {
    using Handle = HMODULE;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};

// A window the code created itself and must destroy (a tooltip, a test's own window).
struct CWindowTraits {
    using Handle = HWND;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyWindow(h); }
};

struct CHookTraits {
    using Handle = HHOOK;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::UnhookWindowsHookEx(h); }
};

// Memory from GlobalAlloc, until the clipboard takes it over.
struct CGlobalMemoryTraits {
    using Handle = HGLOBAL;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::GlobalFree(h); }
};

using CRegKey = CUniqueHandle<CRegKeyTraits>;
using CFileHandle = CUniqueHandle<CFileHandleTraits>;
using CKernelHandle = CUniqueHandle<CKernelHandleTraits>;
using CFindHandle = CUniqueHandle<CFindHandleTraits>;
using CUrlCacheFindHandle = CUniqueHandle<CUrlCacheFindTraits>;
using CIconHandle = CUniqueHandle<CIconTraits>;
using CFontHandle = CUniqueHandle<CFontTraits>;
using CModuleHandle = CUniqueHandle<CModuleTraits>;
using CWindowHandle = CUniqueHandle<CWindowTraits>;
using CHookHandle = CUniqueHandle<CHookTraits>;
using CGlobalMemory = CUniqueHandle<CGlobalMemoryTraits>;
