// The release under Wine: the signed program, the switches of the package
// manager's manifest and a second product folder each install silently.
// The signed copy and the manifest's command line come from the release_signing
// and release_manifests tests (PHOTARIUM_RELEASE_DATA).
#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Photarium64";

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<std::wstring> Utf8Lines(const std::string& unixPath)
{
    std::string bytes = ReadFileBytes(UnixToWindowsPath(unixPath));
    std::wstring text(bytes.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                    &text[0], static_cast<int>(text.size())));
    std::vector<std::wstring> lines(1);
    for (wchar_t c : text) {
        if (c == L'\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

// Runs program silently into a fresh target; its exit code.
int InstallWith(const std::wstring& program, const std::wstring& arguments,
                const std::wstring& target)
{
    RemoveTree(target);
    return RunProgram(L"\"" + program + L"\" " + arguments, FreshFolder(L"work"));
}

TEST(Release, SignedProgramFindsItsArchiveAndInstalls)
{
    std::wstring program = UnixToWindowsPath(Env("PHOTARIUM_RELEASE_DATA") + "/signed/photar64_setup.exe");
    std::wstring target = L"C:\\ptest\\signiert";
    EXPECT_EQ(0, InstallWith(program, L"/silent /folder=" + target, target));
    EXPECT_TRUE(FileExists(target + L"\\photar64.exe"));
    EXPECT_TRUE(FileExists(target + L"\\Plugins\\Icons.dll"));
}

TEST(Release, ManifestSwitchesInstallIntoTheGivenFolder)
{
    std::string data = Env("PHOTARIUM_RELEASE_DATA");
    std::vector<std::wstring> command = Utf8Lines(data + "/manifest_command.txt");
    // the folder, then the uninstall entry's name, publisher and version
    std::vector<std::wstring> entry = Utf8Lines(data + "/manifest_entry.txt");
    ASSERT_EQ(1u, command.size());
    ASSERT_EQ(4u, entry.size());
    EXPECT_EQ(0, InstallWith(SetupExePath(), command[0], entry[0]));
    EXPECT_TRUE(FileExists(entry[0] + L"\\photar64.exe"));
    EXPECT_EQ(entry[0] + L"\\", ReadRegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"));
    EXPECT_EQ(entry[1], ReadRegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"));
    EXPECT_EQ(entry[2], ReadRegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"));
    EXPECT_EQ(entry[3], ReadRegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"));
}

TEST(Release, SecondProductInstallsItsOwnFiles)
{
    std::wstring program = UnixToWindowsPath(Env("PHOTARIUM_PRODUCT2_SETUP"));
    std::wstring source = UnixToWindowsPath(Env("PHOTARIUM_TEST_DATA") + "/product2");
    std::wstring target = L"C:\\ptest\\zweites";
    EXPECT_EQ(0, InstallWith(program, L"/silent /folder=" + target, target));
    for (const wchar_t* name : {L"photar64.exe", L"pt_uninstall.exe", L"Plugins\\Icons.dll",
                                L"liesmich.txt", L"Hilfe\\kurz.txt"}) {
        ASSERT_TRUE(FileExists(target + L"\\" + name)) << name;
        EXPECT_EQ(ReadFileBytes(source + L"\\" + name), ReadFileBytes(target + L"\\" + name)) << name;
    }
    // nothing of the stand-in product that the default build packs
    EXPECT_FALSE(FileExists(target + L"\\p_about.txt"));
    EXPECT_FALSE(FolderExists(target + L"\\Toolbars"));
}

}  // namespace
