// Silent runs against odd earlier installations, switches and settings files,
// and links planted where the elevated program writes: the user's bytes stay,
// and no broken installation exits with 0.
#include "registration_checks.h"
#include "settings_util.h"
#include "shortcut_util.h"
#include "messages.h"
#include "wine_test_util.h"
#include "wizard_fixture.h"
#include "zip_builder.h"

#include "register/registration_texts.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

using Folder = const std::wstring&;
const wchar_t kClasses[] = L"SOFTWARE\\Classes\\Photarium";
const wchar_t kOpenCommand[] = L"SOFTWARE\\Classes\\Photarium\\shell\\open\\command";
const std::wstring kInvalid = std::wstring(kMessage5) + L": ";
const std::wstring kLongFolder = L"C:\\ptest\\" + std::wstring(240, L'x');

const std::wstring kCutFolder = L"C:\\ptest\\" + std::wstring(209, L'w'), kBlanks(40, L' ');

void MakeFolder(Folder path) { CreateDirectoryW(path.c_str(), nullptr); }

// a plain run uses the program files of its own folder, unless it finds the earlier installation
void ProgramFilesHere(Folder d)
{
    SetRegText(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir", d + L"pf");
}
void NothingInProgramFiles(Folder d) { EXPECT_FALSE(FolderExists(d + L"pf")); }

std::string Shipped(const char* name)
{
    for (const ArchiveEntry& entry : ProductEntries())
        if (entry.name == name)
            return entry.data;
    return "<not shipped>";
}

// An earlier installation's viewer, and a file outside the target at @victim.txt.
void Earlier(Folder d)
{
    MakeFolder(d + L"T");
    WriteFileBytes(d + L"T\\photar64.exe", "alte Version");
    WriteFileBytes(d + L"victim.txt", "fremd");
}

std::vector<std::string> Log(const std::wstring& text) { return {Latin1(text + L"\n")}; }

// the user's keys of a settings file in another encoding, readable beside the installer's
void UserKeysStay(Folder d)
{
    std::wstring ini = d + L"T\\photar64.ini";
    EXPECT_EQ(0u, ReadFileBytes(ini).find("\xFF\xFE"));
    EXPECT_EQ(L"Jürgen", ReadProfile(ini, L"General", L"User"));
    EXPECT_EQ(L"DEUTSCH.DLL", ReadProfile(ini, L"Language", L"DLL"));
}

struct OddRun {
    const char* fault;
    std::function<void(Folder dir)> before;
    std::wstring arguments;  // "@" stands for the run's own folder, where it starts
    int exit;
    std::wstring log;        // the one entry of the log in "@" + logFolder
    std::wstring logFolder;
    std::function<void(Folder dir)> after;
    bool settingsInTarget = false;  // @T\photar64.ini converted, naming no other folder
    std::wstring earlier = L"";  // installed into first; a refused or plain run leaves it registered
    std::vector<std::wstring> notReplaced = {};  // below @T\, named in the log ahead of log
    const wchar_t* account = nullptr;  // the tests' build forced into "system", "other" or "user"
    const wchar_t* link = nullptr;  // in that build: "OWNER NAME", folders of that name OWNER's junctions
};

const wchar_t kUserChoiceJpg[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.jpg\\UserChoice";
const std::wstring kAccountSwitches = L"/folder=@T /assoc=1 /desktop=1 /group=1 /ini=%APPDATA%\\Photarium";
// marks on every user choice, Windows 10 (which gets the store-app marks)
void MarkedWindows10(Folder) { ResetRegistrationState(); SetWineWindowsVersion(L"win10"); }

const std::wstring kScripts = L"[Recent]\r\nFile1=C:\\Bilder\\\u4E00\u6708\\a.jpg\r\n[Toolbar]\r\n"
    L"Skin=Mine.png\r\n[\u0410\u043D\u0441\u0438\u0447\u0442]\r\nRahmen=\u250C\u2500\u2510 \u0395\u03B9\r\n";
// @T\photar64.ini of bytes; after the run text in UTF-16LE and the installer's keys, readable
OddRun SettingsRun(const char* fault, const std::string& bytes, const std::wstring& text)
{
    return {fault, [=](Folder d) { MakeFolder(d + L"T"); WriteFileBytes(d + L"T\\photar64.ini", bytes); },
            L"/folder=@T", 0, L"", L"", [=](Folder d) {
                EXPECT_NE(std::string::npos, ReadFileBytes(d + L"T\\photar64.ini").find(Utf16Le(text)));
                EXPECT_EQ(L"Deutsch", ReadProfile(d + L"T\\photar64.ini", L"Language", L"Lang"));
            }};
}

const OddRun kRuns[] = {
    {"UTF-16 settings file without a mark",
     [](Folder d) {
         MakeFolder(d + L"T");
         WriteFileBytes(d + L"T\\photar64.ini",
                        Utf16Le(L"[General]\r\nUser=Jürgen\r\n[Toolbar]\r\nSkin=MySkin.png\r\n"));
     },
     L"/folder=@T", 0, L"", L"",
     [](Folder d) {
         UserKeysStay(d);
         EXPECT_EQ(L"MySkin.png", ReadProfile(d + L"T\\photar64.ini", L"Toolbar", L"Skin"));
     }},
    {"UTF-8 settings file with a mark",
     [](Folder d) {
         MakeFolder(d + L"T");
         WriteFileBytes(d + L"T\\photar64.ini", "\xEF\xBB\xBF[General]\r\nUser=J\xC3\xBCrgen\r\n");
     },
     L"/folder=@T", 0, L"", L"", UserKeysStay},
    SettingsRun("UTF-16 without a mark, several scripts", Utf16Le(kScripts), kScripts),
    SettingsRun("UTF-16 big-endian",
                std::string("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=N\0\0\r\0\n\0[\0B\0]\0\r\0\n\0m\0=\0v", 38),
                L"[A]\r\nk=\u4E00\r\n[B]\r\nm=v"),
    SettingsRun("zero byte in narrow text that the profile functions leave alone",
                std::string("[A]\r\nN=Jo\0hn\r\nC=b\r\n[Language]\r\nDLL=DEUTSCH.DLL\r\n", 48) +
                    "Lang=Deutsch\r\n[Toolbar]\r\nSkin=M\r\n", L"\r\n[A]\r\nN=John\r\nC=b\r\n"),
    SettingsRun("zero byte in UTF-8", std::string("\xEF\xBB\xBF[A]\r\nN=J\xC3\xBC\0rg\r\nC=b", 21),
                L"N=J\u00FCrg\r\nC=b"),
    SettingsRun("UTF-16 big-endian without a mark", Utf16Be(kScripts), kScripts),
    SettingsRun("UTF-16 without a mark, a first line of 2,100 CJK characters",
                Utf16Le(std::wstring(2100, L'\u6708') + L"\r\n" + kScripts), kScripts),
    SettingsRun("UTF-16 without a mark, a comment of 4,096 bytes",
                Utf16Le(L";" + std::wstring(2047, L'\u6708') + L"\r\n" + kScripts), kScripts),
    SettingsRun("narrow text with two line-leading zero bytes",
                std::string("[A]\r\n\0k=v\r\n\0m=w\r\n", 18), L"[A]\r\nk=v\r\nm=w\r\n"),
    SettingsRun("narrow text with zero runs after line ends",
                std::string("[A]\r\nk=v\r\n\0\0\0\0\0m=w\r\n[B]\r\n\0\0n=x\r\n", 32),
                L"[A]\r\nk=v\r\nm=w\r\n[B]\r\nn=x\r\n"),
    {"settings folder of letters outside the code page", nullptr, L"/folder=@T /ini=@\u0141ukasz\\\u7167\u7247", 0,
     L"", L"", [](Folder d) {
         EXPECT_EQ(d + L"\u0141ukasz\\\u7167\u7247", ReadProfile(d + L"T\\photar64.ini", L"Others", L"INI_Folder"));
         EXPECT_EQ(L"Deutsch", ReadProfile(d + L"\u0141ukasz\\\u7167\u7247\\photar64.ini", L"Language", L"Lang"));
     }},
    {"blank before an inner backslash", nullptr, L"/folder=@My Apps \\T /desktop=1", 0, L"", L"",
     [](Folder d) {
         EXPECT_EQ(L"Deutsch", ReadProfile(d + L"My Apps\\T\\photar64.ini", L"Language", L"Lang"));
         ShortcutFields link;
         EXPECT_TRUE(ReadShortcut(ShellFolder(CSIDL_DESKTOPDIRECTORY) + L"Photarium 64.lnk", &link));
         EXPECT_EQ(d + L"My Apps\\T\\photar64.exe", link.target);
     }},
    {"relative folder", nullptr, L"/folder=rel\\dir", 1, kInvalid + L"rel\\dir", L"",
     [](Folder d) { EXPECT_FALSE(FolderExists(d + L"rel")); }},
    {"drive root", nullptr, L"/folder=C:", 1, kInvalid + L"C:", L"", nullptr},
    {"drive root before a slash", nullptr, L"/folder=C:/Fwd/Slash", 1, kInvalid + L"C:", L"",
     [](Folder) { EXPECT_FALSE(FileExists(L"C:\\photar64.exe")); }},
    {"quoted folder cut short by a slash", nullptr, L"/folder=\"@Program Files/Photarium\"", 1,
     kInvalid + L"\"@Program Files", L"",
     [](Folder d) { EXPECT_FALSE(FileExists(d + L"Program Files\\photar64.exe")); }},
    {"expandable earlier registration",
     [](Folder d) {
         SetEnvironmentVariableW(L"PHOTAR_TEST_PF", d.c_str());
         std::wstring value = L"\"%PHOTAR_TEST_PF%T\\photar64.exe\" \"%1\"";
         RegSetKeyValueW(HKEY_LOCAL_MACHINE, kOpenCommand, nullptr, REG_EXPAND_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
     },
     L"", 0, L"", L"", [](Folder d) { EXPECT_TRUE(FileExists(d + L"T\\photar64.exe")); }},
    {"earlier registration naming no folder",
     [](Folder d) {
         SetRegText(HKEY_LOCAL_MACHINE, kOpenCommand, L"", L"\"photar64.exe\" \"%1\"");
         SetRegText(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                    L"ProgramFilesDir", d + L"pf");
     },
     L"", 0, L"", L"",
     [](Folder d) { EXPECT_TRUE(FileExists(d + L"pf\\Photarium\\photar64.exe")); }},
    {"settings folder of a percent sign", nullptr, L"/folder=@T /ini=%", 0, L"", L"", nullptr, true},
    {"settings folder of undefined references", nullptr, L"/folder=@T /ini=%NOPE_A%%NOPE_B%", 0,
     L"", L"", nullptr, true},
    {"settings folder too long for its file", nullptr, L"/folder=@T /ini=" + kLongFolder, 0,
     kTooLong + kLongFolder, L"T\\", [](Folder) { EXPECT_FALSE(FolderExists(kLongFolder)); }, true},
    {"settings folder from a variable too long",
     [](Folder d) {
         std::wstring value = d + L"y";
         while (value.size() < 2002)
             value += L"\\y";
         SetEnvironmentVariableW(L"PHOTAR_TEST_LONG", value.c_str());
     },
     L"/folder=@T /ini=%PHOTAR_TEST_LONG%", 0, kTooLong + L"%PHOTAR_TEST_LONG%", L"T\\",
     [](Folder d) { EXPECT_FALSE(FolderExists(d + L"y")); }, true},
    {"settings folder that is a file", [](Folder d) { WriteFileBytes(d + L"afile", "x"); },
     L"/folder=@T /ini=@afile", 0, kTooLong + L"@afile", L"T\\", nullptr, true},
    {"folder in the viewer's place",
     [](Folder d) { MakeFolder(d + L"T"); MakeFolder(d + L"T\\photar64.exe"); },
     L"/folder=@T", 1, std::wstring(L"@T\\: ") + kMessage7, L"T\\", nullptr, false, L"", {L"photar64.exe"}},
    {"/folder= cut by the switch window", nullptr, L"/folder=" + kBlanks + kCutFolder, 1,
     kInvalid + kBlanks + kCutFolder.substr(0, 212), L"",
     [](Folder) { EXPECT_FALSE(FolderExists(kCutFolder.substr(0, 212)) || FolderExists(kCutFolder)); }, false, L"@E"},
    {"/folder= cut by the 519th character", nullptr, L"#/folder=@T", 1, kInvalid + L"C:\\pte", L"",
     [](Folder d) { EXPECT_FALSE(FolderExists(L"C:\\pte") || FolderExists(d + L"T")); }, false, L"@E"},
    {"/ini= cut by the switch window", nullptr, L"/folder=@T /ini=" + kBlanks + kCutFolder + L"www", 0,
     kTooLong + kBlanks + kCutFolder.substr(0, 215), L"T\\",
     [](Folder) { EXPECT_FALSE(FolderExists(kCutFolder.substr(0, 215))); }, true},
    {"/ini= cut by the 519th character", nullptr, L"/folder=@T #/ini=@S", 0, kTooLong + L"C:\\ptest\\",
     L"T\\", [](Folder d) { EXPECT_FALSE(FileExists(L"C:\\ptest\\photar64.ini") || FolderExists(d + L"S")); }, true},
    {"earlier installation in the longest folder", ProgramFilesHere, L"", 0, L"", L"", NothingInProgramFiles, false,
     L"C:\\ptest\\" + std::wstring(kMaxInstallFolderChars - 10, L'e')},
    {"share root in the long-path form", nullptr, L"/folder=\\\\?\\UNC\\srv\\share", 1,
     kInvalid + L"\\\\?\\UNC\\srv\\share", L"", nullptr, false, L"@E"},
    {"volume in the long-path form", nullptr, L"/folder=\\\\?\\Volume{0b1e2d3c-1111-2222-3333-444455556666}\\Ph", 1,
     kInvalid + L"\\\\?\\Volume{0b1e2d3c-1111-2222-3333-444455556666}\\Ph", L"", nullptr, false, L"@E"},
    {"link at the log's name",
     [](Folder d) {
         WriteFileBytes(d + L"victim.txt", "fremd");
         ASSERT_TRUE(SetUnixLink(d + L"Photarium_Install.log", d + L"victim.txt"));
     },
     L"/folder=", 1, L"", L"T\\",
     [](Folder d) { EXPECT_EQ("fremd", ReadFileBytes(d + L"victim.txt")); }},
    {"link at the settings file's name outside the target",
     [](Folder d) {
         WriteFileBytes(d + L"victim.ini", "[Fremd]\r\nx=1\r\n");
         MakeFolder(ShellFolder(CSIDL_APPDATA) + L"Photarium");
         ASSERT_TRUE(SetUnixLink(ShellFolder(CSIDL_APPDATA) + L"Photarium\\photar64.ini",
                                 d + L"victim.ini"));
     },
     L"/folder=@T /ini=%APPDATA%\\Photarium", 0, kTooLong + L"%APPDATA%\\Photarium", L"T\\",
     [](Folder d) {
         std::wstring settings = ShellFolder(CSIDL_APPDATA) + L"Photarium\\";
         EXPECT_EQ("[Fremd]\r\nx=1\r\n", ReadFileBytes(d + L"victim.ini"));
         EXPECT_EQ(std::vector<std::wstring>{L"photar64.ini"}, ListFolder(settings));
         EXPECT_TRUE(SetUnixLink(settings + L"photar64.ini", L""));
     }},
    {"link and second name of another file at entry names",
     [](Folder d) {
         Earlier(d);
         ASSERT_TRUE(SetUnixLink(d + L"T\\p_about.txt", d + L"victim.txt"));
         CreateHardLinkW((d + L"T\\p_changes.txt").c_str(), (d + L"victim.txt").c_str(), nullptr);
     },
     L"/folder=@T", 0, L"", L"T\\",
     [](Folder d) {
         EXPECT_EQ("fremd", ReadFileBytes(d + L"victim.txt"));
         EXPECT_TRUE(Shipped("p_about.txt") == ReadFileBytes(d + L"T\\p_about.txt"));
         EXPECT_TRUE(Shipped("p_changes.txt") == ReadFileBytes(d + L"T\\p_changes.txt"));
     }},
    {"link to a folder at an entry's name, a folder that is a link",
     [](Folder d) {
         Earlier(d);
         MakeFolder(d + L"out");
         WriteFileBytes(d + L"out\\x", "fremd");
         ASSERT_TRUE(SetUnixLink(d + L"T\\p_about.txt", d + L"out"));
         ASSERT_TRUE(SetUnixLink(d + L"T\\Help", d + L"out"));
     },
     L"/folder=@T", 1, L"@T\\: " + std::wstring(kMessage7), L"T\\",
     [](Folder d) {
         EXPECT_EQ(std::vector<std::wstring>{L"x"}, ListFolder(d + L"out\\"));
         EXPECT_EQ("alte Version", ReadFileBytes(d + L"T\\photar64.exe"));
     },
     false, L"", {L"Help\\photar32_deutsch.chm", L"p_about.txt"}},
    {"desktop user's per-user places", MarkedWindows10, kAccountSwitches, 0, L"", L"T\\",
     [](Folder d) {
         ExpectDesktopShortcuts(d + L"T\\", false, true, false);
         ExpectGroupShortcuts(d + L"T\\", false, false);
         ExpectStoreAppMarks(true);
         // Windows 10 keeps the user's choice itself, whoever runs us
         EXPECT_EQ(L"Fremd.jpg", ReadRegText(HKEY_CURRENT_USER, kUserChoiceJpg, L"Progid"));
         EXPECT_EQ(L"%APPDATA%\\Photarium", ReadProfile(d + L"T\\photar64.ini", L"Others", L"INI_Folder"));
     }, false, L"", {}, L"user"},
    {"system account: no user's places", MarkedWindows10, kAccountSwitches, 0,
     kOtherAccount + L"%APPDATA%\\Photarium", L"T\\",
     [](Folder d) {
         ExpectDesktopShortcuts(d + L"T\\", true, true, false);
         ExpectDesktopShortcuts(d + L"T\\", false, false, false);
         ExpectGroupShortcuts(d + L"T\\", true, false);
         EXPECT_FALSE(FolderExists(GroupFolder(false)));
         ExpectStoreAppMarks(false);
         EXPECT_EQ(ForeignProgId(L"jpg"), ReadRegText(HKEY_CURRENT_USER, kUserChoiceJpg, L"Progid"));
         EXPECT_EQ(L"Photarium.jpg", ReadRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\.jpg"));
         SetWineWindowsVersion(L"win7");
     }, true, L"", {}, L"system"},
    {"another account keeps a settings folder outside its profile", nullptr, L"/folder=@T /desktop=1 /ini=@S", 0,
     L"", L"T\\", [](Folder d) {
         ExpectDesktopShortcuts(d + L"T\\", true, true, false);
         EXPECT_EQ(d + L"S", ReadProfile(d + L"T\\photar64.ini", L"Others", L"INI_Folder"));
     }, false, L"", {}, L"other"},
    {"junction a standard user planted on the way", [](Folder d) { MakeFolder(d + L"J"); }, L"/folder=@J\\T", 1,
     kMessage11 + std::wstring(L": @J\\T"), L"", [](Folder d) { EXPECT_TRUE(ListFolder(d + L"J\\").empty()); },
     false, L"", {}, L"user", L"S-1-5-21-1-2-3-1001 J"},
    {"junction an administrator made on the way", [](Folder d) { MakeFolder(d + L"J"); }, L"/folder=@J\\T", 0,
     L"", L"J\\T\\", [](Folder d) { EXPECT_TRUE(Shipped("photar64.exe") == ReadFileBytes(d + L"J\\T\\photar64.exe")); },
     false, L"", {}, L"user", L"BA J"},
    {"/log= in a new folder", nullptr, L"/folder=@T /log=@L\\neu\\Photarium_Install.log", 0, L"", L"T\\",
     [](Folder d) { EXPECT_EQ(Log(kInstalledIn + d + L"T\\"), InstallLogTexts(d + L"L\\neu\\")); }},
    {"/log= on a failure", nullptr, L"/folder=rel\\dir /log=@L\\Photarium_Install.log", 1, L"", L"", [](Folder d) {
         EXPECT_EQ((std::vector<std::string>{Log(kInvalid + L"rel\\dir")[0], Log(kNotInstalled + L"1")[0]}),
                   InstallLogTexts(d + L"L\\"));
     }},
    {"/log= in a folder that is a link",
     [](Folder d) { MakeFolder(d + L"real"); ASSERT_TRUE(SetUnixLink(d + L"L", d + L"real")); },
     L"/folder=@T /log=@L\\Photarium_Install.log", 0, kLogUnusable + L"@L\\Photarium_Install.log", L"",
     [](Folder d) { EXPECT_TRUE(ListFolder(d + L"real\\").empty() && SetUnixLink(d + L"L", L"")); }},
    {"/log= cut by the switch window", nullptr, L"/folder=@T /log=%PHOTAR_TEST_LOG%" + std::wstring(250, L'l'),
     0, kLogUnusable + L"%PHOTAR_TEST_LOG%" + std::wstring(238, L'l'), L"", nullptr},
    {"files at the product's folder names, a new installation",
     [](Folder d) {
         MakeFolder(d + L"T");
         WriteFileBytes(d + L"T\\Help", "fremd");
         WriteFileBytes(d + L"T\\Html", "fremd");
     },
     L"/folder=@T", 1, L"@T\\: " + std::wstring(kMessage7), L"T\\",
     [](Folder d) {
         EXPECT_EQ((std::vector<std::wstring>{L"Help", L"Html", L"Photarium_Install.log"}), ListFolder(d + L"T"));
         EXPECT_EQ("fremd", ReadFileBytes(d + L"T\\Html"));
     },
     false, L"", {L"Help\\photar32_deutsch.chm", L"Html\\slideshow.htm", L"Html\\thumbnail.htm"}},
    {"leftovers deep below a target of 225 characters, a user's file named like one",
     [](Folder d) {
         const std::wstring t = L"\\\\?\\" + d + std::wstring(209, L'd') + L"\\";
         MakeFolder(t);
         MakeFolder(t + L"Toolbars");
         WriteFileBytes(t + L"Toolbars\\Quartz_16.png.~ph0123456789abcdef", "halb");
         WriteFileBytes(t + L"Toolbars\\Quartz_16.png.~ph0123456789abcdef.alt", "alt");
         WriteFileBytes(t + L"Meine Fotos.jpg.~ph0123456789abcdef", "meins");
     },
     L"/folder=@" + std::wstring(209, L'd'), 0, L"", L"",
     [](Folder d) {
         const std::wstring t = L"\\\\?\\" + d + std::wstring(209, L'd') + L"\\";
         for (const std::wstring& name : ListFolder(t + L"Toolbars"))
             EXPECT_EQ(std::wstring::npos, name.find(L".~ph")) << Latin1(name);
         EXPECT_TRUE(Shipped("Toolbars/Quartz_16.png") == ReadFileBytes(t + L"Toolbars\\Quartz_16.png"));
         EXPECT_EQ("meins", ReadFileBytes(t + L"Meine Fotos.jpg.~ph0123456789abcdef"));
     }},
    {"fresh files a killed run left",
     [](Folder d) {
         Earlier(d);
         MakeFolder(d + L"T\\Plugins");
         WriteFileBytes(d + L"T\\photar64.exe.~ph0123456789abcdef", "halb");
         WriteFileBytes(d + L"T\\Plugins\\Icons.dll.~phfedcba9876543210", "halb");
         WriteFileBytes(d + L"T\\notes.~ph0123", "bleibt");
         ASSERT_TRUE(SetUnixLink(d + L"T\\p_about.txt.~ph00000000000000aa", d + L"victim.txt"));
     },
     L"/folder=@T", 0, L"", L"T\\",
     [](Folder d) {
         EXPECT_EQ("fremd", ReadFileBytes(d + L"victim.txt"));
         EXPECT_EQ("bleibt", ReadFileBytes(d + L"T\\notes.~ph0123"));
         EXPECT_FALSE(FileExists(d + L"T\\photar64.exe.~ph0123456789abcdef"));
         EXPECT_FALSE(FileExists(d + L"T\\Plugins\\Icons.dll.~phfedcba9876543210"));
         EXPECT_TRUE(Shipped("photar64.exe") == ReadFileBytes(d + L"T\\photar64.exe"));
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
        std::wstring arguments = L"/silent " + run.arguments, log = run.log, earlier = run.earlier;
        for (std::wstring* text : {&arguments, &log, &earlier})
            for (size_t at; (at = text->find(L'@')) != std::wstring::npos;)
                text->replace(at, 1, dir);
        // "#" pads the line so that what follows it starts at its 506th character
        size_t pad = arguments.find(L'#'), used = SetupExePath().size() + 3 + pad;
        if (pad != std::wstring::npos)
            arguments.replace(pad, 1, std::wstring(505 - used, L' '));
        if (!earlier.empty()) {
            EXPECT_EQ(0, RunSetup(L"/silent /folder=" + earlier, dir));
        }
        SetEnvironmentVariableW(L"PHOTARIUM_TEST_ACCOUNT", run.account);
        SetEnvironmentVariableW(L"PHOTARIUM_TEST_LINK", run.link);
        std::wstring program = run.account ? TestDataPath("accounts/photar64_setup.exe") : SetupExePath();
        EXPECT_EQ(run.exit, RunProgram(L"\"" + program + L"\" " + arguments, dir));
        std::vector<std::string> logged;
        for (const std::wstring& name : run.notReplaced)
            logged.push_back(Log(kNotReplaced + dir + L"T\\" + name)[0]);
        if (!log.empty())
            logged.push_back(Log(log)[0]);
        EXPECT_EQ(logged, InstallLogTexts(dir + run.logFolder));
        EXPECT_EQ(run.exit == 0 || !earlier.empty(), RegKeyExists(HKEY_LOCAL_MACHINE, kClasses));
        std::wstring command = ReadRegText(HKEY_LOCAL_MACHINE, kOpenCommand);
        if (run.exit == 0 || !earlier.empty()) {  // the registered viewer is there
            EXPECT_TRUE(FileExists(command.substr(1, command.find(L'"', 1) - 1))) << command;
        }
        if (!earlier.empty() && (run.exit != 0 || run.arguments.empty())) {
            EXPECT_EQ(L"\"" + earlier + L"\\photar64.exe\" \"%1\"", command);
        }
        if (run.settingsInTarget) {
            EXPECT_EQ(0u, ReadFileBytes(dir + L"T\\photar64.ini").find(ConvertedHeaderLine()));
            EXPECT_EQ(L"<missing>", ReadProfile(dir + L"T\\photar64.ini", L"Others", L"INI_Folder"));
        }
        if (run.after)
            run.after(dir);
    }
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_FALSE(FileExists(std::wstring(windows) + L"\\photar64.ini"));
}

// A second process puts a link to a file outside in place of the settings file from the
// end of the unpacking on: a hard link by a Windows rename, or a Unix link made at the
// name once a Windows rename freed it (Windows calls under Wine see through Unix links).
TEST(OddInstallations, SettingsFileSwappedForALinkIsNotWrittenThrough)
{
    std::wstring dir = FreshFolder(L"swap"), target = dir + L"T\\", ini = target + L"photar64.ini";
    std::wstring side = ini + L".neu", victim = dir + L"victim.ini";
    std::atomic<int> swaps[2] = {};
    MakeFolder(target);
    for (int run = 0; run < 16; ++run) {
        bool symbolic = run % 2 == 0;
        WriteFileBytes(victim, "[Fremd]\r\nx=1\r\n");
        WriteFileBytes(ini, "[A]\r\nk=v\r\n");
        DeleteFileW((target + L"photar64.exe").c_str());
        std::atomic<bool> done{false};
        std::thread swapper([&] {
            while (!done && !FileExists(target + L"photar64.exe")) {}
            while (!done) {
                DeleteFileW(side.c_str());
                WriteFileBytes(side, "[A]\r\nk=v\r\n");
                if (!MoveFileExW(side.c_str(), ini.c_str(), MOVEFILE_REPLACE_EXISTING))
                    continue;
                swaps[symbolic] +=
                    symbolic ? MoveFileExW(ini.c_str(), side.c_str(), 0) && SetUnixLink(ini, victim, false)
                             : CreateHardLinkW(side.c_str(), victim.c_str(), nullptr) &&
                                   MoveFileExW(side.c_str(), ini.c_str(), MOVEFILE_REPLACE_EXISTING);
            }
        });
        EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target, dir));
        done = true;
        swapper.join();
        EXPECT_EQ("[Fremd]\r\nx=1\r\n", ReadFileBytes(victim)) << run;
        SetUnixLink(ini, L"");  // a Unix link or a second name of the victim: the name alone goes
        DeleteFileW(side.c_str());
    }
    EXPECT_TRUE(swaps[0] > 0 && swaps[1] > 0);
}

// The finish page starts the viewer from the folder as it was created.
TEST_F(WizardTest, BlankBeforeAnInnerBackslashStartsTheInstalledViewer)
{
    ASSERT_NE(nullptr, StartWizard());
    SetText(Item(IDC_TARGET_FOLDER), L"C:\\ptest\\wizard\\My Apps \\T");
    ASSERT_TRUE(GoTo(1) && GoTo(2) && GoTo(3));
    PressNext(sheet_);
    ASSERT_TRUE(WaitForPage(sheet_, 4));
    Click(Item(IDC_SHOW_FAQ));
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(Item(IDC_SHOW_FAQ)); }, kLongWait));
    Click(Button(IDCANCEL));
    HWND viewer = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (viewer = FindWindowW(L"Photarium", nullptr)) != nullptr; },
                          kLongWait));
    DWORD id = 0, size = MAX_PATH;
    GetWindowThreadProcessId(viewer, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, id);
    wchar_t image[MAX_PATH] = L"";
    QueryFullProcessImageNameW(process, 0, image, &size);
    EXPECT_STREQ(L"C:\\ptest\\wizard\\My Apps\\T\\photar64.exe", image);
    TerminateProcess(process, 0);
    CloseHandle(process);
}

}  // namespace
