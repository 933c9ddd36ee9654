#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// A program that holds one of the files of a restart session, as Restart Manager names it.
struct CHoldingProgram {
    DWORD processId = 0;
    FILETIME started{};
    std::wstring name;
    // Restart Manager shut it down, so it can be started again.
    bool stopped = false;
};

// One Restart Manager session: the files it was given, the programs holding them. The session
// ends with the object, so that none is ever left open.
class CRestartSession {
public:
    virtual ~CRestartSession() = default;
    virtual void RegisterFiles(const std::vector<std::wstring>& files) = 0;
    virtual std::vector<CHoldingProgram> GetList() = 0;
    // Asks the holding programs to close, never forcing one: a program that refuses stays
    // open, and GetList tells which did.
    virtual void Shutdown() = 0;
    // Starts again the programs that Shutdown closed.
    virtual void Restart() = 0;
};

// Restart Manager itself; the tests hand a double, for the flows Wine's can't take.
class CRestartManager {
public:
    virtual ~CRestartManager() = default;
    virtual std::unique_ptr<CRestartSession> StartSession() = 0;
};
