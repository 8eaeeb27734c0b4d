// The viewer's settings file after silent installations of the real setup
// program. This program runs on its own 1280x1024 screen at 96 pixels per
// inch, where the 24-pixel toolbar skin fits.
#include "settings_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace {

const std::string kHeader = ConvertedBytes("");

std::wstring AppData()
{
    wchar_t value[260];
    DWORD length = GetEnvironmentVariableW(L"APPDATA", value, 260);
    return length > 0 && length < 260 ? value : L"<no APPDATA>";
}

TEST(SettingsFile, FreshInstallationWithoutSettingsFolder)
{
    ASSERT_GT(FullScreenHeight(), 768);
    ASSERT_LE(FullScreenHeight(), 1200);
    std::wstring target = InstallSilently(L"fresh");
    EXPECT_EQ(kHeader + Utf16Le(L"[Language]\r\nDLL=DEUTSCH.DLL\r\nLang=Deutsch\r\n"
                                L"[Toolbar]\r\nSkin=Obsidian_24.png\r\nSize=24\r\n"),
              ReadFileBytes(target + L"photar64.ini"));
    std::vector<std::wstring> files = ListFolder(target);
    EXPECT_EQ(1, std::count(files.begin(), files.end(), L"photar64.ini"));
    EXPECT_EQ(0, std::count(files.begin(), files.end(), L"photar64.ini_temp"));
}

TEST(SettingsFile, InstallingAgainKeepsTheSkinAndConvertsOnce)
{
    std::wstring target = FreshFolder(L"again") + L"Photarium\\";
    CreateDirectoryW(target.c_str(), nullptr);
    WriteFileBytes(target + L"photar64.ini",
                   "[Others]\r\nINI_Folder=D:\\Alt\r\n[Language]\r\nDLL=ENGLISH.DLL\r\nLang=English\r\n"
                   "[Toolbar]\r\nSkin=Mein_20.png\r\nSize=20\r\n");
    std::wstring work = FreshFolder(L"again_work");
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + target + L" /desktop=0 /group=0", work));
    std::string first = ReadFileBytes(target + L"photar64.ini");
    EXPECT_EQ(kHeader + Utf16Le(L"[Others]\r\n[Language]\r\nDLL=DEUTSCH.DLL\r\nLang=Deutsch\r\n"
                                L"[Toolbar]\r\nSkin=Mein_20.png\r\nSize=20\r\n"),
              first);

    // the second run writes into the UTF-16 file and leaves its encoding alone
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + target + L" /desktop=0 /group=0", work));
    std::wstring ini = target + L"photar64.ini";
    std::string second = ReadFileBytes(ini);
    EXPECT_EQ(0u, second.find(ConvertedHeaderLine()));
    EXPECT_EQ(1u, CountOf(second, "\xFF\xFE"));
    EXPECT_EQ(1u, CountOf(second, Utf16Le(L"UNICODE FILE")));
    EXPECT_EQ(L"Mein_20.png", ReadProfile(ini, L"Toolbar", L"Skin"));
    EXPECT_EQ(L"20", ReadProfile(ini, L"Toolbar", L"Size"));
    EXPECT_EQ(L"DEUTSCH.DLL", ReadProfile(ini, L"Language", L"DLL"));
    EXPECT_EQ(L"<missing>", ReadProfile(ini, L"Others", L"INI_Folder"));
    EXPECT_FALSE(FileExists(target + L"photar64.ini_temp"));
}

TEST(SettingsFile, SettingsFolderInApplicationData)
{
    std::wstring settings = AppData() + L"\\Photarium\\";
    RemoveTree(settings);
    std::wstring target = InstallSilently(L"appdata", L"/ini=%APPDATA%\\Photarium");
    EXPECT_EQ(kHeader + Utf16Le(L"[Language]\r\nDLL=DEUTSCH.DLL\r\nLang=Deutsch\r\n"
                                L"[Toolbar]\r\nSkin=Obsidian_24.png\r\nSize=24\r\n"),
              ReadFileBytes(settings + L"photar64.ini"));
    EXPECT_EQ(std::vector<std::wstring>{L"photar64.ini"}, ListFolder(settings));
    // the program file keeps the reference as written, in narrow text
    EXPECT_EQ("[Others]\r\nINI_Folder=%APPDATA%\\Photarium\r\n",
              ReadFileBytes(target + L"photar64.ini"));
    RemoveTree(settings);
}

TEST(SettingsFile, PortableSettingsFolderFillsTheProgramFile)
{
    std::wstring portable = FreshFolder(L"portable") + L"Photarium64_App\\Daten";
    std::wstring target = InstallSilently(L"portable_target", L"/ini=" + portable);
    EXPECT_EQ(kHeader + Utf16Le(L"[Language]\r\nDLL=DEUTSCH.DLL\r\nLang=Deutsch\r\n"
                                L"[Toolbar]\r\nSkin=Obsidian_24.png\r\nSize=24\r\n"),
              ReadFileBytes(portable + L"\\photar64.ini"));
    EXPECT_EQ("[Others]\r\nINI_Folder=" + Latin1(portable) +
                  "\r\n[Language]\r\nDefaultLang=DEUTSCH.DLL\r\nLang=Deutsch\r\n"
                  "[Toolbar]\r\nSkin=Obsidian_24.png\r\nSize=24\r\n",
              ReadFileBytes(target + L"photar64.ini"));
}

TEST(SettingsFile, HeldOpenFileStaysNarrowAndInstallationSucceeds)
{
    std::wstring target = FreshFolder(L"held") + L"Photarium\\";
    CreateDirectoryW(target.c_str(), nullptr);
    const std::string narrow = "[Toolbar]\r\nSkin=Mein_20.png\r\nSize=20\r\n";
    WriteFileBytes(target + L"photar64.ini", narrow);
    // readable, but neither writable nor replaceable while held
    HANDLE holder = CreateFileW((target + L"photar64.ini").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    std::wstring work = FreshFolder(L"held_work");
    int code = RunSetup(L"/silent /folder=" + target + L" /desktop=0 /group=0", work);
    CloseHandle(holder);
    EXPECT_EQ(0, code);
    EXPECT_FALSE(FileExists(work + L"Photarium_Install.log"));
    EXPECT_EQ(narrow, ReadFileBytes(target + L"photar64.ini"));
    EXPECT_EQ(ConvertedBytes(narrow), ReadFileBytes(target + L"photar64.ini_temp"));
}

}  // namespace
