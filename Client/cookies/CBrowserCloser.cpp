#include "cookies/CBrowserCloser.h"

#include <algorithm>

namespace {

bool SameProgram(const CHoldingProgram& one, const CHoldingProgram& other) {
    return one.processId == other.processId && ::CompareFileTime(&one.started, &other.started) == 0;
}

bool Holds(const std::vector<CHoldingProgram>& programs, const CHoldingProgram& program) {
    return std::any_of(programs.begin(), programs.end(), [&program](const CHoldingProgram& each) {
        return SameProgram(each, program);
    });
}

void AddName(std::vector<std::wstring>& names, const std::wstring& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(name);
    }
}

// The files a browser holds for its stores: each profile's database and the lock file.
std::vector<std::wstring> FilesOf(const CStoreNotices& held, CookieKind kind) {
    std::vector<std::wstring> files;
    for (const CStoreNotice& notice : held) {
        if (notice.kind != kind) {
            continue;
        }
        for (const std::wstring* file : {&notice.database, &notice.lockFile}) {
            if (!file->empty()) {
                AddName(files, *file);
            }
        }
    }
    return files;
}

} // namespace

CStoreNotices HeldStores(const CStoreNotices& notices) {
    CStoreNotices held;
    std::copy_if(notices.begin(), notices.end(), std::back_inserter(held), IsHeldStore);
    return held;
}

CBrowserCloser::CBrowserCloser(CRestartManager& manager) : m_manager(manager) {}

CBrowserCloser::~CBrowserCloser() {
    try {
        Reopen();
    } catch (...) {
        // Too late to tell anyone; the session ends with its object all the same.
    }
}

CCloseOutcome CBrowserCloser::Close(const CStoreNotices& notices) {
    const CStoreNotices held = HeldStores(notices);
    CCloseOutcome outcome;
    if (held.empty()) {
        return outcome;
    }
    if (!m_session) {
        m_session = m_manager.StartSession();
    }
    // A browser at a time, so that each is told apart from the programs named before it.
    std::vector<CHoldingProgram> named = m_session->GetList();
    std::vector<CookieKind> browsers;
    for (const CStoreNotice& notice : held) {
        if (std::find(browsers.begin(), browsers.end(), notice.kind) != browsers.end()) {
            continue;
        }
        browsers.push_back(notice.kind);
        m_session->RegisterFiles(FilesOf(held, notice.kind));
        std::vector<CHoldingProgram> now = m_session->GetList();
        const bool grew = std::any_of(now.begin(), now.end(), [&named](const auto& program) {
            return !Holds(named, program);
        });
        if (!grew) {
            outcome.unnamed.push_back(notice);
        }
        named = std::move(now);
    }
    if (!named.empty()) {
        m_session->Shutdown();
        for (const CHoldingProgram& program : m_session->GetList()) {
            AddName(program.stopped ? outcome.closed : outcome.refused, program.name);
        }
    }
    for (const std::wstring& name : outcome.closed) {
        AddName(m_closed, name);
    }
    // Nothing to open again: the session has done its work.
    if (m_closed.empty()) {
        m_session.reset();
    }
    return outcome;
}

const std::vector<std::wstring>& CBrowserCloser::Closed() const {
    return m_closed;
}

std::vector<std::wstring> CBrowserCloser::Reopen() {
    if (!m_session) {
        return {};
    }
    // The session ends whether the restart works or not.
    const std::unique_ptr<CRestartSession> session = std::move(m_session);
    std::vector<std::wstring> reopened = std::move(m_closed);
    m_closed.clear();
    if (!reopened.empty()) {
        session->Restart();
    }
    return reopened;
}
