// Extraction of crafted archives: folders, time stamps, the entries that are
// skipped and the failures that stop the extraction.
#include "install/entry_files.h"
#include "install/staged_entries.h"
#include "install/unzip_entries.h"

#include "wine_test_util.h"
#include "zip_builder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

// The UTC file time an entry's local DOS date/time stands for.
FILETIME ExpectedUtc(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>(year);
    local.wMonth = static_cast<WORD>(month);
    local.wDay = static_cast<WORD>(day);
    local.wHour = static_cast<WORD>(hour);
    local.wMinute = static_cast<WORD>(minute);
    local.wSecond = static_cast<WORD>(second);
    FILETIME localTime, utc;
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return utc;
}

unsigned long long Ticks(const FILETIME& time)
{
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

struct FileTimes {
    unsigned long long created = 0, accessed = 0, written = 0;
};

FileTimes TimesOf(const std::wstring& path)
{
    FileTimes times;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return times;
    FILETIME created, accessed, written;
    if (GetFileTime(file, &created, &accessed, &written)) {
        times.created = Ticks(created);
        times.accessed = Ticks(accessed);
        times.written = Ticks(written);
    }
    CloseHandle(file);
    return times;
}

class ExtractEntriesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCurrentDirectoryW(MAX_PATH, savedFolder_);
        root_ = FreshFolder(L"extract");
        target_ = root_ + L"target\\";
        CreateDirectoryW(target_.c_str(), nullptr);
        archive_ = root_ + L"crafted.zip";
    }
    void TearDown() override { SetCurrentDirectoryW(savedFolder_); }

    int Unzip(const std::vector<ZipEntry>& entries, int keepFlag = 0)
    {
        std::string bytes = BuildZip(entries);
        EXPECT_FALSE(bytes.empty());
        WriteFileBytes(archive_, bytes);
        return UnzipToFolder(archive_.c_str(), target_.c_str(), keepFlag);
    }
    int UnzipBytes(const std::string& bytes, int keepFlag = 0)
    {
        WriteFileBytes(archive_, bytes);
        return UnzipToFolder(archive_.c_str(), target_.c_str(), keepFlag);
    }
    std::wstring CurrentFolder()
    {
        wchar_t folder[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, folder);
        return std::wstring(folder) + L"\\";
    }

    struct Reported : FileNotReplaced {
        void Report(const wchar_t* path) override { paths.push_back(path); }
        std::vector<std::wstring> paths;
    };
    wchar_t savedFolder_[MAX_PATH] = {};
    std::wstring root_, target_, archive_;
};

TEST_F(ExtractEntriesTest, FilesWithoutFolderEntriesGetTheirFoldersAndTimes)
{
    const uint32_t stamp = DosDateTime(2021, 2, 28, 23, 59, 58);
    std::string big(100000, 'x');
    for (size_t i = 0; i < big.size(); i += 7)
        big[i] = static_cast<char>('a' + i % 26);
    ASSERT_EQ(0, Unzip({{"Deep/Er/Sub/note.txt", "tief", 8, stamp},
                        {"top.txt", "oben", 0, stamp},
                        {"Deep\\back.txt", "rueck", 8, stamp},
                        {"big.bin", big, 8, stamp}}));
    EXPECT_EQ("tief", ReadFileBytes(target_ + L"Deep\\Er\\Sub\\note.txt"));
    EXPECT_EQ("oben", ReadFileBytes(target_ + L"top.txt"));
    EXPECT_EQ("rueck", ReadFileBytes(target_ + L"Deep\\back.txt"));
    EXPECT_EQ(big, ReadFileBytes(target_ + L"big.bin"));

    unsigned long long expected = Ticks(ExpectedUtc(2021, 2, 28, 23, 59, 58));
    for (const wchar_t* name : {L"Deep\\Er\\Sub\\note.txt", L"top.txt", L"big.bin"}) {
        FileTimes times = TimesOf(target_ + name);
        EXPECT_EQ(expected, times.created) << name;
        EXPECT_EQ(expected, times.written) << name;
    }
    // the extraction leaves the target folder current
    EXPECT_EQ(target_, CurrentFolder());
}

TEST_F(ExtractEntriesTest, FolderEntriesAndExistingFiles)
{
    // (a read-only file cannot stand for a locked one here: the tests run as
    // root, and Wine lets root write it)
    WriteFileBytes(target_ + L"old.txt", "alter Inhalt, lang");
    CreateDirectoryW((target_ + L"Plugins").c_str(), nullptr);

    EXPECT_EQ(0, Unzip({{"Leer/", "", 0}, {"Plugins/", "", 0}, {"Plugins/a.dll", "A"},
                        {"old.txt", "neu"}, {"after.txt", "danach"}}));
    EXPECT_TRUE(FolderExists(target_ + L"Leer"));
    EXPECT_EQ("A", ReadFileBytes(target_ + L"Plugins\\a.dll"));
    EXPECT_EQ("neu", ReadFileBytes(target_ + L"old.txt"));
    EXPECT_EQ("danach", ReadFileBytes(target_ + L"after.txt"));
}

