// Silent installations of the real setup program: the unpacked product, its
// time stamps, the temporary archive, the icon library and a damaged archive.
#include "messages.h"
#include "wine_test_util.h"
#include "zip_builder.h"

#include <gtest/gtest.h>


namespace {

const char kSeparator[] = "------------------------------------------------\r\n";

std::wstring TempArchivePath()
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"phtarg_x64.zip";
}

unsigned long long UtcTicksOfDos(unsigned long dosDate)
{
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(1980 + (dosDate >> 25));
    local.wMonth = static_cast<WORD>((dosDate >> 21) & 15);
    local.wDay = static_cast<WORD>((dosDate >> 16) & 31);
    local.wHour = static_cast<WORD>((dosDate >> 11) & 31);
    local.wMinute = static_cast<WORD>((dosDate >> 5) & 63);
    local.wSecond = static_cast<WORD>((dosDate & 31) * 2);
    FILETIME localTime, utc;
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return (static_cast<unsigned long long>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

void FileTicks(const std::wstring& path, unsigned long long* created, unsigned long long* written)
{
    *created = *written = 0;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    FILETIME c, a, w;
    if (file != INVALID_HANDLE_VALUE && GetFileTime(file, &c, &a, &w)) {
        *created = (static_cast<unsigned long long>(c.dwHighDateTime) << 32) | c.dwLowDateTime;
        *written = (static_cast<unsigned long long>(w.dwHighDateTime) << 32) | w.dwLowDateTime;
    }
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

class PayloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium");
        work_ = FreshFolder(L"work");
        target_ = FreshFolder(L"payload") + L"Photarium\\";
    }
    std::wstring work_, target_;
};

TEST_F(PayloadTest, SilentInstallationWritesTheWholeArchive)
{
    std::vector<ArchiveEntry> entries = ProductEntries();
    ASSERT_GT(entries.size(), 20u);
    WriteFileBytes(TempArchivePath(), "left over from an earlier run");

    EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target_ + L" /desktop=0", work_));

    EXPECT_FALSE(FileExists(TempArchivePath()));
    for (const ArchiveEntry& entry : entries) {
        std::wstring path = target_ + WindowsName(entry.name);
        if (entry.name.back() == '/') {
            EXPECT_TRUE(FolderExists(path)) << entry.name;
            continue;
        }
        EXPECT_TRUE(entry.data == ReadFileBytes(path)) << entry.name;
        unsigned long long created, written;
        FileTicks(path, &created, &written);
        EXPECT_EQ(UtcTicksOfDos(entry.dosDate), created) << entry.name;
        EXPECT_EQ(UtcTicksOfDos(entry.dosDate), written) << entry.name;
    }
    // the product's file set at the top level
    std::vector<std::wstring> top = ListFolder(target_);
    for (const wchar_t* name :
         {L"photar64.exe", L"pt_uninstall.exe", L"photar32.chm", L"p_about.txt", L"p_changes.txt",
          L"p_languages.txt", L"p_options.txt", L"p_plugins.txt", L"Languages", L"Plugins",
          L"Help", L"Html", L"Toolbars"})
        EXPECT_NE(top.end(), std::find(top.begin(), top.end(), name)) << name;
    EXPECT_TRUE(FileExists(target_ + L"Plugins\\Icons.dll"));
    EXPECT_TRUE(FileExists(target_ + L"Help\\photar32_deutsch.chm"));
    for (const wchar_t* skin : {L"gnome-colors-human_48", L"gnome-colors-wise_32", L"Obsidian_24",
                                L"Quartz_16"}) {
        EXPECT_EQ("\x89PNG", ReadFileBytes(target_ + L"Toolbars\\" + skin + L".png").substr(0, 4));
        EXPECT_TRUE(FileExists(target_ + L"Toolbars\\" + skin + L".txt")) << skin;
    }
    EXPECT_FALSE(FileExists(work_ + L"Photarium_Install.log"));
}

