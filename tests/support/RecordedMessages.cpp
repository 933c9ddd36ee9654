#include "support/RecordedMessages.h"

#include "ui/ShowMessage.h"

#include <mutex>
#include <utility>

namespace {

std::mutex& Guard() {
    static std::mutex guard;
    return guard;
}

std::vector<CRecordedMessage>& Messages() {
    static std::vector<CRecordedMessage> messages;
    return messages;
}

} // namespace

void ShowMessage(const std::wstring& text, UINT type) {
    std::lock_guard hold(Guard());
    Messages().push_back({text, type, ::GetActiveWindow(), ::GetCurrentThreadId()});
}

std::vector<CRecordedMessage> TakeRecordedMessages() {
    std::lock_guard hold(Guard());
    return std::exchange(Messages(), {});
}