TEST_F(ExtractEntriesTest, FileHeldOpenByAnotherHandleUndoesTheUnpacking)
{
    CreateDirectoryW((target_ + L"Sub").c_str(), nullptr);
    std::wstring held = target_ + L"photar64.exe", heldBelow = target_ + L"Sub\\held.txt";
    WriteFileBytes(held, "running");
    WriteFileBytes(heldBelow, "offen");
    WriteFileBytes(target_ + L"readme.txt", "alt");
    HANDLE first = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE second = CreateFileW(heldBelow.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, first);
    ASSERT_NE(INVALID_HANDLE_VALUE, second);

    Reported reported;
    WriteFileBytes(archive_, BuildZip({{"readme.txt", "lies"}, {"photar64.exe", "new viewer"},
                                       {"Sub/held.txt", "neu"}, {"Neu/new.txt", "neu"}}));
    int result = UnzipToFolder(archive_.c_str(), target_.c_str(), 0, &reported);
    CloseHandle(first);
    CloseHandle(second);
    // every file keeps its earlier state, a new one goes, and each held one is named
    EXPECT_EQ(-1, result);
    EXPECT_EQ("running", ReadFileBytes(held));
    EXPECT_EQ("offen", ReadFileBytes(heldBelow));
    EXPECT_EQ("alt", ReadFileBytes(target_ + L"readme.txt"));
    EXPECT_EQ((std::vector<std::wstring>{L"Sub", L"photar64.exe", L"readme.txt"}), ListFolder(target_));
    EXPECT_EQ((std::vector<std::wstring>{L"held.txt"}), ListFolder(target_ + L"Sub"));
    EXPECT_EQ((std::vector<std::wstring>{held, heldBelow}), reported.paths);
    // an archive of folders alone has no file to create
    EXPECT_EQ(0, Unzip({{"Leer/", ""}, {"Leer/Auch/", ""}}));
    EXPECT_TRUE(FolderExists(target_ + L"Leer\\Auch"));
}

TEST_F(ExtractEntriesTest, EntriesNamingOneFileKeepTheFirst)
{
    // The fresh files are made in four parts of the list at once. The first
    // entry of a name ends the first part, its namesakes start the others:
    // those are made first, and the first entry must still win.
    struct Case {
        std::vector<std::string> names;
        const wchar_t* file;
    } cases[] = {
        {{"a.txt", "A.TXT"}, L"a.txt"},
        {{"Sub/d.bin", "sub/D.BIN", "SUB/d.bin", "Sub/D.bin"}, L"Sub\\d.bin"},
    };
    for (const Case& c : cases) {
        std::vector<ZipEntry> entries;
        for (size_t i = 0; i < 120; ++i) {
            if (i == 29)
                entries.push_back({c.names[0], "erste"});
            else if (i % 30 == 0 && i > 0 && i / 30 < c.names.size())
                entries.push_back({c.names[i / 30], "spaetere"});
            else
                entries.push_back({"f" + std::to_string(i) + ".txt", "x"});
        }
        WriteFileBytes(archive_, BuildZip(entries));
        Reported reported;
        EXPECT_EQ(0, UnzipToFolder(archive_.c_str(), target_.c_str(), 0, &reported)) << c.names[0];
        EXPECT_EQ("erste", ReadFileBytes(target_ + c.file)) << c.names[0];
        EXPECT_TRUE(reported.paths.empty()) << c.names[0];  // its namesakes are no file of their own
        // no fresh file stays behind
        for (const wchar_t* folder : {L"", L"Sub"}) {
            for (const std::wstring& name : ListFolder(target_ + folder))
                EXPECT_FALSE(IsFreshName(name.c_str())) << c.names[0];
        }
    }
}

