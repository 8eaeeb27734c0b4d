// Silent installations under faults a user's machine can have: a full target
// drive, a full temporary folder, a read-only drive, files held open by
// another program, a settings file that cannot be replaced, a registry key
// that cannot be written. The small drives are tmpfs mounts that the harness
// (tests/support/wine_run.sh) links into this test's prefix.
#include "registration_checks.h"
#include "settings_util.h"
#include "messages.h"
#include "wine_test_util.h"
#include "zip_builder.h"

#include <gtest/gtest.h>

#include <aclapi.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {

const char kSeparator[] = "------------------------------------------------\r\n";
const wchar_t kLog[] = L"Photarium_Install.log";
const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Photarium64";

// Drives the harness mounts for this program (tests/CMakeLists.txt): T: a
// small drive that the product does not fit, U: one too small for the
// temporary archive, R: a read-only drive holding R:\Photarium\photar64.exe,
// E: a 2 MB drive with room for the product.
#define REQUIRE_TMPFS_DRIVE(letter)                                                              \
    do {                                                                                       \
        if (const char* why = std::getenv("PHOTARIUM_TMPFS_UNAVAILABLE"))                     \
            SKIP_CHECK("no small drives for this test: " << why);                             \
        if (!std::getenv("PHOTARIUM_TMPFS_DRIVES"))                                           \
            SKIP_CHECK("no small drives: run through tests/support/wine_run.sh");             \
        ASSERT_TRUE(FolderExists(letter L":\\")) << "drive " letter ": missing";              \
    } while (0)

std::string LogEntry(const std::wstring& text)
{
    return Latin1(text + L"\n") + kSeparator;
}

// The part of a log after its date and time: the one entry the log must hold.
std::string OnlyEntryText(const std::string& log)
{
    size_t start = log.find(": ");
    return start == std::string::npos ? log : log.substr(start + 2);
}

// A settings folder that cannot take the settings file: not used, noted in the target folder.
void SettingsFolderNotUsed(const std::wstring& work, const std::wstring& folder)
{
    const std::wstring target = FreshFolder(L"notused") + L"Photarium\\", ini = target + L"photar64.ini";
    EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target + L" /ini=" + folder, work));
    EXPECT_EQ(LogEntry(kTooLong + folder), OnlyEntryText(ReadFileBytes(target + kLog)));
    EXPECT_EQ(L"<missing>|Deutsch", ReadProfile(ini, L"Others", L"INI_Folder") + L"|" +
                                        ReadProfile(ini, L"Language", L"Lang"));
}

// Points the temporary folder of the programs this test starts elsewhere.
class TempFolderOverride {
public:
    explicit TempFolderOverride(const wchar_t* folder)
    {
        for (int i = 0; i < 2; ++i) {
            wchar_t value[MAX_PATH];
            DWORD length = GetEnvironmentVariableW(kNames[i], value, MAX_PATH);
            saved_[i] = length > 0 && length < MAX_PATH ? value : L"";
            SetEnvironmentVariableW(kNames[i], folder);
        }
    }
    ~TempFolderOverride()
    {
        for (int i = 0; i < 2; ++i)
            SetEnvironmentVariableW(kNames[i], saved_[i].empty() ? nullptr : saved_[i].c_str());
    }

private:
    static constexpr const wchar_t* kNames[2] = {L"TMP", L"TEMP"};
    std::wstring saved_[2];
};

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium");
        DeleteRegTree(HKEY_LOCAL_MACHINE, kUninstallKey);
        work_ = FreshFolder(L"work");
        entries_ = ProductEntries();
        ASSERT_GT(entries_.size(), 20u);
    }
    std::wstring work_;
    std::vector<ArchiveEntry> entries_;
};

TEST_F(FaultTest, FullTargetDriveStopsTheInstallation)
{
    REQUIRE_TMPFS_DRIVE(L"T");
    const std::wstring target = L"T:\\Photarium\\";
    for (bool update : {false, true}) {
        SCOPED_TRACE(update ? "update" : "new installation");
        RemoveTree(target);
        std::vector<std::wstring> left = {kLog};
        if (update) {
            CreateDirectoryW(target.c_str(), nullptr);
            CreateDirectoryW((target + L"Languages").c_str(), nullptr);
            WriteFileBytes(target + L"photar64.exe", "alte Version");
            WriteFileBytes(target + L"Languages\\DEUTSCH.DLL", "alt");
            left = {L"Languages", kLog, L"photar64.exe"};
        }
        EXPECT_EQ(1, RunSetup(L"/silent /folder=" + target, work_));

        // nothing of the product is left, and there is room for the report
        EXPECT_EQ(left, ListFolder(target));
        if (update) {
            EXPECT_EQ("alte Version", ReadFileBytes(target + L"photar64.exe"));
            EXPECT_EQ("alt", ReadFileBytes(target + L"Languages\\DEUTSCH.DLL"));
        }
        EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium"));
        EXPECT_EQ(LogEntry(target + L": " + kMessage7), OnlyEntryText(ReadFileBytes(target + kLog)));
        EXPECT_FALSE(FileExists(work_ + kLog));
    }
}

