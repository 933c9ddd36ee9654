#include "support/ProgramDriver.h"
#include "support/ProgramPath.h"
#include "support/RegistryProbe.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

const wchar_t UninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tollgate";
const wchar_t ExtensionsKey[] = L"Software\\Microsoft\\Internet Explorer\\Extensions";
const wchar_t ExtensionKey[] =
    L"Software\\Microsoft\\Internet Explorer\\Extensions\\{334C4A3A-7B0F-4C55-B73F-63B37865E8FA}";
const wchar_t InstallDialog[] = L"Tollgate - Install Successful!";

std::wstring FolderPath(int folder) {
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::wstring InstallFolder() {
    return FolderPath(CSIDL_PROGRAM_FILES) + L"\\Tollgate";
}
std::wstring StartMenuLink() {
    return FolderPath(CSIDL_COMMON_PROGRAMS) + L"\\Tollgate.lnk";
}
std::wstring DesktopLink() {
    return FolderPath(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Tollgate.lnk";
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::set<std::wstring> FolderNames(const std::wstring& folder) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            names.insert(data.cFileName);
        } while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    return names;
}

std::set<std::wstring> SubkeyNames(HKEY root, const wchar_t* path) {
    std::set<std::wstring> names;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        wchar_t name[256];
        for (DWORD i = 0; DWORD length = 256; ++i) {
            if (::RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS) {
                break;
            }
            names.insert(name);
        }
        ::RegCloseKey(key);
    }
    return names;
}

struct CShortcut {
    std::wstring target;
    std::wstring icon;
    int iconIndex = -1;
};

CShortcut ReadShortcut(const std::wstring& path) {
    CShortcut shortcut;
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link)))) {
        return shortcut;
    }
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(path.c_str(), STGM_READ))) {
            wchar_t text[MAX_PATH] = {};
            link->GetPath(text, MAX_PATH, nullptr, 0);
            shortcut.target = text;
            link->GetIconLocation(text, MAX_PATH, &shortcut.iconIndex);
            shortcut.icon = text;
        }
        file->Release();
    }
    link->Release();
    return shortcut;
}

// What the installer may touch, listed so that a test can tell that uninstalling put back
// exactly what was there before.
struct CSystemState {
    std::set<std::wstring> programFiles, startMenu, desktop, uninstall, extensions, software;
};

// Field by field, so that a failure names what changed.
void ExpectSameState(const CSystemState& before, const CSystemState& after) {
    EXPECT_EQ(before.programFiles, after.programFiles);
    EXPECT_EQ(before.startMenu, after.startMenu);
    EXPECT_EQ(before.desktop, after.desktop);
    EXPECT_EQ(before.uninstall, after.uninstall);
    EXPECT_EQ(before.extensions, after.extensions);
    EXPECT_EQ(before.software, after.software);
}

CSystemState TakeState() {
    return {
        FolderNames(FolderPath(CSIDL_PROGRAM_FILES)),
        FolderNames(FolderPath(CSIDL_COMMON_PROGRAMS)),
        FolderNames(FolderPath(CSIDL_COMMON_DESKTOPDIRECTORY)),
        SubkeyNames(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"),
        SubkeyNames(HKEY_LOCAL_MACHINE, ExtensionsKey),
        SubkeyNames(HKEY_CURRENT_USER, L"Software")};
}

class Installer : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        // Uninstalling removes the per-user key by design; one left by an earlier suite (the
        // main window keeps its placement there) is not part of what must stay.
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tollgate");
        m_before = TakeState();
    }
    void TearDown() override {
        if (FileExists(InstallFolder() + L"\\Uninstall.exe")) {
            Uninstall(InstallFolder() + L"\\Uninstall.exe", L"/S");
        }
        ::CoUninitialize();
    }

    // A silent install: the installer does not wait for "Tollgate.exe -r", whose dialog the
    // test then closes as a user would.
    void InstallSilently() {
        CProgramRun setup(L"/S", PathBesideTestProgram(L"TollgateSetup.exe"));
        ASSERT_TRUE(setup.Started());
        ASSERT_EQ(0u, setup.WaitForExit(60000));
        HWND dialog = WaitForAnyDialog(InstallDialog);
        ASSERT_NE(nullptr, dialog) << "no install dialog";
        Answer(dialog, IDCANCEL);
        EXPECT_TRUE(setup.WaitForAllProcesses());
    }

    static void Uninstall(const std::wstring& uninstaller, const std::wstring& arguments) {
        CProgramRun run(arguments, uninstaller);
        ASSERT_TRUE(run.Started());
        EXPECT_TRUE(run.WaitForAllProcesses());
        EXPECT_EQ(0u, run.WaitForExit(0));
    }

    CSystemState m_before;
};

} // namespace

