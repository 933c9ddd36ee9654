#pragma once

#include <string>

// Makes a fresh folder with a canary file in it the process's current folder, and restores
// the previous one at the end. Wine's shell, handed a tree with a folder link or an overlong
// path to delete, deletes the current folder's contents instead: the canary tells.
class CThrowAwayCurrentFolder {
public:
    CThrowAwayCurrentFolder();
    CThrowAwayCurrentFolder(const CThrowAwayCurrentFolder&) = delete;
    CThrowAwayCurrentFolder& operator=(const CThrowAwayCurrentFolder&) = delete;
    ~CThrowAwayCurrentFolder();

    bool CanaryAlive() const;

private:
    std::wstring m_previous;
    std::wstring m_folder;
};
