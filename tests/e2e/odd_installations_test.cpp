// Silent runs against odd earlier installations, odd switches and settings
// files, and links planted where the elevated program writes: the user's
// bytes stay, and no broken installation exits with 0.
#include "settings_util.h"
#include "shortcut_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <functional>

namespace {

using Folder = const std::wstring&;
const wchar_t kClasses[] = L"SOFTWARE\\Classes\\Photarium";
const wchar_t kOpenCommand[] = L"SOFTWARE\\Classes\\Photarium\\shell\\open\\command";
const std::wstring kMessage5 = L"Ungültiges Zielverzeichnis!";
const std::wstring kMessage7 =
    L"Fehler beim Installieren!\n\nÜberprüfen Sie bitte ob Photarium läuft, das Zielverzeichnis "
    L"voll ist oder keine Schreibrechte vorhanden sind!\n\n(Der Installer sollte im ADMIN-Modus "
    L"gestartet werden, z.B. den Installer mit der rechten Maustaste anklicken)";
const std::wstring kTooLong =
    L"Einstellungsordner zu lang, die Einstellungen bleiben im Zielverzeichnis: ";
const std::string kHeader = "\xFF\xFE" + Utf16Le(L"; UNICODE FILE - edit with care ;-)\r\n\r\n");

// Makes (ln -s target link) or removes (rm link) a Unix symbolic link: Wine
// starts Unix programs too, and does not wait for them. Under Wine a link
// shows as its target to every Windows call.
void Unix(const std::string& command, Folder first, Folder second = L"")
{
    const std::wstring& link = second.empty() ? first : second;
    using UnixName = char* (*)(const wchar_t*);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    ASSERT_NE(nullptr, unixName);
    std::string line = command + " " + unixName(first.c_str());
    if (!second.empty())
        line += std::string(" ") + unixName(second.c_str());
    RunProgram(std::wstring(line.begin(), line.end()));
    for (int i = 0; i < 50 && FileExists(link) == second.empty(); ++i)
        Sleep(100);
    ASSERT_NE(second.empty(), FileExists(link)) << line;
}

std::wstring AppDataSettings()
{
    return ShellFolder(CSIDL_APPDATA) + L"Photarium\\";
}

struct OddRun {
    const char* fault;
    std::function<void(Folder dir)> before;
    std::wstring arguments;  // "@" stands for the run's own folder
    int exit;
    std::wstring startLog;  // the one entry of the start folder's log, if any
    std::function<void(Folder dir)> after;
    bool settingsInTarget = false;  // converted there, naming no other folder
};

const OddRun kRuns[] = {
    {"UTF-16 settings file without a mark",
     [](Folder d) {
         CreateDirectoryW((d + L"Ex").c_str(), nullptr);
         WriteFileBytes(d + L"Ex\\photar64.ini",
                        Utf16Le(L"[General]\r\nUser=Jürgen\r\n[Toolbar]\r\nSkin=MySkin.png\r\n"));
     },
     L"/folder=@Ex", 0, L"",
     [](Folder d) {
         std::wstring ini = d + L"Ex\\photar64.ini";
         EXPECT_EQ(0u, ReadFileBytes(ini).find("\xFF\xFE" + Utf16Le(L"[General]\r\nUser=J")));
         EXPECT_EQ(L"Jürgen", ReadProfile(ini, L"General", L"User"));
         EXPECT_EQ(L"MySkin.png", ReadProfile(ini, L"Toolbar", L"Skin"));
         EXPECT_EQ(L"DEUTSCH.DLL", ReadProfile(ini, L"Language", L"DLL"));
     }},
    {"UTF-8 settings file with a mark",
     [](Folder d) {
         CreateDirectoryW((d + L"Ex").c_str(), nullptr);
         WriteFileBytes(d + L"Ex\\photar64.ini", "\xEF\xBB\xBF[General]\r\nUser=J\xC3\xBCrgen\r\n");
     },
     L"/folder=@Ex", 0, L"",
     [](Folder d) {
         std::wstring ini = d + L"Ex\\photar64.ini";
         EXPECT_EQ(0u, ReadFileBytes(ini).find(kHeader.substr(0, kHeader.size() - 4)));
         EXPECT_EQ(L"Jürgen", ReadProfile(ini, L"General", L"User"));
         EXPECT_EQ(L"Deutsch", ReadProfile(ini, L"Language", L"Lang"));
     }},
    {"blank before an inner backslash", nullptr, L"/folder=@My Apps \\Photarium /desktop=1", 0,
     L"",
     [](Folder d) {
         std::wstring viewer = d + L"My Apps\\Photarium\\photar64.exe";
         EXPECT_TRUE(FileExists(viewer));
         EXPECT_EQ(L"\"" + viewer + L"\" \"%1\"", ReadRegText(HKEY_LOCAL_MACHINE, kOpenCommand));
         EXPECT_EQ(L"Deutsch", ReadProfile(d + L"My Apps\\Photarium\\photar64.ini", L"Language", L"Lang"));
         ShortcutFields link;
         ASSERT_TRUE(ReadShortcut(ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"Photarium 64.lnk", &link));
         EXPECT_EQ(viewer, link.target);
     }},
    {"relative folder", nullptr, L"/folder=rel\\dir", 1, kMessage5 + L": rel\\dir\n",
     [](Folder d) { EXPECT_FALSE(FolderExists(d + L"rel")); }},
    {"expandable earlier registration",
     [](Folder d) {
         SetEnvironmentVariableW(L"PHOTAR_TEST_PF", d.c_str());
         std::wstring value = L"\"%PHOTAR_TEST_PF%Alt\\photar64.exe\" \"%1\"";
         RegSetKeyValueW(HKEY_LOCAL_MACHINE, kOpenCommand, nullptr, REG_EXPAND_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
     },
     L"", 0, L"",
     [](Folder d) {
         EXPECT_TRUE(FileExists(d + L"Alt\\photar64.exe"));
         EXPECT_EQ(L"\"" + d + L"Alt\\photar64.exe\" \"%1\"",
                   ReadRegText(HKEY_LOCAL_MACHINE, kOpenCommand));
     }},
    {"earlier registration naming no folder",
     [](Folder d) {
         SetRegText(HKEY_LOCAL_MACHINE, kOpenCommand, L"", L"\"photar64.exe\" \"%1\"");
         SetRegText(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                    L"ProgramFilesDir", d + L"pf");
     },
     L"", 0, L"", [](Folder d) { EXPECT_TRUE(FileExists(d + L"pf\\Photarium\\photar64.exe")); }},
    {"settings folder of nothing but a percent sign", nullptr, L"/folder=@T /ini=%", 0, L"", nullptr,
     true},
    {"settings folder of undefined references", nullptr, L"/folder=@T /ini=%NOPE_A%%NOPE_B%", 0,
     L"", nullptr, true},
    {"settings folder too long for its file", nullptr,
     L"/folder=@T /ini=C:\\ptest\\" + std::wstring(240, L'x'), 0, L"",
     [](Folder d) {
         EXPECT_FALSE(FolderExists(L"C:\\ptest\\" + std::wstring(240, L'x')));
         EXPECT_EQ(std::vector<std::string>{Latin1(kTooLong + L"C:\\ptest\\" +
                                                   std::wstring(240, L'x') + L"\n")},
                   InstallLogTexts(d + L"T\\"));
     },
     true},
    {"settings folder from a variable too long",
     [](Folder d) {
         std::wstring value = d + L"y";
         while (value.size() < 2002)
             value += L"\\y";
         SetEnvironmentVariableW(L"PHOTAR_TEST_LONG", value.c_str());
     },
     L"/folder=@T /ini=%PHOTAR_TEST_LONG%", 0, L"",
     [](Folder d) {
         EXPECT_FALSE(FolderExists(d + L"y"));
         EXPECT_EQ(std::vector<std::string>{Latin1(kTooLong + L"%PHOTAR_TEST_LONG%\n")},
                   InstallLogTexts(d + L"T\\"));
     },
     true},
    {"drive root", nullptr, L"/folder=C:", 1, kMessage5 + L": C:\n", nullptr},
    {"drive root before a slash", nullptr, L"/folder=C:/Fwd/Slash", 1, kMessage5 + L": C:\n",
     [](Folder) { EXPECT_FALSE(FileExists(L"C:\\photar64.exe")); }},
    {"folder in the viewer's place",
     [](Folder d) { CreateDirectoryW((d + L"T").c_str(), nullptr);
                    CreateDirectoryW((d + L"T\\photar64.exe").c_str(), nullptr); },
     L"/folder=@T", 1, L"",
     [](Folder d) {
         EXPECT_EQ(std::vector<std::string>{Latin1(d + L"T\\: " + kMessage7 + L"\n")},
                   InstallLogTexts(d + L"T\\"));
     }},
    {"link at the log's name",
     [](Folder d) {
         WriteFileBytes(d + L"victim.txt", "fremd");
         Unix("/bin/ln -s", d + L"victim.txt", d + L"Photarium_Install.log");
     },
     L"/folder=", 1, L"", [](Folder d) { EXPECT_EQ("fremd", ReadFileBytes(d + L"victim.txt")); }},
    {"link at the settings file's name outside the target",
     [](Folder d) {
         WriteFileBytes(d + L"victim.ini", "[Fremd]\r\nx=1\r\n");
         CreateDirectoryW(AppDataSettings().c_str(), nullptr);
         Unix("/bin/ln -s", d + L"victim.ini", AppDataSettings() + L"photar64.ini");
     },
     L"/folder=@T /ini=%APPDATA%\\Photarium", 0, L"",
     [](Folder d) {
         EXPECT_EQ("[Fremd]\r\nx=1\r\n", ReadFileBytes(d + L"victim.ini"));
         EXPECT_EQ(std::vector<std::wstring>{L"photar64.ini"}, ListFolder(AppDataSettings()));
         Unix("/bin/rm", AppDataSettings() + L"photar64.ini");
     }},
};

TEST(OddInstallations, SilentRuns)
{
    int index = 0;
    for (const OddRun& run : kRuns) {
        SCOPED_TRACE(run.fault);
        DeleteRegTree(HKEY_LOCAL_MACHINE, kClasses);
        std::wstring dir = FreshFolder(L"odd" + std::to_wstring(index++));
        if (run.before)
            run.before(dir);
        std::wstring arguments = L"/silent " + run.arguments;
        for (size_t at; (at = arguments.find(L'@')) != std::wstring::npos;)
            arguments.replace(at, 1, dir);
        EXPECT_EQ(run.exit, RunSetup(arguments, dir));
        if (!run.startLog.empty()) {
            EXPECT_EQ(std::vector<std::string>{Latin1(run.startLog)}, InstallLogTexts(dir));
        }
        EXPECT_EQ(run.exit == 0, RegKeyExists(HKEY_LOCAL_MACHINE, kClasses));
        if (run.settingsInTarget) {
            std::wstring ini = dir + L"T\\photar64.ini";
            EXPECT_EQ(0u, ReadFileBytes(ini).find(kHeader + Utf16Le(L"[Language]\r\n")));
            EXPECT_EQ(L"<missing>", ReadProfile(ini, L"Others", L"INI_Folder"));
        }
        if (run.after)
            run.after(dir);
    }
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_FALSE(FileExists(std::wstring(windows) + L"\\photar64.ini"));
}

}  // namespace
