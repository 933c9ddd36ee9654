#pragma once

#include <windows.h>

#include <string>

// Lets everyone read the key but nobody write it, as for an account without the right.
void DenyKeyWrites(HKEY key);

// Deletes a key and everything below it, first giving back the rights a test took away, so a
// key a test locked never outlives the test.
void ForceDeleteKeyTree(HKEY parent, const std::wstring& path);
