#include "support/ProgramPath.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Tollgate.exe itself, loaded as data: the tests read what the shipped program carries.
class ProgramResources : public testing::Test {
protected:
    void SetUp() override {
        m_module = ::LoadLibraryExW(PathBesideTestProgram(L"Tollgate.exe").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(nullptr, m_module) << "Tollgate.exe not found beside the test program";
    }
    void TearDown() override {
        if (m_module) {
            ::FreeLibrary(m_module);
        }
    }

    // Reads the string block directly, so an entry of zero length counts as present.
    bool FindString(UINT id, std::wstring& text) {
        HRSRC block = ::FindResourceExW(m_module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1),
                                        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
        if (!block) {
            return false;
        }
        auto p = static_cast<const WCHAR*>(::LockResource(::LoadResource(m_module, block)));
        for (UINT i = 0; i < id % 16; ++i) {
            p += 1 + *p;
        }
        if (*p == 0) {
            return false;
        }
        text.assign(p + 1, *p);
        return true;
    }

    HMODULE m_module = nullptr;
};

const std::map<UINT, std::wstring> Expected = {
    {129, L"<APPNAME>"},
    {130, L"Flash"},
    {131, L"<APPNAME>"},
    {132, L"Tollgate"},
    {133, L"Unhandled Exception:\n\n%s"},
    {134, L"Manage cookies."},
    {135, L"<APPNAME>"},
    {136, L"Source"},
    {137, L"%u minutes"},
    {138, L"1 hour"},
    {139, L"%u hours"},
    {140, L"1 day"},
    {141, L"%u days"},
    {142, L"1 week"},
    {143, L"1 month"},
    {144, L"Last Used"},
    {145, L"1 year"},
    {146, L"Created"},
    {147, L"(All)"},
    {148, L"Type"},
    {149, L"Count"},
    {150, L"IE"},
    {151, L"Please check the boxes next to the cookies that you wish to delete before clicking "
          L"this button."},
    {152, L"%u Authorized Cookie"},
    {153, L"%u Authorized Cookies"},
    {154, L"%u seconds ago"},
    {155, L"%u minutes ago"},
    {156, L"%u hours ago"},
    {157, L"%u days ago"},
    {158, L"%u weeks ago"},
    {159, L"%u months ago"},
    {160, L"%u years ago"},
    {161, L"(Future)"},
    {162, L"Failed deleting cookie."},
    {163, L"Software\\<APPNAME>"},
    {164, L"<REGKEY>\\Allowed"},
    {165, L"Please check the boxes next to the cookies that you wish to authorize before clicking "
          L"this button."},
    {166, L"Failed authorizing cookie."},
    {167, L"(Unknown)"},
    {168, L"Failed deleting authorized cookie."},
    {169, L"https://www.tollgate-app.com"},
    {170, L"<WEBSITE>/help.html"},
    {171, L"&About"},
    {178, L"%u Unauthorized Cookie"},
    {179, L"%u Unauthorized Cookies"},
    {185, L"<WEBSITE>/cookienews.html"},
    {186, L"Cookie &News"},
    {188, L"<WEBSITE>/gettingstarted.html"},
    {200, L"Loading cookies\x2026 %u found"},
    {201, L"%s from %s, loaded in %u.%u s"},
    {202, L"1 cookie"},
    {203, L"%u cookies"},
    {204, L"1 site"},
    {205, L"%u sites"},
    {206, L"&Refresh"},
    {207, L"Loading stopped early."},
    {216, L"\"%s\" could not be deleted."},
    {217, L"The folder \"%s\" is a link, or holds a link or a path too long, so it was left as "
          L"it is."},
    {218, L"Some Flash folders could not be read."},
    {219, L"Some cookie files could not be read; their times are not shown."},
    {220, L"Chrome"},
    {221, L"Edge"},
    {222, L"Firefox"},
    {223, L"Brave"},
    {224, L"Opera"},
    {225, L"Vivaldi"},
    {226, L"%s is open, so its cookies are not shown. Close %s and they appear here."},
    {227, L"%s (%s) is open: close it, then delete again."},
    {228, L"The cookies of %s (%s) could not be read.  %s"},
    {229, L"<APPNAME> does not know this layout of the cookie database."},
    {240, L"Site"},
    {241, L"Authorized"},
    {242, L"Types"},
    {243, L"Browser"},
    {244, L"Name"},
    {245, L"Host"},
    {246, L"Path"},
    {247, L"Expires"},
    {248, L"Location"},
    {249, L"yes"},
    {250, L"no"},
    {251,
     L"Usage: <APPNAME> [-list [-cookies] [FILE] | -clean DAYS [-dry-run | -close-browsers] | -r | "
     L"-u | -?]\r\n  (none)            opens the window\r\n  -list [FILE]      writes every site "
     L"as "
     L"CSV to FILE or the console\r\n  -list -cookies    writes every cookie instead (never its "
     L"value)\r\n  -clean DAYS       deletes each site not authorized and not used for DAYS "
     L"days\r\n  -dry-run          names those sites and deletes nothing\r\n  -close-browsers   "
     L"closes the browsers that hold their cookies first, and reopens them\r\n  -r, -u            "
     L"adds or removes the Internet Explorer button\r\nExit codes: 0 done, 2 some cookies not "
     L"deleted, 1 failed."},
    {252, L"Failed writing the list."},
    {253, L"Deleted %s: %u cookies, last used %s"},
    {254, L"Would delete %s: %u cookies, last used %s"},
    {255, L"Not deleted %s: %u cookies, last used %s"},
    {256, L"%u sites deleted, %u partly deleted, %u not deleted, %u kept."},
    {257, L"%u sites would be deleted, %u kept; nothing was deleted."},
    {258, L"Cookies of %s"},
    {259, L"%s (%s)"},
    {260, L"%s (%s) is open: its cookies are shown as they were loaded, without their expiry. "
          L"Close it and open the details again."},
    {261, L"The cookies of %s (%s) could not be read again: they are shown as they were loaded, "
          L"without their expiry.  %s"},
    {262, L"The cookie %s of %s is no longer in %s (%s): it was deleted or changed after the list "
          L"was loaded. Press Refresh."},
    {263, L"The profiles of %s could not be read.  %s"},
    {264, L"The cookie database of %s (%s) runs a trigger of its own on every change, so "
          L"<APPNAME> never deletes from it."},
    {265, L"The %s cookies could not be read.  %s"},
    {266, L"Partly deleted %s: %u of %u cookies, last used %s"},
    {267, L"%s is open: its cookies were left alone. Close %s, or run again with -close-browsers."},
    {268, L"%s is open: its cookies are not listed. Close %s and list again."},
    {269, L"%s (%s) is open: its cookies are listed as they were loaded, without their expiry."},
    {270, L"The cookie %s of %s is no longer in %s (%s): it was deleted or changed after the list "
          L"was loaded."},
    {271, L"%s and %s"},
    {272, L"%s, %s"},
    {273, L"Close %s\x2026"},
    {274, L"Reopen %s"},
    {275, L"%s will close now, as they do for a Windows update, and open again when you close "
          L"<APPNAME> or press Reopen."},
    {276, L"<APPNAME> found no program to close for %s. Close %s yourself: its cookies appear here "
          L"once it has closed."},
    {277, L"Closed %s."},
    {278, L"Reopened %s."},
    {279, L"%s did not close: its cookies were left alone."},
    {280, L"Failed starting <APPNAME>.exe."},
    {286, L"At end of session"},
    {291, L"<APPNAME> found no program to close for %s: its cookies were left alone. Close %s and "
          L"run again."},
};

} // namespace

