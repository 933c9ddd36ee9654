#include "ui/ShowMessage.h"

#include <atomic>

namespace {

// The one process-wide switch the command-line modes need: the loading thread's failure
// reaches ShowMessage from deep inside the manager, where no caller could pass a stream.
std::atomic<COutputStream*>& Stream() {
    static std::atomic<COutputStream*> stream{nullptr};
    return stream;
}

} // namespace

void SetMessageStream(COutputStream* stream) noexcept {
    Stream().store(stream);
}

COutputStream* GetMessageStream() noexcept {
    return Stream().load();
}
