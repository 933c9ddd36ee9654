#include "framework/CallbackBarrier.h"

#include <atomic>

namespace {

// Installed once at start-up, read by the barriers of every thread.
std::atomic<CCallbackReporter> s_reporter{nullptr};

} // namespace

void SetCallbackReporter(CCallbackReporter reporter) noexcept {
    s_reporter.store(reporter);
}

void ReportCallbackException() noexcept {
    if (const CCallbackReporter reporter = s_reporter.load()) {
        reporter();
    }
}