TEST_F(ExtractEntriesTest, EntriesReachingOutsideTheTargetAreSkipped)
{
    std::vector<ZipEntry> entries = {
        {"../outside.txt", "x"}, {"a/../../outside2.txt", "x"}, {"/absolute.txt", "x"},
        {"\\absolute2.txt", "x"}, {"C:outside3.txt", "x"}, {"C:/outside4.txt", "x"},
        {"sub\\..\\..\\outside5.txt", "x"}, {".. /outside6.txt", "x"}, {"../", ""},
        {"inside..txt", "drin"}, {"..inside.txt", "auch"}, {"ok/file.txt", "ok"},
    };
    EXPECT_EQ(0, Unzip(entries));
    EXPECT_EQ((std::vector<std::wstring>{L"crafted.zip", L"target"}), ListFolder(root_));
    EXPECT_EQ((std::vector<std::wstring>{L"..inside.txt", L"inside..txt", L"ok"}), ListFolder(target_));
    EXPECT_EQ("ok", ReadFileBytes(target_ + L"ok\\file.txt"));
    EXPECT_FALSE(FileExists(L"C:\\absolute.txt"));
    EXPECT_FALSE(FileExists(L"C:\\outside4.txt"));
}

TEST_F(ExtractEntriesTest, NamesLongerThanTheBuffersAreSkipped)
{
    // 519 bytes fit the name buffer but not the 324-unit wide buffer; 520 fit neither
    std::string fitsNarrowOnly = "n/" + std::string(517, 'l');
    std::string fitsNeither = "m/" + std::string(600, 'l');
    EXPECT_EQ(0, Unzip({{fitsNarrowOnly, "a"}, {fitsNeither, "b"}, {"short.txt", "kurz"}}));
    EXPECT_EQ((std::vector<std::wstring>{L"short.txt"}), ListFolder(target_));
}

TEST_F(ExtractEntriesTest, KeepFlagSkipsEveryIconLibraryEntry)
{
    std::vector<ZipEntry> entries = {{"Plugins/Icons.dll", "neu"}, {"Other/MYICONS.DLL.bak", "neu"},
                                     {"Plugins/icons.dl", "neu"}, {"icons.txt", "neu"}};
    struct Case {
        int keepFlag;
        std::vector<std::wstring> written;
    } cases[] = {
        {1, {L"Plugins\\icons.dl", L"icons.txt"}},
        {0, {L"Plugins\\Icons.dll", L"Other\\MYICONS.DLL.bak", L"Plugins\\icons.dl", L"icons.txt"}},
        {2, {L"Plugins\\Icons.dll", L"Other\\MYICONS.DLL.bak", L"Plugins\\icons.dl", L"icons.txt"}},
    };
    for (const Case& c : cases) {
        RemoveTree(target_);
        CreateDirectoryW(target_.c_str(), nullptr);
        EXPECT_EQ(0, Unzip(entries, c.keepFlag));
        int files = 0;
        for (const wchar_t* name : {L"Plugins\\Icons.dll", L"Other\\MYICONS.DLL.bak",
                                    L"Plugins\\icons.dl", L"icons.txt"})
            files += FileExists(target_ + name) ? 1 : 0;
        EXPECT_EQ(static_cast<int>(c.written.size()), files) << "keep " << c.keepFlag;
        for (const std::wstring& name : c.written)
            EXPECT_EQ("neu", ReadFileBytes(target_ + name)) << "keep " << c.keepFlag;
    }
}

TEST_F(ExtractEntriesTest, CrcMismatchStopsAndLeavesTheEarlierFiles)
{
    WriteFileBytes(target_ + L"first.txt", "alt");
    ZipEntry broken{"broken.txt", "beschaedigt", 0};
    broken.wrongCrc = true;
    EXPECT_EQ(-1, Unzip({{"first.txt", "eins"}, {"Neu/new.txt", "neu"}, broken, {"never.txt", "nie"}}));
    // the fresh files and the folder made on the way are gone, the earlier file stays
    EXPECT_EQ((std::vector<std::wstring>{L"first.txt"}), ListFolder(target_));
    EXPECT_EQ("alt", ReadFileBytes(target_ + L"first.txt"));
}

TEST_F(ExtractEntriesTest, UnsupportedMethodStops)
{
    std::string bytes = BuildZip({{"first.txt", "eins"}, {"bzip.txt", "gepackt", 0}, {"never.txt", "nie"}});
    // LZMA (14); minizip reads bzip2 (12) as raw bytes when built without it
    ASSERT_TRUE(PatchZipMethod(&bytes, "bzip.txt", 14));
    EXPECT_EQ(-1, UnzipBytes(bytes));
    EXPECT_TRUE(ListFolder(target_).empty());
}

TEST_F(ExtractEntriesTest, TruncatedEntryDataStops)
{
    std::string data(50000, 'q');
    uint32_t seed = 12345;
    for (size_t i = 0; i < data.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        data[i] = static_cast<char>(seed >> 24);
    }
    std::string bytes = BuildZip({{"whole.bin", data}});
    // damage the deflated stream in the middle, keep the directory intact
    size_t middle = 30 + 9 + 5000;
    for (size_t i = middle; i < middle + 64; ++i)
        bytes[i] = static_cast<char>(0xff);
    EXPECT_EQ(-1, UnzipBytes(bytes));
}

