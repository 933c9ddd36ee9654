#include "framework/UniqueHandle.h"
#include "res/resource.h"
#include "sqlite/CSqliteDatabase.h"
#include "store/ErrorText.h"
#include "support/BrowserStandIn.h"
#include "support/BrowserStoreBuilder.h"
#include "support/CookieStoreBuilder.h"
#include "support/ProgramDriver.h"
#include "store/Exceptions.h"
#include "support/ProgramFixture.h"
#include "support/ProgramPath.h"
#include "res/StringLoader.h"
#include "ui/TimeText.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t Day = 24ULL * 3600 * 10000000;
const std::string ByteOrderMark = "\xEF\xBB\xBF";

FILETIME At(WORD year, WORD month, WORD day, WORD hour) {
    const SYSTEMTIME when{year, month, 0, day, hour, 30, 15, 0};
    FILETIME time{};
    ::SystemTimeToFileTime(&when, &time);
    return time;
}

FILETIME DaysAgo(std::uint64_t days) {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value{{now.dwLowDateTime, now.dwHighDateTime}};
    value.QuadPart -= days * Day;
    return {value.LowPart, value.HighPart};
}

std::string Utf8(const std::wstring& text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          length, nullptr, nullptr);
    return bytes;
}

std::wstring Iso(const FILETIME& time) {
    return IsoUtcText(time);
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string text;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return text;
    }
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read != 0) {
        text.append(buffer, read);
    }
    ::CloseHandle(file);
    return text;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    CFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                    &written, nullptr));
}

std::vector<std::wstring> FileNames(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    CFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (find) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                names.push_back(found.cFileName);
            }
        } while (::FindNextFileW(find.Get(), &found));
    }
    return names;
}

using Console = CProgramFixture;

// A store with fixed times: a site with two cookies in one cache file and a Flash file, an
// authorized site whose file is no cookie record, and one whose entry has no file.
class ConsoleList : public Console {
protected:
    void SetUp() override {
        Console::SetUp();
        m_alphaFile = CookieStore::AddBrowserCookie(
            {CookieStore::BrowserCookieUrl(L"www.alpha.com"), true, m_alphaTime, {}},
            CookieStore::CookieFileRecord("SID", "login-token", "www.alpha.com/", m_expires,
                                          m_sidCreated) +
                CookieStore::CookieFileRecord("theme", "dark, \"wide\"", ".alpha.com/shop/", {},
                                              m_themeCreated));
        m_flashFile =
            CookieStore::AddFlashFile(L"R4ND0M\\www.alpha.com\\saves\\game.sol", m_flashTime);
        m_betaFile = CookieStore::AddBrowserCookie(
            {CookieStore::BrowserCookieUrl(L"mail.beta.org", L"/inbox/"), true, m_betaTime, {}});
        CookieStore::AddAuthorizedValue(L"beta.org");
        CookieStore::AddBrowserCookie(
            {CookieStore::BrowserCookieUrl(L"gamma.net", L"/"), false, {}, m_gammaTime});
    }

    std::string ExpectedSites() const {
        return ByteOrderMark + Utf8(L"Site,Authorized,Last Used,Created,Types,Count\r\n"
                                    L"alpha.com,no," +
                                    Iso(m_flashTime) + L"," + Iso(m_alphaTime) +
                                    L",\"Flash, IE\",2\r\n"
                                    L"beta.org,yes," +
                                    Iso(m_betaTime) + L"," + Iso(m_betaTime) +
                                    L",IE,1\r\n"
                                    L"gamma.net,no," +
                                    Iso(m_gammaTime) + L",,IE,1\r\n");
    }

    const FILETIME m_alphaTime = At(2021, 3, 4, 5);
    const FILETIME m_flashTime = At(2022, 6, 7, 8);
    const FILETIME m_betaTime = At(2020, 1, 2, 3);
    const FILETIME m_gammaTime = At(2019, 12, 31, 23);
    const FILETIME m_expires = At(2030, 1, 1, 0);
    const FILETIME m_sidCreated = At(2021, 1, 1, 1);
    const FILETIME m_themeCreated = At(2021, 2, 2, 2);
    std::wstring m_alphaFile;
    std::wstring m_flashFile;
    std::wstring m_betaFile;
};

} // namespace

