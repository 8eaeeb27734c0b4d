#include "install/settings_file.h"

#include "install/settings_conversion.h"
#include "settings_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

namespace {

const std::string kLanguage = "[Language]\r\nDLL=DEUTSCH.DLL\r\nLang=Deutsch\r\n";
// the unit test program runs on a 1280x1024 screen at 96 pixels per inch
const std::string kToolbar = "[Toolbar]\r\nSkin=Obsidian_24.png\r\nSize=24\r\n";
const std::string kHeader = ConvertedBytes("");

class UpdateSettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = FreshFolder(L"unit_settings");
        target_ = root_ + L"App\\";
        CreateDirectoryW(target_.c_str(), nullptr);
    }

    std::wstring Update(const std::wstring& target, const std::wstring& settings)
    {
        PathText active;
        UpdateSettingsFile(InstallFolder(target.c_str()), settings.c_str(), active);
        return active.Get();
    }
    std::wstring root_;
    std::wstring target_;
};

TEST_F(UpdateSettingsFileTest, WithoutSettingsFolderTheTargetFileIsActive)
{
    // untrimmed and without a closing backslash, as the request may hold it:
    // the install folder is made of it first
    std::wstring active = Update(L"  " + root_ + L"App  ", L"");
    EXPECT_EQ(target_ + L"photar64.ini", active);
    EXPECT_EQ(kLanguage + kToolbar, ReadFileBytes(active));
    EXPECT_EQ(std::vector<std::wstring>{L"photar64.ini"}, ListFolder(target_));
}

TEST_F(UpdateSettingsFileTest, EmptySettingsFolderRemovesIniFolder)
{
    WriteFileBytes(target_ + L"photar64.ini",
                   "[Others]\r\nINI_Folder=D:\\Alt\r\nZoom=2\r\n[Toolbar]\r\nSkin=Mein.png\r\nSize=20\r\n");
    Update(target_, L"");
    EXPECT_EQ("[Others]\r\nZoom=2\r\n[Toolbar]\r\nSkin=Mein.png\r\nSize=20\r\n" + kLanguage,
              ReadFileBytes(target_ + L"photar64.ini"));
}

TEST_F(UpdateSettingsFileTest, SettingsFolderWithReference)
{
    SetEnvironmentVariableW(L"PHOTAR_TEST_BASE", root_.c_str());
    std::wstring active = Update(target_, L"%PHOTAR_TEST_BASE%Einstellungen");
    SetEnvironmentVariableW(L"PHOTAR_TEST_BASE", nullptr);
    EXPECT_EQ(root_ + L"Einstellungen\\photar64.ini", active);
    EXPECT_EQ(kLanguage + kToolbar, ReadFileBytes(active));
    EXPECT_EQ("[Others]\r\nINI_Folder=%PHOTAR_TEST_BASE%Einstellungen\r\n",
              ReadFileBytes(target_ + L"photar64.ini"));
}

TEST_F(UpdateSettingsFileTest, UndefinedReferenceLeavesRootOfCurrentDrive)
{
    // the test program starts on Z:, the Unix root; work on C: instead
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(root_.c_str()));
    RemoveTree(L"C:\\PhotarEinstellungen");
    std::wstring active = Update(target_, L"%PHOTAR_TEST_NIRGENDS%\\PhotarEinstellungen");
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(L"\\PhotarEinstellungen\\photar64.ini", active);
    EXPECT_EQ(kLanguage + kToolbar, ReadFileBytes(L"C:\\PhotarEinstellungen\\photar64.ini"));
    EXPECT_EQ("[Others]\r\nINI_Folder=%PHOTAR_TEST_NIRGENDS%\\PhotarEinstellungen\r\n",
              ReadFileBytes(target_ + L"photar64.ini"));
    RemoveTree(L"C:\\PhotarEinstellungen");
}