TEST_F(ExtractEntriesTest, ArchivesThatDoNotOpen)
{
    EXPECT_EQ(-1, UnzipBytes("this is not a zip archive, just text"));
    EXPECT_EQ(-1, UnzipBytes(""));
    std::string bytes = BuildZip({{"a.txt", "a"}});
    EXPECT_EQ(-1, UnzipBytes(bytes.substr(0, bytes.size() - 22)));  // no end record
    EXPECT_EQ(-1, UnzipToFolder((root_ + L"missing.zip").c_str(), target_.c_str(), 0));
    // none of these entered the target folder
    EXPECT_NE(target_, CurrentFolder());
    EXPECT_TRUE(ListFolder(target_).empty());
}

TEST_F(ExtractEntriesTest, TargetThatCannotBeEnteredAndArchiveWithoutEntries)
{
    std::string bytes = BuildZip({{"a.txt", "a"}});
    WriteFileBytes(archive_, bytes);
    EXPECT_EQ(-1, UnzipToFolder(archive_.c_str(), (root_ + L"nowhere\\").c_str(), 0));
    EXPECT_FALSE(FolderExists(root_ + L"nowhere"));
    // minizip does not find an end record at offset 0, so an archive without
    // entries opens only behind other bytes (as in a self-extracting program)
    EXPECT_EQ(-1, UnzipBytes(BuildZip({})));
    EXPECT_EQ(0, UnzipBytes("stub bytes ahead of the archive" + BuildZip({})));
    EXPECT_EQ(target_, CurrentFolder());
    EXPECT_TRUE(ListFolder(target_).empty());
}

TEST(MakeDirectoryPathTest, CreatesEveryMissingPart)
{
    std::wstring root = FreshFolder(L"mkdir");
    struct Case {
        std::wstring path;
        int result;
        std::wstring exists;  // a folder that must exist afterwards
    } cases[] = {
        {L"", 0, L""},
        {root + L"one", 1, root + L"one"},
        {root + L"one", 1, root + L"one"},  // existing
        {root + L"a\\b/c\\d", 1, root + L"a\\b\\c\\d"},
        {root + L"slash/", 1, root + L"slash"},
        {root + L"back\\", 1, root + L"back"},
        {L"Q:\\nirgends\\x", 0, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.result, MakeDirectoryPath(c.path.c_str())) << c.path;
        if (!c.exists.empty()) {
            EXPECT_TRUE(FolderExists(c.exists)) << c.exists;
        }
    }
}

TEST(SetFileTimeFromDosTest, SetsCreationAndWriteTimeKeepsAccessTime)
{
    std::wstring file = FreshFolder(L"stamp") + L"f.txt";
    WriteFileBytes(file, "x");
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME access = ExpectedUtc(2001, 9, 9, 1, 46, 40);
    SetFileTime(handle, nullptr, &access, nullptr);
    CloseHandle(handle);

    SetFileTimeFromDos(file.c_str(), DosDateTime(1999, 12, 31, 23, 59, 58));
    FileTimes times = TimesOf(file);
    unsigned long long expected = Ticks(ExpectedUtc(1999, 12, 31, 23, 59, 58));
    EXPECT_EQ(expected, times.created);
    EXPECT_EQ(expected, times.written);
    EXPECT_EQ(Ticks(access), times.accessed);

    // a file held without sharing keeps its times
    handle = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTimeFromDos(file.c_str(), DosDateTime(2010, 1, 1, 0, 0, 0));
    CloseHandle(handle);
    EXPECT_EQ(expected, TimesOf(file).written);
}

TEST(SetFileTimeFromDosTest, StampsThroughAWriteOnlyHandle)
{
    // the extraction stamps through the handle it wrote with ("wb": write access only)
    std::wstring file = FreshFolder(L"stamp_handle") + L"f.txt";
    WriteFileBytes(file, "x");
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    FILETIME access = ExpectedUtc(2001, 9, 9, 1, 46, 40);
    SetFileTime(handle, nullptr, &access, nullptr);
    EXPECT_TRUE(StampFileTimeFromDos(handle, DosDateTime(1980, 1, 1, 0, 0, 0)));
    CloseHandle(handle);

    FileTimes times = TimesOf(file);
    unsigned long long expected = Ticks(ExpectedUtc(1980, 1, 1, 0, 0, 0));
    EXPECT_EQ(expected, times.created);
    EXPECT_EQ(expected, times.written);
    EXPECT_EQ(Ticks(access), times.accessed);
}

}  // namespace