TEST_F(ProgramResources, StringTableHoldsExactlyTheProgramsTexts) {
    for (UINT id = 0; id < 1024; ++id) {
        std::wstring text;
        const bool present = FindString(id, text);
        const auto expected = Expected.find(id);
        if (expected == Expected.end()) {
            EXPECT_FALSE(present) << "unexpected entry " << id;
        } else {
            EXPECT_TRUE(present) << "missing entry " << id;
            EXPECT_EQ(expected->second, text) << "entry " << id;
        }
    }
}

TEST_F(ProgramResources, VersionResourceNamesProductVersion1_3_0_23) {
    const std::wstring path = PathBesideTestProgram(L"Tollgate.exe");
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_NE(0u, size);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(3, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(23, 0), fixed->dwProductVersionLS);

    wchar_t* text = nullptr;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\ProductVersion",
                                 reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring(L"1, 3, 0, 23"), text);
}

TEST_F(ProgramResources, IconsHaveTheirSizes) {
    const struct {
        UINT id;
        std::vector<int> sizes;
    } groups[] = {{128, {16, 20, 24, 28, 32, 36, 40, 48}}, {204, {24, 16}}, {205, {24, 16}}};
    for (const auto& group : groups) {
        HRSRC resource = ::FindResourceW(m_module, MAKEINTRESOURCEW(group.id), RT_GROUP_ICON);
        ASSERT_NE(nullptr, resource) << group.id;
        auto dir = static_cast<const BYTE*>(::LockResource(::LoadResource(m_module, resource)));
        const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
        std::vector<int> sizes;
        for (WORD i = 0; i < count; ++i) {
            const BYTE* entry = dir + 6 + 14 * i;
            sizes.push_back(entry[0] == 0 ? 256 : entry[0]);
            EXPECT_EQ(32, *reinterpret_cast<const WORD*>(entry + 6)) << "bits of icon " << group.id;
        }
        std::sort(sizes.begin(), sizes.end());
        std::vector<int> expected = group.sizes;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, sizes) << "icon " << group.id;
    }
}

TEST_F(ProgramResources, ManifestAsksForCommonControls6) {
    HRSRC resource = ::FindResourceW(m_module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(nullptr, resource);
    const auto data = static_cast<const char*>(::LockResource(::LoadResource(m_module, resource)));
    const std::string manifest(data, ::SizeofResource(m_module, resource));
    EXPECT_NE(std::string::npos,
              manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, manifest.find("<dpiAware"));
}
