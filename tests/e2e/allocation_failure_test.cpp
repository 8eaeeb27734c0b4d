// Every allocation of a silent installation, and of an update over one with
// the user's keys and another company's plug-in, fails in turn (the failing
// build of the setup program): no run crashes or hangs; a success leaves
// every product file in place (or names it in the log) with the user's keys
// and the plug-in; a failure leaves the earlier installation as it was. The
// same build killed at each change of a name of an update.
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

Tree TreeWithout(const std::wstring& root, const std::wstring& left)
{
    Tree tree = FilesBelow(root);
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

Tree ProductTree()
{
    Tree product;
    for (const ArchiveEntry& entry : ProductEntries())
        if (entry.name.back() != '/')
            product[WindowsName(entry.name)] = entry.data;
    return product;
}

std::wstring FailingSetup() { return L"\"" + TestDataPath("failing/photar64_setup.exe") + L"\""; }

TEST(AllocationFailure, EachAllocationFailsInTurn)
{
    const Tree product = ProductTree();
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
        std::string outcomes;  // each run's exit code: the same on every sweep
        for (bool reached = true; reached && n < 5000; ++n) {
            RestoreTree(folder, earlier);
            DeleteFileW(kMark);
            SetEnvironmentVariableW(L"PHOTARIUM_FAIL_ALLOCATION", std::to_wstring(n).c_str());
            SetEnvironmentVariableW(L"PHOTARIUM_FAIL_ALLOCATION_MARK", kMark);
            int code = RunProgram(FailingSetup() + L" /silent /folder=" + folder, L"C:\\", 60000);
            reached = FileExists(kMark);
            ASSERT_TRUE(code == 0 || code == 1) << "allocation " << n << ": exit code " << code;
            outcomes += static_cast<char>('0' + code);
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
                const bool kept = update && name == L"Plugins\\Icons.dll";
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
        std::printf("%s: %lld runs, exit codes %s\n", update ? "update" : "new installation", n - 1,
                    outcomes.c_str());
    }
}

// An update killed at one change of a name after another: the next run ends with
// the whole installation, and nothing of the killed one is left.
TEST(InterruptedRuns, EachNameChangeKilledInTurn)
{
    const Tree product = ProductTree();
    const std::wstring folder = FreshFolder(L"killed");
    Tree earlier;
    for (const auto& [name, bytes] : product)
        earlier[name] = "alt " + Latin1(name);
    HANDLE reached = CreateEventW(nullptr, FALSE, FALSE, L"PhotariumNameChange");
    SetEnvironmentVariableW(L"PHOTARIUM_KILL_EVENT", L"PhotariumNameChange");
    // every third change: the two of one file and its neighbours' in turn
    int n = 1, lastKilled = 0;
    for (bool killed = true; killed && n < 500; n += 3) {
        RestoreTree(folder, earlier);
        SetEnvironmentVariableW(L"PHOTARIUM_KILL_AT_NAME_CHANGE", std::to_wstring(n).c_str());
        HANDLE run = StartProgram(FailingSetup() + L" /silent /folder=" + folder, L"C:\\");
        ASSERT_NE(nullptr, run);
        HANDLE either[] = {reached, run};
        killed = WaitForMultipleObjects(2, either, FALSE, 60000) == WAIT_OBJECT_0;
        if (killed) {
            TerminateProcess(run, 9);
            lastKilled = n;
        }
        EXPECT_EQ(killed ? 9 : 0, WaitForProgram(run)) << "change " << n;
        SetEnvironmentVariableW(L"PHOTARIUM_KILL_AT_NAME_CHANGE", nullptr);
        if (n == 22) {
            // A next run that cannot finish, since it finds a file held that
            // the killed one had not reached, puts the earlier files back.
            const Tree killedState = FilesBelow(folder);
            std::wstring untouched;
            for (const auto& [name, bytes] : earlier) {
                bool kept = false;  // its second name, "NAME.~ph<16 hex>.alt"
                for (auto next = killedState.upper_bound(name);
                     next != killedState.end() && next->first.rfind(name + L".~ph", 0) == 0; ++next)
                    kept = kept || next->first.size() == name.size() + 24;
                if (untouched.empty() && !kept && killedState.count(name) && killedState.at(name) == bytes)
                    untouched = name;
            }
            HANDLE held = CreateFileW((folder + untouched).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
            EXPECT_EQ(1, RunSetup(L"/silent /folder=" + folder, L"C:\\"));
            CloseHandle(held);
            EXPECT_TRUE(TreeWithout(folder, kLog) == earlier);
        }
        EXPECT_EQ(0, RunSetup(L"/silent /folder=" + folder, L"C:\\")) << "killed at change " << n;
        Tree now = TreeWithout(folder, kLog);
        now.erase(kIni);
        EXPECT_TRUE(now == product) << "killed at change " << n;
    }
    CloseHandle(reached);
    // a second name and a rename for each earlier file
    EXPECT_GE(static_cast<size_t>(lastKilled + 3), 2 * product.size());
}

}  // namespace
