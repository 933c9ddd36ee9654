#include "support/RecordedMessages.h"

#include "ui/ShowMessage.h"

#include <mutex>
#include <utility>

namespace {

std::mutex& Guard() {
    static std::mutex guard;
    return guard;
}

int& Answer() {
    static int answer = IDOK;
    return answer;
}

std::vector<CRecordedMessage>& Messages() {
    static std::vector<CRecordedMessage> messages;
    return messages;
}

} // namespace

int ShowMessage(const std::wstring& text, UINT type) {
    std::lock_guard hold(Guard());
    Messages().push_back({text, type, ::GetActiveWindow(), ::GetCurrentThreadId()});
    return Answer();
}

void SetRecordedAnswer(int answer) {
    std::lock_guard hold(Guard());
    Answer() = answer;
}

std::vector<CRecordedMessage> TakeRecordedMessages() {
    std::lock_guard hold(Guard());
    return std::exchange(Messages(), {});
}
