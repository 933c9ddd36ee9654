#pragma once

// The program's three ways through, chosen by its command line (without the program's name).
enum class CCommand { Register, Unregister, Run };

// Exactly "-r" registers and exactly "-u" unregisters; any other text, the empty one too, runs.
CCommand ParseCommand(const wchar_t* commandLine);