TEST_F(UpdateSettingsFileTest, FolderOfUndefinedReferencesIsNoSettingsFolder)
{
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring bare = std::wstring(windows) + L"\\photar64.ini";
    RemoveTree(bare);
    // nothing is left to name a folder: the settings stay in the target folder
    std::wstring active = Update(target_, L"%PHOTAR_TEST_NIRGENDS%%PHOTAR_TEST_AUCH_NICHT%");
    EXPECT_EQ(target_ + L"photar64.ini", active);
    EXPECT_EQ(kLanguage + kToolbar, ReadFileBytes(target_ + L"photar64.ini"));
    EXPECT_FALSE(FileExists(bare));
}

TEST_F(UpdateSettingsFileTest, PortableLayoutFillsTheProgramFile)
{
    struct Case {
        const wchar_t* folder;
        bool portable;
    } cases[] = {
        {L"Photarium64_App\\Data", true},
        {L"X\\Photarium32_App", true},
        {L"photarium64_app\\Data", false},  // exact case only
        {L"Photarium_App", false},
    };
    const std::string programRows = "[Language]\r\nDefaultLang=DEUTSCH.DLL\r\nLang=Deutsch\r\n"
                                    "[Toolbar]\r\nSkin=Obsidian_24.png\r\nSize=24\r\n";
    for (const Case& c : cases) {
        RemoveTree(target_ + L"photar64.ini");
        std::wstring folder = root_ + c.folder;
        std::wstring active = Update(target_, folder);
        EXPECT_EQ(folder + L"\\photar64.ini", active);
        EXPECT_EQ(kLanguage + kToolbar, ReadFileBytes(active)) << c.folder;
        std::string expected = "[Others]\r\nINI_Folder=" + Latin1(folder) + "\r\n";
        if (c.portable)
            expected += programRows;
        EXPECT_EQ(expected, ReadFileBytes(target_ + L"photar64.ini")) << c.folder;
    }
}

TEST_F(UpdateSettingsFileTest, PortableLayoutWithSkinChosenWritesOnlyLanguage)
{
    std::wstring folder = root_ + L"Photarium64_App";
    CreateDirectoryW(folder.c_str(), nullptr);
    WriteFileBytes(folder + L"\\photar64.ini", "[Toolbar]\r\nSkin=Mein.png\r\nSize=20\r\n");
    Update(target_, folder);
    EXPECT_EQ("[Toolbar]\r\nSkin=Mein.png\r\nSize=20\r\n" + kLanguage,
              ReadFileBytes(folder + L"\\photar64.ini"));
    EXPECT_EQ("[Others]\r\nINI_Folder=" + Latin1(folder) +
                  "\r\n[Language]\r\nDefaultLang=DEUTSCH.DLL\r\nLang=Deutsch\r\n",
              ReadFileBytes(target_ + L"photar64.ini"));
}

TEST_F(UpdateSettingsFileTest, EmptySkinIsReplacedAndUtf16Stays)
{
    std::string before = kHeader + Utf16Le(L"[Toolbar]\r\nSkin=\r\nSize=99\r\n");
    WriteFileBytes(target_ + L"photar64.ini", before);
    std::wstring active = Update(target_, L"");
    std::string after = ReadFileBytes(active);
    // the profile writer keeps the encoding and the header comment
    EXPECT_EQ(0u, after.find(ConvertedHeaderLine()));
    EXPECT_EQ(1u, CountOf(after, Utf16Le(L"UNICODE FILE")));
    EXPECT_EQ(L"Obsidian_24.png", ReadProfile(active, L"Toolbar", L"Skin"));
    EXPECT_EQ(L"24", ReadProfile(active, L"Toolbar", L"Size"));
    EXPECT_EQ(L"DEUTSCH.DLL", ReadProfile(active, L"Language", L"DLL"));
    EXPECT_EQ(L"Deutsch", ReadProfile(active, L"Language", L"Lang"));
}

// Opens path with "rb" and converts it.
int Convert(const std::wstring& path)
{
    ScopedFile source(_wfopen(path.c_str(), L"rb"));
    EXPECT_TRUE(source.IsValid()) << "cannot open";
    return source.IsValid() ? ConvertSettingsFileToUtf16(path.c_str(), std::move(source)) : -1;
}

class ConvertSettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = FreshFolder(L"unit_convert");
        file_ = folder_ + L"photar64.ini";
        temp_ = folder_ + L"photar64.ini_temp";
    }
    std::wstring folder_;
    std::wstring file_;
    std::wstring temp_;
};

TEST_F(ConvertSettingsFileTest, NarrowTextBecomesUtf16)
{
    ASSERT_EQ(1252u, GetACP());
    struct Case {
        std::string narrow;
        std::string converted;
    } cases[] = {
        {kLanguage + kToolbar, kHeader + Utf16Le(L"[Language]\r\nDLL=DEUTSCH.DLL\r\nLang=Deutsch\r\n"
                                                 L"[Toolbar]\r\nSkin=Obsidian_24.png\r\nSize=24\r\n")},
        // code page 1252: a-umlaut, the euro sign at 0x80, no line end at the close
        {"[Ordner]\r\nZiel=C:\\B\xE4ume\x80", kHeader + Utf16Le(L"[Ordner]\r\nZiel=C:\\B\u00E4ume\u20AC")},
        {"a\nb\rc\r\n", kHeader + Utf16Le(L"a\nb\rc\r\n")},  // line ends unchanged
        {"x", kHeader + Utf16Le(L"x")},                      // one byte: narrow text
        {"\xFF", kHeader + Utf16Le(L"\u00FF")},
        {"\xFE\xFF", kHeader + Utf16Le(L"\u00FE\u00FF")},  // big-endian mark is narrow text
        // the UTF-8 mark: converted from UTF-8, the mark dropped
        {"\xEF\xBB\xBF[General]\r\nUser=J\xC3\xBCrgen\r\n",
         kHeader + Utf16Le(L"[General]\r\nUser=J\u00FCrgen\r\n")},
        // a piece never ends inside a sequence: the euro sign crosses byte 2047
        {"\xEF\xBB\xBF" + std::string(2045, 'a') + "\xE2\x82\xAC",
         kHeader + Utf16Le(std::wstring(2045, L'a') + L"\u20AC")},
    };
    for (const Case& c : cases) {
        WriteFileBytes(file_, c.narrow);
        EXPECT_EQ(1, Convert(file_));
        EXPECT_EQ(c.converted, ReadFileBytes(file_));
        EXPECT_FALSE(FileExists(temp_));
    }
}

TEST_F(ConvertSettingsFileTest, LongLinesAreConvertedInPieces)
{
    std::string line(5000, 'q');
    line[2046] = 'A';  // last byte of the first piece
    line[2047] = 'B';  // first byte of the second
    std::string narrow = "[S]\r\nk=" + line + "\r\nnext=1\r\n";
    WriteFileBytes(file_, narrow);
    EXPECT_EQ(1, Convert(file_));
    EXPECT_EQ(ConvertedBytes(narrow), ReadFileBytes(file_));
}

TEST_F(ConvertSettingsFileTest, AlreadyUtf16IsLeftAlone)
{
    std::string utf16 = kHeader + Utf16Le(L"[Language]\r\nLang=Deutsch\r\n");
    WriteFileBytes(file_, utf16);
    EXPECT_EQ(1, Convert(file_));
    EXPECT_EQ(utf16, ReadFileBytes(file_));
    EXPECT_FALSE(FileExists(temp_));
}

TEST_F(ConvertSettingsFileTest, EmptyFileConvertsNothingAndKeepsTemporary)
{
    WriteFileBytes(file_, "");
    EXPECT_EQ(1, Convert(file_));
    EXPECT_EQ("", ReadFileBytes(file_));
    EXPECT_EQ(kHeader, ReadFileBytes(temp_));
}

TEST_F(ConvertSettingsFileTest, TemporaryFileThatCannotBeMadeConvertsNothing)
{
    CreateDirectoryW(temp_.c_str(), nullptr);  // a folder in its place
    WriteFileBytes(file_, kLanguage);
    EXPECT_EQ(1, Convert(file_));
    EXPECT_EQ(kLanguage, ReadFileBytes(file_));
}

