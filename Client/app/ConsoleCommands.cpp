#include "app/ConsoleCommands.h"

#include "app/ConsoleBrowserClosing.h"
#include "app/ConsoleNoticeText.h"
#include "app/SiteExport.h"
#include "app/UnattendedClean.h"
#include "cookies/CookieManager.h"
#include "cookies/FileTime.h"
#include "framework/OutputStream.h"
#include "res/resource.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "ui/CallbackReport.h"
#include "ui/ShowMessage.h"
#include "res/StringLoader.h"

#include <set>

namespace {

constexpr int Done = 0;
constexpr int Failed = 1;
constexpr int PartlyDone = 2;

constexpr wchar_t ByteOrderMark[] = L"\xFEFF";

// Messages go to the stream for as long as the command runs.
class CMessagesTo {
public:
    explicit CMessagesTo(COutputStream& stream) { SetMessageStream(&stream); }
    CMessagesTo(const CMessagesTo&) = delete;
    CMessagesTo& operator=(const CMessagesTo&) = delete;
    ~CMessagesTo() { SetMessageStream(nullptr); }
};

// Loads every store. Only a run that deletes prunes the authorizations of sites without
// cookies.
bool Load(CookieManager& manager, bool prune) {
    manager.PrepareSources();
    return manager.LoadHere(prune);
}

// What the load left out is told on standard error, each text once.
void TellNotices(CookieManager& manager, bool cleaning, std::set<std::wstring>& told) {
    for (const CStoreNotice& notice : manager.GetNotices()) {
        const std::wstring text = ConsoleNoticeText(notice, cleaning);
        if (told.insert(text).second) {
            ShowMessage(text, MB_ICONWARNING | MB_OK);
        }
    }
}

// 0 when the list is written whole, else the reason.
DWORD WriteList(const std::wstring& csv, const std::wstring& file, COutputStream& out) {
    if (file.empty()) {
        // A console shows characters, not bytes: the mark only tells a file's reader the encoding.
        return out.Write(out.IsConsole() ? csv : ByteOrderMark + csv) ? ERROR_SUCCESS
                                                                      : ::GetLastError();
    }
    // Written beside the file and moved over it only when whole, so that a list that fails
    // leaves the last one as it was. The same folder keeps the move on one volume.
    const std::size_t separator = file.find_last_of(L"\\/:");
    const std::wstring folder =
        separator == std::wstring::npos ? L"." : file.substr(0, separator + 1);
    wchar_t temporary[MAX_PATH] = {};
    if (::GetTempFileNameW(folder.c_str(), L"tg", 0, temporary) == 0) {
        return ::GetLastError();
    }
    DWORD error = ERROR_SUCCESS;
    {
        COutputStream target;
        if (!target.Create(temporary) || !target.Write(ByteOrderMark + csv)) {
            error = ::GetLastError();
        }
    }
    if (error == ERROR_SUCCESS &&
        !::MoveFileExW(temporary, file.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        ::DeleteFileW(temporary);
    }
    return error;
}

int RunList(CookieManager& manager, const CCommandLine& line, COutputStream& out) {
    if (!Load(manager, false)) {
        return Failed;
    }
    std::set<std::wstring> told;
    TellNotices(manager, false, told);
    CDomainList domains;
    manager.GetDomains(domains);
    const auto describe = [&manager, &told](const CCookieList& cookies,
                                            CCookieDescriptions& found) {
        manager.DescribeCookies(cookies, found);
        // A cookie its store could not give again is listed as the load found it; the reason
        // goes to standard error, once.
        for (const CCookieDescription& cookie : found) {
            const std::wstring problem = ConsoleProblemText(cookie.problem);
            if (!problem.empty() && told.insert(problem).second) {
                ShowMessage(problem, MB_ICONWARNING | MB_OK);
            }
        }
    };
    const std::wstring csv =
        line.command == CCommand::ListCookies ? CookiesCsv(domains, describe) : SitesCsv(domains);
    const DWORD error = WriteList(csv, line.file, out);
    if (error != ERROR_SUCCESS) {
        ShowMessage(
            FailureText(IDS_FAILED_WRITING_LIST, CWin32Exception(error, std::wstring()).GetText()),
            MB_ICONERROR | MB_OK);
        return Failed;
    }
    return Done;
}

int RunClean(CookieManager& manager, const CCommandLine& line, CRestartManager& restart,
             COutputStream& out) {
    if (!Load(manager, !line.dryRun)) {
        return Failed;
    }
    std::set<std::wstring> told;
    CBrowserCloser closer(restart);
    if (line.closeBrowsers) {
        CloseHoldingBrowsers(manager, closer, out, told);
    }
    TellNotices(manager, true, told);
    CDomainList domains;
    manager.GetDomains(domains);
    const CCleanResult result =
        CleanSites(manager, domains, CurrentFileTime(), line.days, line.dryRun, out);
    ReopenBrowsers(closer, out);
    // A store left out may hold old cookies that this run could not reach.
    return result.notDeleted != 0 || result.partlyDeleted != 0 || manager.SkippedStore()
               ? PartlyDone
               : Done;
}

int Run(CookieManager& manager, const CCommandLine& line, CRestartManager& restart,
        COutputStream& out) {
    switch (line.command) {
    case CCommand::List:
    case CCommand::ListCookies:
        return RunList(manager, line, out);
    case CCommand::Clean:
        return RunClean(manager, line, restart, out);
    default:
        out.Write(LoadExpandedString(IDS_USAGE) + L"\r\n");
        return Done;
    }
}

} // namespace

bool IsConsoleCommand(CCommand command) noexcept {
    return command == CCommand::List || command == CCommand::ListCookies ||
           command == CCommand::Clean || command == CCommand::Usage;
}

int RunConsoleCommand(CookieManager& manager, const CCommandLine& line, CRestartManager& restart) {
    COutputStream out = COutputStream::Standard(STD_OUTPUT_HANDLE);
    COutputStream errors = COutputStream::Standard(STD_ERROR_HANDLE);
    CMessagesTo messages(errors);
    try {
        return Run(manager, line, restart, out);
    } catch (...) {
        // Out of memory or a failure of the run-time, too: a script gets exit code 1 and the
        // reason on standard error, never an end in terminate.
        ReportUnhandledException();
        return Failed;
    }
}
