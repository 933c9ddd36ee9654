#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Test programs link this in place of the real message box: every ShowMessage is recorded
// here, with the thread's active window, instead of blocking the test on a dialog.
struct CRecordedMessage {
    std::wstring text;
    UINT type;
    HWND owner;
    DWORD thread;
};

std::vector<CRecordedMessage> TakeRecordedMessages();

// What every recorded box answers from now on; IDOK until set.
void SetRecordedAnswer(int answer);
