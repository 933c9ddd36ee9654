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
    {216, L"\"%s\" could not be deleted."},
    {217, L"The folder \"%s\" is a link, or holds a link or a path too long, so it was left as "
          L"it is."},
    {218, L"Some Flash folders could not be read."},
    {219, L"Some cookie files could not be read; their times are not shown."},
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
    } groups[] = {{128, {16, 32, 48}}, {204, {24, 16}}, {205, {24, 16}}};
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
