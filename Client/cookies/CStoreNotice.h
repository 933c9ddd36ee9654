#pragma once

#include "cookies/CookieKind.h"

#include <string>
#include <vector>

// Why a source could not read or write something. Whoever shows it phrases it: the window for
// a person at the window, the console for a script's log.
enum class CStoreProblem {
    None,
    // The running browser holds the store and shares it with nobody.
    BrowserOpen,
    // The file is no SQLite database.
    NotADatabase,
    // A database whose cookie table lacks a column this program needs.
    UnknownLayout,
    // SQLite found the database damaged.
    Damaged,
    // Any other failure to read; `reason` says it.
    Unreadable,
    // Read, but never written: a trigger of its own would run on every delete.
    HasTrigger,
    // The browser's profile folders could not be listed.
    ProfilesUnreadable,
    // Some Flash folders could not be listed.
    FoldersUnread,
    // Some cache entries' cookie files kept their times to themselves.
    FilesUnread,
    // A whole source stopped; `reason` says why.
    SourceFailed,
    // The load ended early; `reason` says why.
    LoadStopped,
    // The details: the cookie's row is no longer in its store.
    CookieGone,
    // A Flash file or folder (`item`) stayed where it was.
    NotDeleted,
    // A Flash folder (`item`) is a link, holds one or a path too long, so it was left alone.
    FolderRefused,
    // A delete, or making it last, failed; `reason` says why.
    WriteFailed,
};

struct CStoreNotice {
    CStoreProblem problem = CStoreProblem::None;
    CookieKind kind = CookieKind::IE;
    // As the browser names itself ("Google Chrome") and the profile ("Default"); empty where
    // the source has no browser.
    std::wstring browser;
    std::wstring profile;
    // The store's database, and the file its running browser holds.
    std::wstring database;
    std::wstring lockFile;
    // The file or folder the problem is about, or the cookie's name and host.
    std::wstring item;
    std::wstring host;
    // The system's or SQLite's own words, where they said something.
    std::wstring reason;
    // The whole store was left out of the load, so the load prunes no authorization on its
    // account: an authorized site may have its cookies only there.
    bool skipped = false;
};

using CStoreNotices = std::vector<CStoreNotice>;

// A store left out because its running browser holds it: it is read once the browser lets go.
inline bool IsHeldStore(const CStoreNotice& notice) noexcept {
    return notice.skipped && notice.problem == CStoreProblem::BrowserOpen;
}
