// The release under Wine: the signed copy and the manifest's switches (left
// by release_files in test-data/release) and a second product folder's setup
// program each install silently.
#include "registration_checks.h"
#include "wine_test_util.h"
#include "zip_builder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Starts program with arguments into a fresh target; its exit code.
int InstallWith(const std::wstring& program, const std::wstring& arguments,
                const std::wstring& target)
{
    RemoveTree(target);
    return RunProgram(L"\"" + program + L"\" " + arguments, FreshFolder(L"work"));
}

TEST(Release, SignedProgramInstalls)
{
    std::wstring target = L"C:\\ptest\\signiert\\";
    std::wstring program = TestDataPath("release/signed.exe");
    EXPECT_EQ(0, InstallWith(program, L"/silent /folder=" + target, target));
    EXPECT_TRUE(FileExists(target + L"Plugins\\Icons.dll"));
}

TEST(Release, ManifestSwitchesInstallIntoTheirFolderAsTheEntryPromises)
{
    // command line, folder, the uninstall entry's name, publisher and version, the log
    std::string bytes = ReadFileBytes(TestDataPath("release/manifest.txt"));  // ASCII
    std::wistringstream text(std::wstring(bytes.begin(), bytes.end()));
    std::vector<std::wstring> lines;
    for (std::wstring line; std::getline(text, line);)
        lines.push_back(line);
    ASSERT_EQ(6u, lines.size());
    EXPECT_EQ(0, InstallWith(SetupExePath(), lines[0], lines[1]));
    EXPECT_TRUE(FileExists(lines[1] + L"\\photar64.exe"));
    EXPECT_EQ(std::vector<std::string>{Latin1(L"Photarium 4.53 installiert in " + lines[1] + L"\\\n")},
              InstallLogTexts(lines[5].substr(0, lines[5].rfind(L'\\') + 1)));
    const wchar_t* key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Photarium64";
    const wchar_t* names[] = {L"InstallLocation", L"DisplayName", L"Publisher", L"DisplayVersion"};
    lines[1] += L"\\";  // InstallLocation ends in a backslash
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(lines[i + 1], ReadRegText(HKEY_LOCAL_MACHINE, key, names[i])) << names[i];
}

TEST(Release, SecondProductInstallsItsOwnFiles)
{
    std::wstring target = L"C:\\ptest\\zweites\\";
    std::wstring program = TestDataPath("product2-setup/photar64_setup.exe");
    EXPECT_EQ(0, InstallWith(program, L"/silent /folder=" + target, target));
    std::vector<ArchiveEntry> product;  // the uninstall entry measures these
    for (const wchar_t* name : {L"photar64.exe", L"pt_uninstall.exe", L"Plugins\\Icons.dll",
                                L"liesmich.txt", L"Hilfe\\kurz.txt"}) {
        ASSERT_TRUE(FileExists(target + name)) << name;
        product.push_back({"", ReadFileBytes(TestDataPath("product2") + L"\\" + name)});
        EXPECT_EQ(product.back().data, ReadFileBytes(target + name));
    }
    ExpectUninstallFacts(target, product);
    EXPECT_FALSE(FileExists(target + L"p_about.txt"));  // the stand-in product's
}

}  // namespace