TEST_F(PayloadTest, InstalledIconLibraryKeptOrReplaced)
{
    std::string shipped;
    unsigned long shippedDate = 0;
    for (const ArchiveEntry& entry : ProductEntries()) {
        if (entry.name == "Plugins/Icons.dll") {
            shipped = entry.data;
            shippedDate = entry.dosDate;
        }
    }
    ASSERT_EQ(226816u, shipped.size());
    struct Case {
        const char* installed;
        bool kept;
    } cases[] = {{"icons_431", true}, {"icons_429", false}, {"icons_429_other_company", true}};
    for (const Case& c : cases) {
        RemoveTree(target_);
        CreateDirectoryW(target_.c_str(), nullptr);
        CreateDirectoryW((target_ + L"Plugins").c_str(), nullptr);
        std::string installed = ReadFileBytes(TestDataPath(std::string("icons/") + c.installed + ".dll"));
        ASSERT_FALSE(installed.empty()) << c.installed;
        WriteFileBytes(target_ + L"Plugins\\Icons.dll", installed);
        EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target_ + L" /desktop=0", work_));
        EXPECT_TRUE((c.kept ? installed : shipped) == ReadFileBytes(target_ + L"Plugins\\Icons.dll"))
            << c.installed;
        EXPECT_TRUE(FileExists(target_ + L"photar64.exe")) << c.installed;
    }
    // installing the same product again replaces the shipped library with
    // itself: the archive's time stamp shows it was written
    std::wstring library = target_ + L"Plugins\\Icons.dll";
    WriteFileBytes(library, shipped);
    unsigned long long created, written;
    FileTicks(library, &created, &written);
    ASSERT_NE(UtcTicksOfDos(shippedDate), written);
    EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target_ + L" /desktop=0", work_));
    FileTicks(library, &created, &written);
    EXPECT_EQ(UtcTicksOfDos(shippedDate), written);
    EXPECT_TRUE(shipped == ReadFileBytes(library));
}

TEST_F(PayloadTest, DamagedArchiveStopsWithMessage7InTheTargetFolderLog)
{
    std::wstring damaged = TestDataPath("damaged/photar64_setup.exe");
    ASSERT_TRUE(FileExists(damaged));
    CreateDirectoryW(target_.c_str(), nullptr);
    WriteFileBytes(target_ + L"p_about.txt", "alte Version");
    int code = RunProgram(L"\"" + damaged + L"\" /silent /folder=" + target_, work_);
    EXPECT_EQ(1, code);
    // nothing of the update stays, not even the folder made before the unpacking
    EXPECT_EQ((std::vector<std::wstring>{L"Photarium_Install.log", L"p_about.txt"}), ListFolder(target_));
    EXPECT_EQ("alte Version", ReadFileBytes(target_ + L"p_about.txt"));
    EXPECT_FALSE(FileExists(TempArchivePath()));
    // the extraction left the target folder current: the report lands there
    EXPECT_FALSE(FileExists(work_ + L"Photarium_Install.log"));
    std::string log = ReadFileBytes(target_ + L"Photarium_Install.log");
    std::string expected = Latin1(target_ + L": " + kMessage7 + L"\n") + kSeparator;
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(expected, log.substr(log.size() - expected.size()));
}

TEST_F(PayloadTest, TemporaryNameLinkedToAnotherFileLeavesThatFile)
{
    // a Unix link made from the Linux side: Wine shows it as the file it points to
    std::wstring victim = work_ + L"victim.txt";
    WriteFileBytes(victim, "wertvoll");
    ASSERT_TRUE(SetUnixLink(TempArchivePath(), victim));

    // Wine hands the program the link's target under the temporary name, so
    // the program cannot remove the link itself (Windows would): it leaves the
    // name alone and makes the archive under a fresh name beside it.
    EXPECT_EQ(0, RunSetup(L"/silent /folder=" + target_ + L" /desktop=0", work_));
    EXPECT_EQ("wertvoll", ReadFileBytes(victim));
    EXPECT_EQ("wertvoll", ReadFileBytes(TempArchivePath()));
    EXPECT_TRUE(FileExists(target_ + L"photar64.exe"));
    EXPECT_FALSE(FileExists(work_ + L"Photarium_Install.log"));
    std::wstring temp = TempArchivePath().substr(0, TempArchivePath().rfind(L'\\') + 1);
    for (const std::wstring& name : ListFolder(temp))
        EXPECT_TRUE(name == L"phtarg_x64.zip" || name.find(L"phtarg_x64") != 0) << name;
    EXPECT_TRUE(SetUnixLink(TempArchivePath(), L""));
}

}  // namespace