TEST_F(Installer, InstallsTheProgramShortcutsUninstallEntryAndToolbarButton) {
    InstallSilently();
    const std::wstring program = InstallFolder() + L"\\Tollgate.exe";
    EXPECT_EQ(ReadBytes(PathBesideTestProgram(L"Tollgate.exe")), ReadBytes(program));
    EXPECT_EQ(ReadBytes(PathBesideTestProgram(L"Tollgate.com")),
              ReadBytes(InstallFolder() + L"\\Tollgate.com"));
    EXPECT_TRUE(FileExists(InstallFolder() + L"\\Uninstall.exe"));

    for (const std::wstring& path : {StartMenuLink(), DesktopLink()}) {
        const CShortcut shortcut = ReadShortcut(path);
        EXPECT_EQ(program, shortcut.target) << path;
        EXPECT_EQ(program, shortcut.icon) << path;
        EXPECT_EQ(0, shortcut.iconIndex) << path;
    }

    EXPECT_EQ(L"Tollgate", ReadString(HKEY_LOCAL_MACHINE, UninstallKey, L"DisplayName"));
    EXPECT_EQ(L"1.3.0.23", ReadString(HKEY_LOCAL_MACHINE, UninstallKey, L"DisplayVersion"));
    EXPECT_FALSE(ReadString(HKEY_LOCAL_MACHINE, UninstallKey, L"Publisher").empty());
    EXPECT_EQ(program + L",0", ReadString(HKEY_LOCAL_MACHINE, UninstallKey, L"DisplayIcon"));
    EXPECT_EQ(L"\"" + InstallFolder() + L"\\Uninstall.exe\"",
              ReadString(HKEY_LOCAL_MACHINE, UninstallKey, L"UninstallString"));
    DWORD size = 0;
    DWORD bytes = sizeof(size);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_LOCAL_MACHINE, UninstallKey, L"EstimatedSize",
                                            RRF_RT_REG_DWORD, nullptr, &size, &bytes));
    EXPECT_LT(0u, size);

    EXPECT_EQ(program, ReadString(HKEY_LOCAL_MACHINE, ExtensionKey, L"Exec"));
    EXPECT_EQ(program + L",204", ReadString(HKEY_LOCAL_MACHINE, ExtensionKey, L"HotIcon"));
    EXPECT_EQ(program + L",205", ReadString(HKEY_LOCAL_MACHINE, ExtensionKey, L"Icon"));
    EXPECT_EQ(L"{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}",
              ReadString(HKEY_LOCAL_MACHINE, ExtensionKey, L"CLSID"));
    EXPECT_EQ(L"Yes", ReadString(HKEY_LOCAL_MACHINE, ExtensionKey, L"Default Visible"));

    HKEY settings = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tollgate\\Allowed", 0,
                                               nullptr, 0, KEY_WRITE, nullptr, &settings, nullptr));
    ::RegCloseKey(settings);

    Uninstall(InstallFolder() + L"\\Uninstall.exe", L"/S");
    EXPECT_FALSE(FileExists(InstallFolder()));
    EXPECT_FALSE(FileExists(StartMenuLink()));
    EXPECT_FALSE(FileExists(DesktopLink()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ExtensionKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, L"Software\\Tollgate"));
    ExpectSameState(m_before, TakeState());
}

TEST_F(Installer, InstallingOverAnInstallationUpgradesItInPlace) {
    InstallSilently();
    const std::wstring program = InstallFolder() + L"\\Tollgate.exe";
    {
        std::ofstream stale(std::filesystem::path(program), std::ios::binary | std::ios::trunc);
        stale << "an older Tollgate";
    }
    InstallSilently();
    EXPECT_EQ(ReadBytes(PathBesideTestProgram(L"Tollgate.exe")), ReadBytes(program));
    const std::set<std::wstring> files = {L".", L"..", L"Tollgate.com", L"Tollgate.exe",
                                          L"Uninstall.exe"};
    EXPECT_EQ(files, FolderNames(InstallFolder()));
    EXPECT_EQ(L"1.3.0.23", ReadString(HKEY_LOCAL_MACHINE, UninstallKey, L"DisplayVersion"));
}

TEST_F(Installer, UninstallingAfterTheFolderWasDeletedAndAgainEndsCleanly) {
    InstallSilently();
    // The uninstaller kept elsewhere, told where the installation was.
    const std::wstring copy = FolderPath(CSIDL_COMMON_APPDATA) + L"\\TollgateUninstall.exe";
    ASSERT_TRUE(::CopyFileW((InstallFolder() + L"\\Uninstall.exe").c_str(), copy.c_str(), FALSE));
    ASSERT_TRUE(::DeleteFileW((InstallFolder() + L"\\Tollgate.exe").c_str()));
    ASSERT_TRUE(::DeleteFileW((InstallFolder() + L"\\Tollgate.com").c_str()));
    ASSERT_TRUE(::DeleteFileW((InstallFolder() + L"\\Uninstall.exe").c_str()));
    ASSERT_TRUE(::RemoveDirectoryW(InstallFolder().c_str()));

    const std::wstring arguments = L"/S _?=" + InstallFolder();
    Uninstall(copy, arguments);
    EXPECT_FALSE(FileExists(StartMenuLink()));
    EXPECT_FALSE(FileExists(DesktopLink()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ExtensionKey));
    Uninstall(copy, arguments);
    ::DeleteFileW(copy.c_str());
    ExpectSameState(m_before, TakeState());
}

TEST_F(Installer, CarriesTheProgramsVersionAndAsksForAdministratorRights) {
    const std::wstring setup = PathBesideTestProgram(L"TollgateSetup.exe");
    DWORD ignored = 0;
    std::vector<BYTE> data(::GetFileVersionInfoSizeW(setup.c_str(), &ignored));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(
        ::GetFileVersionInfoW(setup.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(3, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(23, 0), fixed->dwProductVersionLS);

    HMODULE module = ::LoadLibraryExW(setup.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    HRSRC manifest = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(nullptr, manifest);
    const std::string text(
        static_cast<const char*>(::LockResource(::LoadResource(module, manifest))),
        ::SizeofResource(module, manifest));
    EXPECT_NE(std::string::npos, text.find("requireAdministrator"));
    ::FreeLibrary(module);
}
