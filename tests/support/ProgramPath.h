#pragma once

#include <string>

// The full path of a file in the folder of the running test program (the build's bin folder,
// where Tollgate.exe is built too).
std::wstring PathBesideTestProgram(const std::wstring& name);
