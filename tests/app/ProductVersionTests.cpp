#include "app/ProductVersion.h"

#include "store/ErrorText.h"
#include "store/Exceptions.h"
#include "support/ProgramPath.h"

#include <gtest/gtest.h>

namespace {

std::wstring FailureText(const std::wstring& file) {
    try {
        ReadProductVersion(file);
    } catch (const CException& e) {
        return e.GetText();
    }
    return L"(no failure)";
}

} // namespace

TEST(ProductVersion, ReadsTheProgramsVersionWithFullStops) {
    EXPECT_EQ(L"1.3.0.23", ReadProductVersion(PathBesideTestProgram(L"Tollgate.exe")));
    // Test programs carry the program's resources, so their own version is the same.
    EXPECT_EQ(L"1.3.0.23", GetProductVersion());
}

TEST(ProductVersion, TakesTheFirstTranslationAndKeepsATextWithoutCommas) {
    EXPECT_EQ(L"2.5 beta",
              ReadProductVersion(PathBesideTestProgram(L"version_probe_OtherLanguage.exe")));
}

TEST(ProductVersion, NamesTheEntryAResourceLacks) {
    EXPECT_EQ(L"Failed retrieving '\\VarFileInfo\\Translation' from version resource",
              FailureText(PathBesideTestProgram(L"version_probe_NoTranslation.exe")));
    EXPECT_EQ(L"Failed retrieving '\\StringFileInfo\\040904B0\\ProductVersion' from version "
              L"resource",
              FailureText(PathBesideTestProgram(L"version_probe_NoProductVersion.exe")));
}

TEST(ProductVersion, AFileWithoutVersionResourceFailsWithTheSystemsText) {
    const std::wstring missing = PathBesideTestProgram(L"no-such-file.exe");
    try {
        ReadProductVersion(missing);
        FAIL() << "no exception";
    } catch (const CWin32Exception& e) {
        EXPECT_NE(0u, e.GetCode());
        EXPECT_EQ(FormatErrorText(e.GetCode()), e.GetText());
    }
}

TEST(ProductVersion, ReadsTheWholeModulePathWhateverTheBufferItStartsWith) {
    const std::wstring path = GetModulePath(nullptr);
    ASSERT_GT(path.size(), 4u);
    EXPECT_EQ(PathBesideTestProgram(L"app_tests.exe"), path);
    EXPECT_EQ(path, GetModulePath(nullptr, 4));
    EXPECT_EQ(path, GetModulePath(nullptr, static_cast<DWORD>(path.size())));
    EXPECT_EQ(path, GetModulePath(nullptr, static_cast<DWORD>(path.size() + 1)));
}