// A run killed while it unpacks an update: every product file is the earlier
// one or the new one, whole; the next run removes what it left and completes.
TEST_F(FaultTest, KilledUpdateLeavesNoFileCutShort)
{
    const std::wstring target = FreshFolder(L"killed") + L"Photarium\\";
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + target, work_));
    for (const ArchiveEntry& entry : entries_)
        if (entry.name.back() != '/')
            WriteFileBytes(target + WindowsName(entry.name), "alt");
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    std::wstring line = L"\"" + SetupExePath() + L"\" /silent /folder=" + target;
    ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                               work_.c_str(), &startup, &process));
    // killed as soon as its first fresh file shows
    WIN32_FIND_DATAW found;
    HANDLE seen = INVALID_HANDLE_VALUE;
    while (seen == INVALID_HANDLE_VALUE && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT)
        seen = FindFirstFileW((target + L"*.~ph*").c_str(), &found);
    TerminateProcess(process.hProcess, 9);
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (seen == INVALID_HANDLE_VALUE)
        SKIP_CHECK("the run ended before a fresh file showed");
    FindClose(seen);
    for (const ArchiveEntry& entry : entries_) {
        std::string bytes = ReadFileBytes(target + WindowsName(entry.name));
        EXPECT_TRUE(entry.name.back() == '/' || bytes == "alt" || bytes == entry.data) << entry.name;
    }

    EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target, work_));
    for (const ArchiveEntry& entry : entries_)
        EXPECT_TRUE(entry.name.back() == '/' || entry.data == ReadFileBytes(target + WindowsName(entry.name)));
    EXPECT_EQ(INVALID_HANDLE_VALUE, FindFirstFileW((target + L"*.~ph*").c_str(), &found));
}

// E: holds the product with little to spare. The settings file is replaced
// only by a complete copy; one that cannot be written at all is not left empty.
TEST_F(FaultTest, NearlyFullDriveKeepsTheSettingsFile)
{
    REQUIRE_TMPFS_DRIVE(L"E");
    const std::wstring target = L"E:\\Ph\\", ini = target + L"photar64.ini";
    auto freeBytes = [] {
        ULARGE_INTEGER free = {};
        GetDiskFreeSpaceExW(L"E:\\", &free, nullptr, nullptr);
        return free.QuadPart;
    };
    ULONGLONG empty = freeBytes();
    ASSERT_EQ(0, RunSetup(L"/silent /folder=E:\\Ph", work_));
    // the room the product takes (its own settings file is one page of it);
    // an update needs room for a second copy, so these runs install anew
    ULONGLONG product = empty - freeBytes() - 4096;
    RemoveTree(target);
    CreateDirectoryW(target.c_str(), nullptr);
    std::string user = "[Language]\r\nDLL=DEUTSCH.DLL\r\nLang=Deutsch\r\n[Toolbar]\r\n"
                       "Skin=Mein.png\r\nSize=20\r\n[Verlauf]\r\n";
    for (int i = 0; user.size() < 102400; ++i)
        user += "Bild" + std::to_string(i) + "=C:\\Bilder\\Urlaub.jpg\r\n";
    WriteFileBytes(ini, user);
    auto fill = [](const wchar_t* name, ULONGLONG spare) {
        ULARGE_INTEGER free;
        ASSERT_TRUE(GetDiskFreeSpaceExW(L"E:\\", &free, nullptr, nullptr));
        HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        std::string chunk(4096, 'f');
        DWORD written = 0;
        for (ULONGLONG left = free.QuadPart - spare; left >= chunk.size(); left -= chunk.size())
            if (!WriteFile(file, chunk.data(), 4096, &written, nullptr))
                break;
        CloseHandle(file);
    };
    fill(L"E:\\filler", product + 48 * 1024);
    EXPECT_EQ(0, RunSetup(L"/silent /folder=E:\\Ph", work_));
    EXPECT_TRUE(user == ReadFileBytes(ini));
    EXPECT_FALSE(FileExists(ini + L"_temp"));

    RemoveTree(target);
    CreateDirectoryW(target.c_str(), nullptr);
    fill(L"E:\\filler2", product);
    EXPECT_EQ(0, RunSetup(L"/silent /folder=E:\\Ph", work_));
    EXPECT_FALSE(FileExists(ini));
    EXPECT_FALSE(FileExists(ini + L"_temp"));
    SettingsFolderNotUsed(work_, L"E:\\Einst");
    EXPECT_FALSE(FolderExists(L"E:\\Einst"));
}

