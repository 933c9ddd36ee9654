#pragma once

#include <string>

// What Tollgate.exe, started as the user starts it, shows from outside during one full load.
struct CProgramFigures {
    // The longest a WM_NULL sent to its window every 10 ms waited for the answer, from the
    // window's creation until the status line says the load has ended.
    double maxResponseMs = 0;
    // When that answer was asked for, from the window's creation, and how long the first one
    // took: the window's own making, before it takes any message.
    double maxResponseAtMs = 0;
    double firstResponseMs = 0;
    // The process's peak working set after the load, Wine's own share included.
    double peakMemoryMb = 0;
};

// Tollgate.exe in the folder of the running benchmark.
std::wstring ProgramBesideThis();

// Starts Tollgate.exe beside this program, watches its full load of the current prefix's
// stores, and closes it.
CProgramFigures WatchProgram();
