#include "framework/KeyCommand.h"

namespace {

// The hook procedure carries no pointer of its own.
thread_local CKeyCommand* t_keyCommand = nullptr;

} // namespace

CKeyCommand::CKeyCommand(HWND window, UINT key, WORD command) noexcept
    : m_window(window), m_key(key), m_command(command) {
    t_keyCommand = this;
    m_hook.Reset(
        ::SetWindowsHookExW(WH_GETMESSAGE, GetMessageHook, nullptr, ::GetCurrentThreadId()));
}

CKeyCommand::~CKeyCommand() {
    m_hook.Reset();
    t_keyCommand = nullptr;
}

LRESULT CALLBACK CKeyCommand::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    const CKeyCommand* self = t_keyCommand;
    if (code == HC_ACTION && wParam == PM_REMOVE && self != nullptr &&
        message->message == WM_KEYDOWN && message->wParam == self->m_key &&
        (message->hwnd == self->m_window || ::IsChild(self->m_window, message->hwnd))) {
        ::PostMessageW(self->m_window, WM_COMMAND, MAKEWPARAM(self->m_command, 0), 0);
        // Nobody else acts on it.
        message->message = WM_NULL;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
