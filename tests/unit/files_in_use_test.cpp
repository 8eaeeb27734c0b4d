// Whether a process the Restart Manager lists runs the viewer: real processes.
// Wine's Restart Manager lists none, so the list itself only Windows shows.
#include "install/files_in_use.h"

#include "wine_test_util.h"
#include "wizard_ui.h"

#include <gtest/gtest.h>

TEST(FilesInUseTest, OnlyAProcessRunningTheProgramFileItselfIsTheViewer)
{
    const std::wstring a = FreshFolder(L"inuse_a"), b = FreshFolder(L"inuse_b"), link = L"C:\\ptest\\inuse_link";
    for (const std::wstring& folder : {a, b})
        ASSERT_TRUE(CopyFileW(HelperPath(L"fake_viewer.exe").c_str(), (folder + L"photar64.exe").c_str(), FALSE));
    ASSERT_TRUE(SetUnixLink(link, a));
    HANDLE viewer = StartProgram(L"\"" + a + L"photar64.exe\"", a);
    ASSERT_NE(nullptr, viewer);
    FILETIME started = {}, own = {}, unused[3];
    GetProcessTimes(viewer, &started, unused, unused + 1, unused + 2);
    GetProcessTimes(GetCurrentProcess(), &own, unused, unused + 1, unused + 2);
    FILETIME later = started;
    later.dwHighDateTime += 1;
    const DWORD id = GetProcessId(viewer);
    struct Case {
        DWORD id;
        const FILETIME& started;
        std::wstring program;
        bool runs;
    } cases[] = {
        {id, started, a + L"photar64.exe", true},
        {id, started, link + L"\\PHOTAR64.EXE", true},  // the folder by a link, another case
        {id, started, b + L"photar64.exe", false},      // an equal copy elsewhere
        {id, started, a + L"missing.exe", false},
        {id, later, a + L"photar64.exe", false},        // a later process given the same id
        {GetCurrentProcessId(), own, a + L"photar64.exe", false},  // a holder, running another
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.runs, MayRunProgram(c.id, c.started, c.program.c_str())) << c.program;
    TerminateProcess(viewer, 0);
    WaitForProgram(viewer);
    SetUnixLink(link, L"");
}
