#pragma once

#include <string>
#include <vector>

// The domains the user has authorized: one empty REG_SZ value per domain key under
// HKEY_CURRENT_USER\Software\Tollgate\Allowed. Every operation opens the key itself (creating
// it when missing) and raises CWin32Exception for a registry failure.

// Every value name in the key; their data is never read.
std::vector<std::wstring> LoadAuthorizedSet();

// Writes the value of an authorized domain; an existing one is replaced.
void WriteAuthorized(const std::wstring& name);

// Removes the value of a domain; one that is already gone is no error.
void RemoveAuthorized(const std::wstring& name);

// Removes the values of the domains of which a load found no cookie.
void PruneAuthorized(const std::vector<std::wstring>& names);
