#pragma once

#include <windows.h>

#include <string>

class COutputStream;

// Every message box of the program: the product name as caption, owned by the calling
// thread's active window (none on the loading thread). Returns the button pressed, as
// MessageBoxW does; a message written to a stream returns IDOK.
int ShowMessage(const std::wstring& text, UINT type);

// The command-line modes run unattended, where a box would wait for ever: while a stream is
// set, every message is written to it as lines instead of a box. Null shows boxes again.
void SetMessageStream(COutputStream* stream) noexcept;
COutputStream* GetMessageStream() noexcept;