TEST_F(ConvertSettingsFileTest, FailedReplacementKeepsBothFiles)
{
    WriteFileBytes(file_, kLanguage);
    // readers welcome, but nobody may delete or rename it
    HANDLE holder = CreateFileW(file_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_EQ(0, Convert(file_));
    CloseHandle(holder);
    EXPECT_EQ(kLanguage, ReadFileBytes(file_));
    EXPECT_EQ(ConvertedBytes(kLanguage), ReadFileBytes(temp_));
}

TEST(DetectSettingsEncodingTest, MarksAndZeroBytes)
{
    using E = SettingsEncoding;
    const std::pair<std::string, E> cases[] = {
        {"\xFF\xFE[\0", E::kUtf16}, {"\xEF\xBB\xBF[A]", E::kUtf8WithMark}, {"\xEF\xBB", E::kNarrow},
        {Utf16Le(L"[General]\r\nUser=J\u00FCrgen"), E::kUtf16WithoutMark},
        {"[General]\r\nUser=J\xFCrgen", E::kNarrow}, {"", E::kNarrow},
        {std::string("[\0AB", 4), E::kNarrow},  // one zero among many
        {std::string("\0[", 2), E::kNarrow},    // big-endian order
        {std::string("\xFE\xFF\0[", 4), E::kUtf16BigEndian},
        // any script: Chinese, Cyrillic, Greek, box drawing, Korean; line feeds alone
        {Utf16Le(L"[Recent]\r\nFile1=C:\\Bilder\\\u4E00\u6708\\a.jpg"), E::kUtf16WithoutMark},
        {Utf16Le(L"[\u0424\u043E\u0442\u043E]\n\u0400\u0418=\u0391\u2500\u2500\n"), E::kUtf16WithoutMark},
        {Utf16Le(L"; " + std::wstring(300, L'\uAC00') + L"\r\n[A]"), E::kUtf16WithoutMark},
        {std::string("[A]\r\nName=Jo\0hn\r\nC=\0\0x", 22), E::kNarrow},  // stray zeros
        {"[A]\r\nk=vv\r\n" + std::string(64, '\0'), E::kNarrow},   // a zeroed end
        {Utf16Be(L"[General]\r\nUser=J\u00FCrgen"), E::kUtf16BigEndianWithoutMark},
        {std::string("[A]\r\n\0k=v\r\n\0m=w\r\n", 18), E::kNarrow},  // line feeds at even offsets
        {std::string("[A]\nk=vv\n\0\0m=w\n\0\0n=x\n", 21), E::kNarrow},  // zeros only in runs
        {Utf16Le(L"abc") + "\r\n\r\n", E::kUndecided},  // as much UTF-16 as narrow text
    };
    for (const auto& c : cases) {
        auto bytes = reinterpret_cast<const unsigned char*>(c.first.data());
        EXPECT_EQ(c.second, DetectSettingsEncoding(bytes, c.first.size())) << c.first;
    }
}

TEST(TempConversionPathTest, DriveAndFolderOfTheActiveFile)
{
    struct Case {
        std::wstring active;
        std::wstring temp;
    } cases[] = {
        {L"C:\\Photarium\\photar64.ini", L"C:\\Photarium\\photar64.ini_temp"},
        {L"\\Daten\\photar64.ini", L"\\Daten\\photar64.ini_temp"},
        {L"photar64.ini", L"photar64.ini_temp"},
        {L"C:photar64.ini", L"C:\\photar64.ini_temp"},  // the drive alone gets a backslash
        {L"C:/A/photar64.ini", L"C:/A/\\photar64.ini_temp"},
        {L"\\\\server\\share\\photar64.ini", L"\\\\server\\share\\photar64.ini_temp"},
        {L"C:\\" + std::wstring(240, L'd') + L"\\photar64.ini", L""},  // does not fit
    };
    for (const Case& c : cases) {
        PathText out;
        out.Assign(L"old");
        EXPECT_EQ(!c.temp.empty(), FormTempConversionPath(c.active.c_str(), out));
        EXPECT_EQ(c.temp, std::wstring(out.Get())) << c.active;
    }
}

}  // namespace
