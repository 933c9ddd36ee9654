#pragma once

#include "cookies/CCookie.h"
#include "cookies/CCookieDescription.h"
#include "cookies/CCookieDomain.h"
#include "cookies/CStoreNotice.h"
#include "cookies/CookieKind.h"
#include "cookies/CriticalSection.h"
#include "cookies/RefCount.h"

#include <string>

// Where a source hands each cookie it finds: the manager, or a test's recorder.
class CCookieSink {
public:
    virtual void AddCookie(const CRefPtr<CCookie>& cookie) = 0;
    // Something was left out of this load (a store, a file, a folder), and why. The rest of
    // the load goes on.
    virtual void AddNotice(const CStoreNotice& notice) = 0;

protected:
    ~CCookieSink() = default;
};

// What a source's delete of one site's cookies came to, besides its answer.
struct CDeleteOutcome {
    // Why cookies stayed, when the delete says false; no problem when the source can tell no
    // more.
    CStoreNotice refusal;
    // The cookies it deleted, also when it stopped part-way; in a batch, until it ends.
    CCookieList deleted;
    // Cookies of the site that the store holds besides those it was asked to delete: added
    // since the load, so nobody has seen them and they stay. The site comes back with them.
    CCookieList appeared;
};

// The provider of one kind of cookie: prepared once at start-up, enumerated once per load on
// the loading thread, asked to delete single cookies on the window thread.
class CCookieSource : public CRefCount {
public:
    CookieKind GetKind();

    // True when the cookie is gone or counts as gone. Never raises; why it stayed is told
    // only through DeleteCookies' outcome.
    virtual bool DeleteCookie(const CRefPtr<CCookie>& cookie) = 0;
    // Deletes one site's cookies of this source, in order, and stops at the first that stays.
    // A source whose store takes transactions deletes each store's part in one.
    virtual bool DeleteCookies(const CCookieList& cookies, CDeleteOutcome& outcome);
    bool DeleteCookies(const CCookieList& cookies);
    // Inside a batch, before any source deletes a cookie of the site: takes what deleting
    // these cookies will need (a store's write lock, waiting out a reader), so that the site
    // is not left half deleted by a store that is merely busy. False, with the reason in the
    // outcome, when it cannot; then nothing of the site is deleted.
    virtual bool PrepareDelete(const CCookieList& cookies, CDeleteOutcome& outcome);
    // Several sites are about to be deleted, one after another, on this thread: a source may
    // keep what it opens for them until the batch ends, and make their deletes last only then.
    // Each site is still deleted whole or not at all. Ending never raises: it says false when
    // deletes reported done in the batch did not last, and hands back those cookies in
    // `undone` and why in `failures`.
    virtual void BeginDeleteBatch() {}
    virtual bool EndDeleteBatch(CCookieList& undone, CStoreNotices& failures) noexcept;
    bool EndDeleteBatch() noexcept;
    // Raises a CException on failure, which ends start-up.
    virtual void Prepare() = 0;
    // Hands every cookie to the sink at once, so domains fill while it runs. Raises a
    // CException on failure, which ends the enumeration.
    virtual void Enumerate(CCookieSink& sink) = 0;
    // A store that this source's last Enumerate or call left out because its browser held it
    // (`held`, as reported): false, after a cheap look, while it is still held; else reads it
    // as Enumerate does, telling the sink its cookies and what it could not read.
    virtual bool ReadFreedStore(const CStoreNotice& held, CCookieSink& sink);
    // Appends the descriptions of `cookies`, all found by this source, reading the store now:
    // the load keeps only what it needs to group and delete. A found cookie may stand for
    // several (a cache entry's file holds one record per cookie); one that cannot be read
    // further is described by what its record knows. Called on the window thread or the
    // command line's, also while a load runs. Raises nothing; never reads out a value.
    virtual void DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions);

protected:
    explicit CCookieSource(CookieKind kind) : m_kind(kind) {}

    // What the record alone tells: kind, host, times and file.
    static CCookieDescription DescribeRecord(CCookie& cookie);

    CCriticalSection m_lock;

private:
    const CookieKind m_kind;
};
