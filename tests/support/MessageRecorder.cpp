#include "support/MessageRecorder.h"

#include "cookies/DomainMessages.h"

#include <utility>

namespace {

constexpr wchar_t ClassName[] = L"TollgateMessageRecorder";

void RegisterClassOnce(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = ClassName;
    ::RegisterClassExW(&windowClass);
}

} // namespace

CMessageRecorder::CMessageRecorder() {
    RegisterClassOnce(&CMessageRecorder::Procedure);
    m_window = ::CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CMessageRecorder::~CMessageRecorder() {
    Drain();
    ::DestroyWindow(m_window);
}

std::size_t CMessageRecorder::Drain() {
    const std::size_t before = m_count;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::DispatchMessageW(&message);
    }
    return m_count - before;
}

std::vector<CMessageRecorder::CReceived> CMessageRecorder::Take() {
    return std::exchange(m_received, {});
}

LRESULT CALLBACK CMessageRecorder::Procedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    auto* self = reinterpret_cast<CMessageRecorder*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_LOADING_DONE) {
        if (self != nullptr) {
            ++self->m_loadsDone;
        }
        return 0;
    }
    if (message >= WM_DOMAIN_ADDED && message <= WM_DOMAIN_AUTHORIZED) {
        auto domain = CRefPtr<CCookieDomain>::Adopt(reinterpret_cast<CCookieDomain*>(wParam));
        if (self != nullptr) {
            if (self->m_manager != nullptr && message != WM_DOMAIN_AUTHORIZED) {
                self->m_manager->DomainMessageTaken(window, *domain);
            }
            ++self->m_count;
            if (!self->m_countOnly) {
                self->m_received.push_back({message, std::move(domain)});
            }
        }
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

std::wstring Describe(const CMessageRecorder::CReceived& received) {
    const wchar_t* name = received.message == WM_DOMAIN_ADDED     ? L"ADDED "
                          : received.message == WM_DOMAIN_CHANGED ? L"CHANGED "
                                                                  : L"AUTHORIZED ";
    return name + received.domain->GetName();
}