TEST_F(ConsoleList, WritesEverySiteAsCsvToTheConsoleOrAFile) {
    // A site without cookies keeps its authorization: listing changes nothing.
    CookieStore::AddAuthorizedValue(L"gone.net");
    const CConsoleRun run = RunFromConsole(L"-list");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(ExpectedSites(), run.output);
    EXPECT_EQ("", run.errors);
    EXPECT_EQ((std::set<std::wstring>{L"beta.org", L"gone.net"}), CookieStore::AuthorizedValues());

    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"site list.csv";
    WriteFileBytes(file, "an older list");
    const CConsoleRun toFile = RunFromConsole(L"-list \"" + file + L"\"");
    EXPECT_EQ(0u, toFile.exitCode);
    EXPECT_EQ("", toFile.output);
    EXPECT_EQ(ExpectedSites(), ReadFileBytes(file));
    ::DeleteFileW(file.c_str());
}

// As typed at a prompt in the program's folder. Wine's cmd, as Windows', takes Tollgate.com for
// the bare name (.COM comes before .EXE in PATHEXT), and it keeps the blank before "&", "|" and
// ">", which the .com drops (Tollgate.exe would take "-list " for no command). Unlike Windows',
// it also waits for a window program; "!ERRORLEVEL!" is read when its command runs.
TEST_F(ConsoleList, TheConsoleTwinWorksInCmdWithItsOrderExitCodePipeAndRedirection) {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + L"twin list.csv";
    const struct {
        std::wstring line;
        std::string output;
        std::wstring errors;
    } cases[] = {
        {L"Tollgate -list & echo after", ExpectedSites() + "after\r\n", L""},
        {L"Tollgate -clean 30 -dry-run & echo code=!ERRORLEVEL!",
         Utf8(L"Would delete alpha.com: 2 cookies, last used " + Iso(m_flashTime) +
              L"\r\nWould delete gamma.net: 1 cookies, last used " + Iso(m_gammaTime) +
              L"\r\n2 sites would be deleted, 1 kept; nothing was deleted.\r\ncode=0\r\n"),
         L""},
        {L"Tollgate -list C:\\no-such-folder\\list.csv & echo code=!ERRORLEVEL!", "code=1\r\n",
         FailureText(IDS_FAILED_WRITING_LIST, FormatErrorText(ERROR_DIRECTORY)) + L"\r\n"},
        {L"Tollgate -list | find \"alpha.com\"",
         Utf8(L"alpha.com,no," + Iso(m_flashTime) + L"," + Iso(m_alphaTime) +
              L",\"Flash, IE\",2\r\n"),
         L""},
        {L"Tollgate -list > \"" + file + L"\" & echo code=!ERRORLEVEL!", "code=0\r\n", L""},
    };
    for (const auto& run : cases) {
        const CConsoleRun ran = RunFromCmd(run.line);
        EXPECT_EQ(run.output, ran.output) << run.line;
        EXPECT_EQ(Utf8(run.errors), ran.errors) << run.line;
    }
    EXPECT_EQ(ExpectedSites(), ReadFileBytes(file));
    ::DeleteFileW(file.c_str());
}

TEST_F(ConsoleList, WritesEveryCookieWithItsDetailsButNeverItsValue) {
    const CConsoleRun run = RunFromConsole(L"-list -cookies");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(ByteOrderMark +
                  Utf8(L"Browser,Name,Host,Path,Expires,Last Used,Created,Location\r\n"
                       L"IE,theme,.alpha.com,/shop/,," +
                       Iso(m_alphaTime) + L"," + Iso(m_themeCreated) + L"," + m_alphaFile +
                       L"\r\n"
                       L"IE,SID,www.alpha.com,/," +
                       Iso(m_expires) + L"," + Iso(m_alphaTime) + L"," + Iso(m_sidCreated) + L"," +
                       m_alphaFile +
                       L"\r\n"
                       L"Flash,saves\\game.sol,www.alpha.com,,," +
                       Iso(m_flashTime) + L"," + Iso(m_flashTime) + L"," + m_flashFile +
                       L"\r\n"
                       L"IE,,mail.beta.org,/inbox/,," +
                       Iso(m_betaTime) + L"," + Iso(m_betaTime) + L"," + m_betaFile +
                       L"\r\n"
                       L"IE,,gamma.net,/,," +
                       Iso(m_gammaTime) + L",,\r\n"),
              run.output);
    EXPECT_EQ(std::string::npos, run.output.find("login-token"));
    EXPECT_EQ(std::string::npos, run.output.find("dark"));
}

