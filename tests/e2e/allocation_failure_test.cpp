// Every allocation of a silent installation, and of an update over an
// installation with the user's settings and a kept plug-in, fails in turn
// (the setup program's failing build): no run crashes or hangs; a success
// leaves the viewer complete or names what is missing in the log, with the
// user's keys and the plug-in intact; a failure leaves the earlier
// installation as it was.
#include "settings_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using Tree = std::map<std::wstring, std::string>;

const wchar_t kMark[] = L"C:\\ptest\\allocation.mark";
const wchar_t kLog[] = L"Photarium_Install.log";
const wchar_t kSettings[] = L"photar64.ini";
constexpr long long kMostAllocations = 5000;

// The files below folder by their names relative to it, with their bytes.
void ReadTree(const std::wstring& folder, const std::wstring& relative, Tree* tree)
{
    for (const std::wstring& name : ListFolder(folder + relative)) {
        std::wstring path = relative + name;
        if (FolderExists(folder + path))
            ReadTree(folder, path + L"\\", tree);
        else
            (*tree)[path] = ReadFileBytes(folder + path);
    }
}

Tree ReadTree(const std::wstring& folder)
{
    Tree tree;
    ReadTree(folder, L"", &tree);
    return tree;
}

void WriteTree(const std::wstring& folder, const Tree& tree)
{
    RemoveTree(folder);
    for (const auto& [name, bytes] : tree) {
        std::wstring path = folder + name;
        for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos;
             slash = path.find(L'\\', slash + 1))
            CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
        WriteFileBytes(path, bytes);
    }
}

Tree Without(Tree tree, std::initializer_list<const wchar_t*> names)
{
    for (const wchar_t* name : names)
        tree.erase(name);
    return tree;
}

// Runs the failing build with its n-th allocation failing; reached tells
// whether the run made that many allocations.
int RunFailing(long long n, const std::wstring& folder, bool* reached)
{
    DeleteFileW(kMark);
    SetEnvironmentVariableW(L"PHOTARIUM_FAIL_ALLOCATION", std::to_wstring(n).c_str());
    SetEnvironmentVariableW(L"PHOTARIUM_FAIL_ALLOCATION_MARK", kMark);
    int code = RunProgram(L"\"" + TestDataPath("failing/photar64_setup.exe") +
                              L"\" /silent /folder=" + folder,
                          L"C:\\", 60000);
    SetEnvironmentVariableW(L"PHOTARIUM_FAIL_ALLOCATION", nullptr);
    *reached = FileExists(kMark);
    return code;
}

// After a run that reported success: every file of the product is there
// with its bytes (the plug-in as expected), or the log names it.
void ExpectComplete(const std::wstring& folder, const Tree& product, const std::string& plugin,
                    long long n)
{
    std::string log = ReadFileBytes(folder + kLog);
    Tree installed = ReadTree(folder);
    for (const auto& [name, bytes] : Without(installed, {kLog, kSettings}))
        EXPECT_TRUE(product.count(name))
            << "allocation " << n << ": " << std::string(name.begin(), name.end()) << " left over";
    for (const auto& [name, bytes] : product) {
        auto found = installed.find(name);
        const std::string& expected = name == L"Plugins\\Icons.dll" ? plugin : bytes;
        if (found == installed.end() || found->second != expected) {
            EXPECT_NE(log.find(Latin1(name)), std::string::npos)
                << "allocation " << n << ": " << std::string(name.begin(), name.end())
                << (found == installed.end() ? " missing" : " differs") << ", not in the log";
        }
    }
}

class AllocationFailureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::wstring reference = FreshFolder(L"reference");
        ASSERT_EQ(0, RunSetup(L"/silent /folder=" + reference, L"C:\\"));
        product_ = Without(ReadTree(reference), {kLog, kSettings});
        ASSERT_GT(product_.size(), 10u);
    }

    Tree product_;
};

TEST_F(AllocationFailureTest, FreshInstallationIsCompleteOrFails)
{
    long long n = 1;
    for (bool reached = true; reached && n < kMostAllocations; ++n) {
        std::wstring folder = FreshFolder(L"fresh");
        int code = RunFailing(n, folder, &reached);
        ASSERT_TRUE(code == 0 || code == 1) << "allocation " << n << ": exit code " << code;
        if (code == 0)
            ExpectComplete(folder, product_, product_[L"Plugins\\Icons.dll"], n);
    }
    EXPECT_LT(n, kMostAllocations);
    std::printf("fresh installation: %lld runs\n", n - 1);
}

TEST_F(AllocationFailureTest, UpdateKeepsUserDataOrEarlierInstallation)
{
    std::wstring folder = FreshFolder(L"update");
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + folder, L"C:\\"));
    // the user's own keys, and a plug-in of another company, which is kept
    WritePrivateProfileStringW(L"Recent", L"File1", L"C:\\Bilder\\a.jpg",
                               (folder + kSettings).c_str());
    WritePrivateProfileStringW(L"Mine", L"Color", L"blue", (folder + kSettings).c_str());
    std::string plugin = ReadFileBytes(TestDataPath("icons/icons_429_other_company.dll"));
    ASSERT_FALSE(plugin.empty());
    WriteFileBytes(folder + L"Plugins\\Icons.dll", plugin);
    DeleteFileW((folder + kLog).c_str());
    const Tree earlier = ReadTree(folder);

    long long n = 1;
    for (bool reached = true; reached && n < kMostAllocations; ++n) {
        WriteTree(folder, earlier);
        int code = RunFailing(n, folder, &reached);
        ASSERT_TRUE(code == 0 || code == 1) << "allocation " << n << ": exit code " << code;
        if (code == 0) {
            ExpectComplete(folder, product_, plugin, n);
            EXPECT_EQ(L"C:\\Bilder\\a.jpg", ReadProfile(folder + kSettings, L"Recent", L"File1"))
                << "allocation " << n;
            EXPECT_EQ(L"blue", ReadProfile(folder + kSettings, L"Mine", L"Color"))
                << "allocation " << n;
        } else {
            EXPECT_TRUE(Without(ReadTree(folder), {kLog}) == earlier)
                << "allocation " << n << ": the earlier installation changed";
        }
    }
    EXPECT_LT(n, kMostAllocations);
    std::printf("update: %lld runs\n", n - 1);
}

}  // namespace
