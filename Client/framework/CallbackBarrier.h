#pragma once

#include <windows.h>

// Reports the exception being handled; called only from inside a catch block, so it may
// rethrow to learn what it is. It must not let anything escape.
using CCallbackReporter = void (*)() noexcept;

// The application installs its reporter at start-up (it owns the message texts). Until one
// is installed, what reaches a barrier is only stopped there.
void SetCallbackReporter(CCallbackReporter reporter) noexcept;

// Hands the exception being handled to the installed reporter.
void ReportCallbackException() noexcept;

// Every procedure that Windows calls runs its body through this: an exception must never
// unwind through system frames. What reaches the barrier is reported, and the callback
// answers `failed` instead.
template <typename Result, typename Body>
Result CallbackBarrier(Result failed, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        ReportCallbackException();
        return failed;
    }
}