TEST_F(ConsoleList, AFileThatCannotBeWrittenFailsTheRun) {
    const CConsoleRun run = RunFromConsole(L"-list C:\\no-such-folder\\list.csv");
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ("", run.output);
    EXPECT_EQ(0u, run.errors.find("Failed writing the list.  ")) << run.errors;
}

// The list is written beside the file and takes its place only when whole.
TEST_F(ConsoleList, AFileThatCannotBeReplacedKeepsItsBytesAndFailsTheRun) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"list replaced";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\list.csv";
    WriteFileBytes(file, "the last list");
    CConsoleRun run;
    {
        // Open without leave to delete: nobody may move another file over it.
        CFileHandle held(::CreateFileW(file.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
        ASSERT_TRUE(held);
        run = RunFromConsole(L"-list \"" + file + L"\"");
    }
    EXPECT_EQ(1u, run.exitCode);
    EXPECT_EQ(0u, run.errors.find("Failed writing the list.  ")) << run.errors;
    EXPECT_EQ("the last list", ReadFileBytes(file));
    EXPECT_EQ(std::vector<std::wstring>{L"list.csv"}, FileNames(folder)) << "nothing left beside";
    ::DeleteFileW(file.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

TEST_F(Console, BrowserCookiesAreListedFromTheirStoresAndAStoreNotReadAgainIsToldOnce) {
    // 2023-11-14 22:13:20 UTC: microseconds since 1601 (Chromium) and since 1970 (Firefox).
    constexpr std::int64_t chromium = 13344473600000000;
    constexpr std::int64_t firefox = 1700000000000000;
    const auto fromChromium = [](std::int64_t microseconds) {
        return Iso(FILETIME{static_cast<DWORD>(microseconds * 10),
                            static_cast<DWORD>((microseconds * 10) >> 32)});
    };
    const auto fromFirefox = [&fromChromium](std::int64_t microseconds) {
        return fromChromium(microseconds + 11644473600000000);
    };
    BrowserStores::CRow pref{L".delta.dev", L"pref", L"/", chromium, chromium + 60000000};
    pref.expires = chromium + 86400000000;
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Google\\Chrome\\User Data", L"Default"),
        BrowserStores::Layout::Current, {pref});
    const std::wstring database = BrowserStores::AddFirefoxProfile(
        L"default-release", L"ab.default-release", BrowserStores::Layout::Current,
        {{L"delta.dev", L"a", L"/", firefox, firefox + 1}, {L"delta.dev", L"b", L"/", firefox, 0}});
    {
        // A layout that loads but has no expiry to show.
        CSqliteDatabase db(database, CSqliteDatabase::Mode::ReadWrite);
        db.Execute("ALTER TABLE moz_cookies DROP COLUMN expiry");
    }

    const CConsoleRun run = RunFromConsole(L"-list -cookies");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(ByteOrderMark +
                  Utf8(L"Browser,Name,Host,Path,Expires,Last Used,Created,Location\r\n"
                       L"Chrome,pref,.delta.dev,/," +
                       fromChromium(chromium + 86400000000) + L"," +
                       fromChromium(chromium + 60000000) + L"," + fromChromium(chromium) +
                       L",Google Chrome (Default)\r\n"
                       L"Firefox,a,delta.dev,/,," +
                       fromFirefox(firefox + 1) + L"," + fromFirefox(firefox) +
                       L",Mozilla Firefox (default-release)\r\n"
                       L"Firefox,b,delta.dev,/,,," +
                       fromFirefox(firefox) + L",Mozilla Firefox (default-release)\r\n"),
              run.output);
    EXPECT_EQ(Utf8(FormatString(LoadExpandedString(IDS_DETAILS_UNREADABLE).c_str(),
                                L"Mozilla Firefox", L"default-release",
                                LoadExpandedString(IDS_STORE_UNKNOWN_LAYOUT).c_str()) +
                   L"\r\n"),
              run.errors);
}

TEST_F(Console, UsageGoesToTheConsole) {
    const CConsoleRun run = RunFromConsole(L"-?");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(0u, run.output.find("Usage: Tollgate [-list [-cookies] [FILE] | -clean DAYS"))
        << run.output;
    EXPECT_NE(std::string::npos, run.output.find("Exit codes: 0 done, 2 some cookies not "
                                                 "deleted, 1 failed.\r\n"));
}

namespace {

// Two sites due for clean (browser and Flash), an authorized one just as old, a fresh one.
class ConsoleClean : public Console {
protected:
    void SetUp() override {
        Console::SetUp();
        for (const wchar_t* path : {L"/a/", L"/b/"}) {
            m_oldUrls.push_back(CookieStore::BrowserCookieUrl(L"www.old.com", path));
            CookieStore::AddBrowserCookie({m_oldUrls.back(), true, m_oldTime, m_oldTime});
        }
        m_flashFile = CookieStore::AddFlashFile(L"R4ND0M\\games.flashold.net\\s.sol", m_flashTime);
        m_keptUrl = CookieStore::BrowserCookieUrl(L"bank.kept.org");
        CookieStore::AddBrowserCookie({m_keptUrl, true, DaysAgo(100), DaysAgo(100)});
        CookieStore::AddAuthorizedValue(L"kept.org");
        m_freshUrl = CookieStore::BrowserCookieUrl(L"www.fresh.com");
        CookieStore::AddBrowserCookie({m_freshUrl, true, DaysAgo(5), DaysAgo(5)});
    }

    std::string Line(const wchar_t* verb, const wchar_t* site, int count, FILETIME time) const {
        return Utf8(std::wstring(verb) + L" " + site + L": " + std::to_wstring(count) +
                    L" cookies, last used " + Iso(time) + L"\r\n");
    }

    bool FlashFileExists() const {
        return ::GetFileAttributesW(m_flashFile.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    const FILETIME m_oldTime = DaysAgo(40);
    const FILETIME m_flashTime = DaysAgo(31);
    std::vector<std::wstring> m_oldUrls;
    std::wstring m_flashFile;
    std::wstring m_keptUrl;
    std::wstring m_freshUrl;
};

} // namespace

TEST_F(ConsoleClean, DryRunNamesTheSitesAndDeletesNothing) {
    CookieStore::AddAuthorizedValue(L"gone.net");
    const auto before = CookieStore::BrowserCookieUrls();
    const CConsoleRun run = RunFromConsole(L"-clean 30 -dry-run");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(Line(L"Would delete", L"flashold.net", 1, m_flashTime) +
                  Line(L"Would delete", L"old.com", 2, m_oldTime) +
                  "2 sites would be deleted, 2 kept; nothing was deleted.\r\n",
              run.output);
    EXPECT_EQ("", run.errors);
    EXPECT_EQ(before, CookieStore::BrowserCookieUrls());
    EXPECT_TRUE(FlashFileExists());
    EXPECT_EQ((std::set<std::wstring>{L"gone.net", L"kept.org"}), CookieStore::AuthorizedValues())
        << "a dry run prunes nothing";
}

TEST_F(ConsoleClean, DeletesExactlyTheOldUnauthorizedSites) {
    CookieStore::AddAuthorizedValue(L"gone.net");
    const CConsoleRun run = RunFromConsole(L"-clean 30");
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(Line(L"Deleted", L"flashold.net", 1, m_flashTime) +
                  Line(L"Deleted", L"old.com", 2, m_oldTime) +
                  "2 sites deleted, 0 partly deleted, 0 not deleted, 2 kept.\r\n",
              run.output);
    EXPECT_EQ("", run.errors);
    EXPECT_EQ((std::set<std::wstring>{m_keptUrl, m_freshUrl}), CookieStore::BrowserCookieUrls());
    EXPECT_FALSE(FlashFileExists());
    EXPECT_EQ(std::set<std::wstring>{L"kept.org"}, CookieStore::AuthorizedValues());
}

// An open browser holds its entry: the site stays, the rest goes, and the exit code says so.
TEST_F(ConsoleClean, AnEntryHeldOpenEndsWithExitCodeTwo) {
    DWORD size = 0;
    ::RetrieveUrlCacheEntryFileW(m_oldUrls[1].c_str(), nullptr, &size, 0);
    std::vector<BYTE> buffer(size);
    ASSERT_TRUE(::RetrieveUrlCacheEntryFileW(
        m_oldUrls[1].c_str(), reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data()), &size,
        0));
    const CConsoleRun run = RunFromConsole(L"-clean 30");
    // The cache may delete the held entry once it is let go.
    EXPECT_EQ(1u, CookieStore::BrowserCookieUrls().count(m_oldUrls[1]));
    ::UnlockUrlCacheEntryFileW(m_oldUrls[1].c_str(), 0);
    EXPECT_EQ(2u, run.exitCode);
    // The entry that was not held went: the line says what went, what stayed and why.
    EXPECT_EQ(Line(L"Deleted", L"flashold.net", 1, m_flashTime) +
                  Utf8(L"Partly deleted old.com: 1 of 2 cookies, last used " + Iso(m_oldTime) +
                       L"  " + CWin32Exception(ERROR_SHARING_VIOLATION, L"").GetText() + L"\r\n") +
                  "1 sites deleted, 1 partly deleted, 0 not deleted, 2 kept.\r\n",
              run.output);
    EXPECT_EQ(0u, run.errors.find("Failed deleting cookie.  ")) << run.errors;
    EXPECT_FALSE(FlashFileExists());
}

// A running browser holds its store: the load leaves it out and says so, the cache is still
// cleaned, and the exit code tells that old cookies may be left.
TEST_F(ConsoleClean, AnOpenBrowserKeepsItsStoreWholeAndEndsWithExitCodeTwo) {
    const ULARGE_INTEGER old{{m_oldTime.dwLowDateTime, m_oldTime.dwHighDateTime}};
    const auto microseconds = static_cast<std::int64_t>(old.QuadPart / 10);
    const std::wstring chrome = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Google\\Chrome\\User Data", L"Default"),
        BrowserStores::Layout::Current,
        {{L".chromeold.com", L"sid", L"/", microseconds, microseconds}});
    const std::vector<std::wstring> rows = BrowserStores::DumpTable(chrome, "cookies");

    CConsoleRun run;
    CConsoleRun closing;
    {
        const CBrowserStandIn browser(chrome);
        run = RunFromConsole(L"-clean 30");
        // Wine's Restart Manager names no program to close.
        closing = RunFromConsole(L"-clean 30 -close-browsers");
    }
    EXPECT_EQ(2u, closing.exitCode);
    EXPECT_EQ(Utf8(FormatString(LoadExpandedString(IDS_CONSOLE_CLOSE_BY_HAND).c_str(), L"Chrome",
                                L"Chrome") +
                   L"\r\n"),
              closing.errors);
    EXPECT_EQ(2u, run.exitCode);
    EXPECT_EQ(Line(L"Deleted", L"flashold.net", 1, m_flashTime) +
                  Line(L"Deleted", L"old.com", 2, m_oldTime) +
                  "2 sites deleted, 0 partly deleted, 0 not deleted, 2 kept.\r\n",
              run.output);
    EXPECT_EQ(Utf8(FormatString(LoadExpandedString(IDS_CONSOLE_BROWSER_OPEN).c_str(), L"Chrome",
                                L"Chrome") +
                   L"\r\n"),
              run.errors);
    EXPECT_EQ(std::string::npos, run.errors.find("Refresh"));
    EXPECT_EQ(rows, BrowserStores::DumpTable(chrome, "cookies"));
    EXPECT_EQ((std::set<std::wstring>{m_keptUrl, m_freshUrl}), CookieStore::BrowserCookieUrls());
    EXPECT_FALSE(FlashFileExists());
}

// Words that are not exactly the program's still open the window.
TEST_F(Console, NearMissesOpenTheWindow) {
    for (const wchar_t* arguments : {L"-R", L"-r x", L"-list2", L"-clean 30 -Dry-Run"}) {
        CProgramRun run(arguments);
        ASSERT_TRUE(run.Started());
        EXPECT_NE(nullptr, run.WaitForSheet()) << arguments;
    }
}

// Without arguments the twin hands over to Tollgate.exe beside it and ends at once; alone, it
// says why it could not.
TEST_F(Console, TheConsoleTwinStartsTheWindowProgram) {
    const std::wstring twin = PathBesideTestProgram(L"Tollgate.com");
    CProgramRun run(L"", twin);
    EXPECT_EQ(0u, run.WaitForExit());
    const HWND sheet = WaitForAnyDialog(L"Tollgate");
    ASSERT_NE(nullptr, sheet);
    Answer(sheet, IDCANCEL);
    EXPECT_TRUE(run.WaitForAllProcesses());

    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring alone = std::wstring(folder) + L"Tollgate.com";
    ASSERT_TRUE(::CopyFileW(twin.c_str(), alone.c_str(), FALSE));
    const CConsoleRun lone = RunFromCmd(L"\"" + alone + L"\"");
    ::DeleteFileW(alone.c_str());
    EXPECT_EQ(1u, lone.exitCode);
    EXPECT_EQ(Utf8(FailureText(IDS_FAILED_STARTING_WINDOW, FormatErrorText(ERROR_FILE_NOT_FOUND)) +
                   L"\r\n"),
              lone.errors);
}
