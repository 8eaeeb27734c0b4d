// Every allocation of a silent installation, and of an update over one with
// the user's keys and another company's plug-in, fails in turn (the failing
// build of the setup program): no run crashes or hangs; a success leaves
// every product file in place (or names it in the log) with the user's keys
// and the plug-in; a failure leaves the earlier installation as it was.
#include "settings_util.h"
#include "wine_test_util.h"
#include "zip_builder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace {

using Tree = std::map<std::wstring, std::string>;  // relative name: bytes
const wchar_t kMark[] = L"C:\\ptest\\allocation.mark";
const wchar_t kLog[] = L"Photarium_Install.log";
const wchar_t kIni[] = L"photar64.ini";

void ReadTree(const std::wstring& root, const std::wstring& relative, Tree* tree)
{
    for (const std::wstring& name : ListFolder(root + relative)) {
        if (FolderExists(root + relative + name))
            ReadTree(root, relative + name + L"\\", tree);
        else
            (*tree)[relative + name] = ReadFileBytes(root + relative + name);
    }
}

Tree TreeWithout(const std::wstring& root, const std::wstring& left)
{
    Tree tree;
    ReadTree(root, L"", &tree);
    tree.erase(left);
    return tree;
}

void RestoreTree(const std::wstring& root, const Tree& tree)
{
    RemoveTree(root);
    for (const auto& [name, bytes] : tree) {
        for (size_t at = 0; (at = (root + name).find(L'\\', at + 1)) != std::wstring::npos;)
            CreateDirectoryW((root + name).substr(0, at).c_str(), nullptr);
        WriteFileBytes(root + name, bytes);
    }
}

TEST(AllocationFailure, EachAllocationFailsInTurn)
{
    Tree product;
    for (const ArchiveEntry& entry : ProductEntries())
        if (entry.name.back() != '/')
            product[WindowsName(entry.name)] = entry.data;
    const std::string plugin = ReadFileBytes(TestDataPath("icons/icons_429_other_company.dll"));
    ASSERT_FALSE(plugin.empty());

    for (bool update : {false, true}) {
        SCOPED_TRACE(update ? "update" : "new installation");
        std::wstring folder = FreshFolder(update ? L"update" : L"new");
        Tree earlier;
        if (update) {
            ASSERT_EQ(0, RunSetup(L"/silent /folder=" + folder, L"C:\\"));
            WritePrivateProfileStringW(L"Mine", L"Color", L"blue", (folder + kIni).c_str());
            WriteFileBytes(folder + L"Plugins\\Icons.dll", plugin);  // kept
            earlier = TreeWithout(folder, kLog);
        }
        long long n = 1;
        for (bool reached = true; reached && n < 5000; ++n) {
            RestoreTree(folder, earlier);
            DeleteFileW(kMark);
            SetEnvironmentVariableW(L"PHOTARIUM_FAIL_ALLOCATION", std::to_wstring(n).c_str());
            SetEnvironmentVariableW(L"PHOTARIUM_FAIL_ALLOCATION_MARK", kMark);
            int code = RunProgram(L"\"" + TestDataPath("failing/photar64_setup.exe") +
                                      L"\" /silent /folder=" + folder, L"C:\\", 60000);
            reached = FileExists(kMark);
            ASSERT_TRUE(code == 0 || code == 1) << "allocation " << n << ": exit code " << code;
            Tree now = TreeWithout(folder, kLog);
            if (code == 1) {
                EXPECT_TRUE(now == earlier) << "allocation " << n << ": the folder changed";
                continue;
            }
            // installed: each product file whole, or named in the log; nothing else left
            std::string log = ReadFileBytes(folder + kLog);
            now.erase(kIni);
            for (const auto& [name, bytes] : now)
                EXPECT_TRUE(product.count(name)) << "allocation " << n << ": " << Latin1(name) << " left";
            for (const auto& [name, bytes] : product) {
                bool kept = update && name == L"Plugins\\Icons.dll";
                EXPECT_TRUE(now[name] == (kept ? plugin : bytes) ||
                            log.find(Latin1(name)) != std::string::npos)
                    << "allocation " << n << ": " << Latin1(name);
            }
            if (update) {
                EXPECT_EQ(L"blue", ReadProfile(folder + kIni, L"Mine", L"Color")) << "allocation " << n;
            }
        }
        SetEnvironmentVariableW(L"PHOTARIUM_FAIL_ALLOCATION", nullptr);
        EXPECT_LT(n, 5000);
        std::printf("%s: %lld runs\n", update ? "update" : "new installation", n - 1);
    }
}

}  // namespace