TEST_F(FaultTest, FullTemporaryFolderStopsWithMessage7BeforeUnpacking)
{
    REQUIRE_TMPFS_DRIVE(L"U");
    const std::wstring target = FreshFolder(L"fulltemp") + L"Photarium\\";
    {
        TempFolderOverride temp(L"U:\\");
        EXPECT_EQ(1, RunSetup(L"/silent /folder=" + target, work_));
    }
    // the archive was cut short and did not open: nothing unpacked, the
    // folder left current was the start folder, where the report goes
    EXPECT_TRUE(ListFolder(target).empty());
    EXPECT_TRUE(ListFolder(L"U:\\").empty());
    EXPECT_EQ(LogEntry(target + L": " + kMessage7), OnlyEntryText(ReadFileBytes(work_ + kLog)));
}

TEST_F(FaultTest, ReadOnlyDrive)
{
    REQUIRE_TMPFS_DRIVE(L"R");
    std::vector<std::wstring> before = ListFolder(L"R:\\Photarium\\");
    ASSERT_EQ(std::vector<std::wstring>{L"photar64.exe"}, before);

    // a target folder that cannot be created: message 11, nothing else
    EXPECT_EQ(1, RunSetup(L"/silent /folder=R:\\Neu\\Photarium", work_));
    EXPECT_FALSE(FolderExists(L"R:\\Neu"));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium"));
    EXPECT_EQ(LogEntry(std::wstring(kMessage11) + L": R:\\Neu\\Photarium\\"),
              OnlyEntryText(ReadFileBytes(work_ + kLog)));

    // An existing target folder: not one file can be created, so nothing is
    // installed and nothing registered; message 7 goes to the start folder's
    // log, since the target folder cannot take one.
    DeleteFileW((work_ + kLog).c_str());
    EXPECT_EQ(1, RunSetup(L"/silent /folder=R:\\Photarium", work_));
    EXPECT_EQ(before, ListFolder(L"R:\\Photarium\\"));
    EXPECT_EQ("alte Version\n", ReadFileBytes(L"R:\\Photarium\\photar64.exe"));
    EXPECT_EQ(LogEntry(std::wstring(L"R:\\Photarium\\: ") + kMessage7),
              OnlyEntryText(ReadFileBytes(work_ + kLog)));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium"));
    SettingsFolderNotUsed(work_, L"R:\\Photarium");  // no rights to make a file there
}

