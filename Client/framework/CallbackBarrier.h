#pragma once

#include <windows.h>

// Reports the exception being handled. Called only from inside a catch block. The
// application defines it (it owns the message texts); the framework only calls it.
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
