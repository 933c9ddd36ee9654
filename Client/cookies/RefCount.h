#pragma once

#include <windows.h>

#include <utility>

// Intrusive, thread-safe reference count. The object deletes itself when the count drops
// to 0, on whichever thread releases the last reference.
class CRefCount {
public:
    CRefCount(const CRefCount&) = delete;
    CRefCount& operator=(const CRefCount&) = delete;

    void AddRef(LONG n = 1) noexcept { ::InterlockedExchangeAdd(&m_count, n); }
    void Release() noexcept {
        if (::InterlockedDecrement(&m_count) == 0) {
            delete this;
        }
    }

#ifdef TOLLGATE_COUNT_LIVE
    // Test builds count the objects alive, to prove that every reference is released.
    static LONG LiveObjects() noexcept;
#endif

protected:
    CRefCount() noexcept;
    virtual ~CRefCount();

private:
    LONG volatile m_count = 0;
};

// Holds one reference. Assignment takes the new reference before it releases the old one,
// so assigning a pointer to itself is harmless.
template <typename T>
class CRefPtr {
public:
    CRefPtr() noexcept = default;
    CRefPtr(std::nullptr_t) noexcept {}
    explicit CRefPtr(T* p) noexcept : m_p(p) {
        if (m_p) {
            m_p->AddRef();
        }
    }
    CRefPtr(const CRefPtr& other) noexcept : CRefPtr(other.m_p) {}
    CRefPtr(CRefPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    template <typename U>
    CRefPtr(const CRefPtr<U>& other) noexcept : CRefPtr(other.Get()) {}
    ~CRefPtr() {
        if (m_p) {
            m_p->Release();
        }
    }

    CRefPtr& operator=(const CRefPtr& other) noexcept {
        Reset(other.m_p);
        return *this;
    }
    CRefPtr& operator=(CRefPtr&& other) noexcept {
        if (this != &other) {
            T* old = std::exchange(m_p, std::exchange(other.m_p, nullptr));
            if (old) {
                old->Release();
            }
        }
        return *this;
    }

    void Reset(T* p = nullptr) noexcept {
        if (p) {
            p->AddRef();
        }
        T* old = std::exchange(m_p, p);
        if (old) {
            old->Release();
        }
    }

    // Takes over a reference that someone else added, as a posted message carries one.
    static CRefPtr Adopt(T* p) noexcept {
        CRefPtr ptr;
        ptr.m_p = p;
        return ptr;
    }

    // Hands the held reference to the caller, as for a posted message.
    T* Detach() noexcept { return std::exchange(m_p, nullptr); }

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    T& operator*() const noexcept { return *m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};
