#pragma once

#include "cookies/CCookie.h"
#include "cookies/SharedText.h"

#include <cstdint>
#include <memory>
#include <string>

// One browser profile's cookie database.
struct CBrowserStore {
    // For the user: "Google Chrome", "Default".
    std::wstring browser;
    std::wstring profile;
    std::wstring database;
    // The file the running browser holds so that nobody else may open it: the database itself
    // for the Chromium family, "parent.lock" for Firefox.
    std::wstring lockFile;
    // Whether the database may still be read while the browser holds its lock file.
    bool readableWhileOpen = false;
    // The highest row key the load read: a row above it was added since.
    std::int64_t highestKey = 0;
};

// A row of a cookie table as it was read, to delete exactly that row and no other: one that
// has changed since has another row key or creation time and stays. Its texts repeat across a
// store's rows, so they are shared.
struct CRowIdentity {
    // Which of the columns below were NULL, so that they match NULL again and nothing else.
    enum Null : std::uint8_t {
        HostNull = 1,
        NameNull = 2,
        PathNull = 4,
        CreatedNull = 8,
        PartitionNull = 16,
    };

    std::int64_t key = 0;
    CSharedText host;
    CSharedText name;
    CSharedText path;
    std::int64_t created = 0;
    // Chromium's top frame site, Firefox's origin attributes; empty where there is no column.
    CSharedText partition;
    std::uint8_t nulls = 0;
};

// A cookie of a browser's SQLite database. Its file is the database.
class CDatabaseCookie final : public CCookie {
public:
    static CRefPtr<CCookie> Create(CookieKind kind, std::shared_ptr<const CBrowserStore> store,
                                   CSharedText host, FILETIME created, FILETIME lastUsed,
                                   CRowIdentity row);

    const std::wstring& GetFile() const noexcept override { return m_store->database; }
    const CBrowserStore& GetStore() const noexcept { return *m_store; }
    const std::shared_ptr<const CBrowserStore>& GetSharedStore() const noexcept { return m_store; }
    const CRowIdentity& GetRow() const noexcept { return m_row; }

private:
    CDatabaseCookie(CookieKind kind, std::shared_ptr<const CBrowserStore> store, CSharedText host,
                    FILETIME created, FILETIME lastUsed, CRowIdentity row);

    const std::shared_ptr<const CBrowserStore> m_store;
    const CRowIdentity m_row;
};