// Something holds a file of an earlier installation or stands at its name
// while the update gives the new files their names: no name changes hands,
// the earlier installation stays file for file (bytes, attributes, times)
// and registered as it was, and the target folder's log names the file
// ahead of message 7. A read-only earlier file is replaced like any other.
TEST_F(FaultTest, AnUpdateReplacesEveryFileOrNone)
{
    using Release = std::function<void()>;
    struct InTheWay {
        const char* how;
        const wchar_t* name;  // below the target
        bool holds;           // holds it rather than changing the folder
        std::function<Release(const std::wstring& path)> make;
    } cases[] = {
        {"held without sharing", L"photar64.exe", true, [](const std::wstring& path) -> Release {
             HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             return [file] { CloseHandle(file); };
         }},
        {"held with delete sharing", L"p_about.txt", true, [](const std::wstring& path) -> Release {
             HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
             return [file] { CloseHandle(file); };
         }},
        {"a loaded library", L"Languages\\DEUTSCH.DLL", true, [](const std::wstring& path) -> Release {
             HMODULE library = LoadLibraryW(path.c_str());
             EXPECT_NE(nullptr, library);
             return [library] { FreeLibrary(library); };
         }},
        {"a folder at the name", L"readme.txt", false, [](const std::wstring& path) -> Release {
             DeleteFileW(path.c_str());
             CreateDirectoryW(path.c_str(), nullptr);
             WriteFileBytes(path + L"\\x", "fremd");
             return [] {};
         }},
        {"a link to a folder at the name", L"Html\\slideshow.htm", false, [](const std::wstring& path) -> Release {
             CreateDirectoryW((path + L"-ziel").c_str(), nullptr);
             EXPECT_TRUE(SetUnixLink(path, path + L"-ziel"));
             return [] {};
         }},
        {"read-only", L"p_options.txt", false, [](const std::wstring& path) -> Release {
             SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
             return [] {};
         }},
    };
    int index = 0;
    for (const InTheWay& c : cases) {
        SCOPED_TRACE(c.how);
        const std::wstring target = FreshFolder(L"held" + std::to_wstring(index++)) + L"Photarium\\";
        ASSERT_EQ(0, RunSetup(L"/silent /folder=" + target, work_));
        // an earlier version: other bytes and times in every file, another version registered
        for (const auto& file : FilesBelow(target)) {
            std::wstring path = target + file.first;
            if (path.find(L".DLL") == std::wstring::npos)  // a library stays loadable
                WriteFileBytes(path, "alt " + Latin1(file.first));
            HANDLE handle = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            const FILETIME earlier = {0x12345678, 0x01d6a000};
            SetFileTime(handle, &earlier, nullptr, &earlier);
            CloseHandle(handle);
        }
        SetRegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion", L"4.52");
        // (a file held without sharing cannot be read while held)
        auto before = FilesBelow(target, true);
        Release release = c.make(target + c.name);
        if (!c.holds)
            before = FilesBelow(target, true);
        const std::wstring registration = SnapshotRegistration();
        bool readOnly = std::string(c.how) == "read-only";

        EXPECT_EQ(readOnly ? 0 : 1, RunSetup(L"/silent /folder=" + target, work_));
        release();
        auto after = FilesBelow(target, true);
        after.erase(kLog);
        if (readOnly) {
            for (const ArchiveEntry& entry : entries_) {
                if (entry.name.back() != '/') {
                    EXPECT_TRUE(entry.data == ReadFileBytes(target + WindowsName(entry.name))) << entry.name;
                }
            }
            for (const auto& file : after) {
                EXPECT_EQ(std::wstring::npos, file.first.find(L".~ph")) << file.first;
            }
            continue;
        }
        EXPECT_EQ(before.size(), after.size());
        for (const auto& file : after)  // which file differs, if one does
            EXPECT_TRUE(before.count(file.first) && before.at(file.first) == file.second) << Latin1(file.first);
        EXPECT_TRUE(registration == SnapshotRegistration());
        EXPECT_EQ((std::vector<std::string>{Latin1(kNotReplaced + target + c.name + L"\n"),
                                            Latin1(target + L": " + kMessage7 + L"\n")}),
                  InstallLogTexts(target));
        EXPECT_FALSE(FileExists(work_ + kLog));
    }
}

// Another program holds the temporary archive's fixed name (another run, a
// virus scanner): the archive goes under a name of its own, and that goes.
TEST_F(FaultTest, TemporaryArchiveHeldByAnotherProgram)
{
    const std::wstring temp = FreshFolder(L"heldtemp"), target = temp + L"Photarium\\";
    WriteFileBytes(temp + L"phtarg_x64.zip", "fremd");
    HANDLE held = CreateFileW((temp + L"phtarg_x64.zip").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    {
        TempFolderOverride override(temp.c_str());
        EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target, work_));
    }
    CloseHandle(held);
    EXPECT_EQ(entries_.back().data, ReadFileBytes(target + WindowsName(entries_.back().name)));
    EXPECT_EQ("fremd", ReadFileBytes(temp + L"phtarg_x64.zip"));
    EXPECT_EQ((std::vector<std::wstring>{L"Photarium", L"phtarg_x64.zip"}), ListFolder(temp));
}

// The settings file is open in another program that lets others read and
// write but not delete or replace it: the profile writes go through, the
// replacement by the converted file fails.
TEST_F(FaultTest, SettingsFileThatCannotBeReplacedStaysNarrow)
{
    const std::wstring target = FreshFolder(L"settings") + L"Photarium\\";
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + target, work_));
    if (!FileExists(target + L"photar64.ini"))
        SKIP_CHECK("needs the settings file step: a plain installation wrote no photar64.ini");

    const std::wstring ini = target + L"photar64.ini";
    const std::string narrow = "[Toolbar]\r\nSkin=Quartz_16.png\r\nSize=16\r\n";
    WriteFileBytes(ini, narrow);
    HANDLE file = CreateFileW(ini.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target, work_));
    CloseHandle(file);

    // the active file keeps its narrow text; the converted copy stays beside it
    std::string active = ReadFileBytes(ini);
    ASSERT_FALSE(active.empty());
    EXPECT_NE("\xFF\xFE", active.substr(0, 2));
    // the profile writes went through: the language keys are there, the skin
    // choice stays
    EXPECT_NE(std::string::npos, active.find("[Language]\r\n")) << active;
    EXPECT_NE(std::string::npos, active.find("DLL=DEUTSCH.DLL\r\n")) << active;
    EXPECT_NE(std::string::npos, active.find("Lang=Deutsch\r\n")) << active;
    EXPECT_EQ(0u, active.find(narrow)) << active;
    EXPECT_EQ(ConvertedBytes(active), ReadFileBytes(target + L"photar64.ini_temp"));
    EXPECT_FALSE(FileExists(work_ + kLog));
    EXPECT_FALSE(FileExists(target + kLog));
}

// Everyone may still read the key, nobody may set a value or make a subkey
// below it (the earlier rules stay behind the refusal) until the guard
// goes, which puts the earlier rules back. Denied(): Windows' answer seen.
class DeniedWrites {
public:
    explicit DeniedWrites(const std::wstring& path) : path_(path)
    {
        PACL earlier = nullptr;
        if (GetNamedSecurityInfoW(Name(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr,
                                  nullptr, &earlier, nullptr, &descriptor_) != ERROR_SUCCESS)
            return;
        EXPLICIT_ACCESSW rule = {};
        wchar_t everyone[] = L"EVERYONE";
        BuildExplicitAccessWithNameW(&rule, everyone, KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                                     DENY_ACCESS, NO_INHERITANCE);
        PACL acl = nullptr;
        if (SetEntriesInAclW(1, &rule, earlier, &acl) == ERROR_SUCCESS)
            SetNamedSecurityInfoW(Name(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr,
                                  nullptr, acl, nullptr);
        LocalFree(acl);
        earlier_ = earlier;
    }
    ~DeniedWrites()
    {
        if (earlier_ != nullptr)
            SetNamedSecurityInfoW(Name(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr,
                                  nullptr, earlier_, nullptr);
        LocalFree(descriptor_);
    }
    bool Denied() const
    {
        HKEY probe;
        LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_SET_VALUE, &probe);
        if (opened == ERROR_SUCCESS)
            RegCloseKey(probe);
        return opened == ERROR_ACCESS_DENIED;
    }

private:
    wchar_t* Name() { name_ = L"MACHINE\\" + path_; return &name_[0]; }
    std::wstring path_, name_;
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    PACL earlier_ = nullptr;  // inside descriptor_
};

// Keys the installation cannot write. The uninstall entry itself: its rows
// are lost, the others written, the installation counts as done. The keys
// every registration writes below (a standard user's, unelevated): message 7
// before anything is made.
TEST_F(FaultTest, RegistryKeysThatCannotBeWritten)
{
    const std::wstring target = FreshFolder(L"registry") + L"Photarium\\";
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + target, work_));
    if (!RegKeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium"))
        SKIP_CHECK("needs the registration step: a plain installation wrote no program "
                   "identifier");
    DeleteRegTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium");
    SetRegText(HKEY_LOCAL_MACHINE, kUninstallKey, L"", L"");
    {
        DeniedWrites denied(kUninstallKey);
        if (!denied.Denied())
            SKIP_CHECK("Wine grants KEY_SET_VALUE despite a denying security descriptor");
        EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target, work_));
    }
    DWORD type;
    std::vector<BYTE> data;
    EXPECT_FALSE(ReadRegValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName", &type, &data));
    EXPECT_FALSE(ReadRegValue(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString", &type, &data));
    const std::wstring program = target + L"photar64.exe";
    EXPECT_EQ(L"Photarium", ReadRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium"));
    EXPECT_EQ(L"\"" + program + L"\" \"%1\"",
              ReadRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium\\shell\\open\\command"));
    EXPECT_EQ(L"\"" + program + L"\"",
              ReadRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Photarium\\shell\\open\\command"));
    EXPECT_FALSE(FileExists(work_ + kLog));
    EXPECT_FALSE(FileExists(target + kLog));

    DeleteRegTree(HKEY_LOCAL_MACHINE, kUninstallKey);
    const std::wstring fresh = FreshFolder(L"unregistered") + L"Photarium";
    for (const wchar_t* parent : {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                                  L"SOFTWARE\\Classes"}) {
        SCOPED_TRACE(parent);
        DeleteFileW((work_ + kLog).c_str());
        DeniedWrites denied(parent);
        ASSERT_TRUE(denied.Denied());
        EXPECT_EQ(1, RunSetup(L"/silent /folder=" + fresh, work_));
        EXPECT_EQ(LogEntry(fresh + L": " + kMessage7), OnlyEntryText(ReadFileBytes(work_ + kLog)));
        EXPECT_FALSE(FolderExists(fresh));
        EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    }
}

}  // namespace
