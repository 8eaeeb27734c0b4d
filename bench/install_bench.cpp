// Installation benchmark, run under Wine by scripts/bench. Each figure is the
// best of five runs (PHOTARIUM_BENCH_RUNS for more), measured side by side in
// one run of this program:
//  - a silent installation by the setup program carrying the 30 MB product
//    (and, for its fixed cost, by the setup program with the stand-in product),
//    against miniunz unpacking the same archive and against an NSIS installer
//    carrying the same files (/S), each a process of its own;
//  - the time from start until the first wizard page is visible, against the
//    NSIS installer's first page;
//  - the setup program's size without its archive, against the NSIS stub.
//
//   install_bench.exe BENCH_SETUP SETUP MINIUNZ ARCHIVE NSIS_PRODUCT NSIS_STUB SMALL_ARCHIVE
// (SETUP and SMALL_ARCHIVE: the setup program with the stand-in product and
// its archive, for the fixed cost of an installation and of starting miniunz)
#include "bench_util.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultRuns = 5;
constexpr DWORD kWindowTimeoutMs = 15000;
const wchar_t kBase[] = L"C:\\install_bench";
// the sheet shows its page's caption, "Photarium 64-bit Setup", and "Photarium
// 64-bit Installation" only while an installation runs
const wchar_t kOurCaption[] = L"Photarium 64-bit";
const wchar_t kNsisCaption[] = L"Photarium 64-bit Setup";

const wchar_t* const kTargets[] = {L"ours", L"small", L"smallminiunz", L"miniunz", L"nsis"};

// An empty folder below the base for the next contender. What the earlier
// contenders wrote is removed first and the removal committed to the disk,
// so that no contender pays for another's files being written back or freed.
std::wstring FreshFolder(const wchar_t* name)
{
    for (const wchar_t* target : kTargets)
        RemoveTree(std::wstring(kBase) + L"\\" + target);
    HANDLE base = CreateFileW(kBase, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (base != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(base);
        CloseHandle(base);
    }
    std::wstring folder = std::wstring(kBase) + L"\\" + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

struct Started {
    PROCESS_INFORMATION process = {};
    double start = 0;
    bool ok = false;
};

// Starts a program with its output going nowhere (miniunz names every file).
Started Start(const std::wstring& commandLine)
{
    Started started;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    std::wstring line = commandLine;
    started.start = Seconds();
    started.ok = CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, kBase,
                                &startup, &started.process) != FALSE;
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    return started;
}

void Finish(Started& started)
{
    if (!started.ok)
        return;
    CloseHandle(started.process.hThread);
    CloseHandle(started.process.hProcess);
}

// Seconds from start to end of a program that must exit with 0 and leave
// the viewer in the folder; -1 when not.
double TimeInstall(const std::wstring& commandLine, const std::wstring& folder)
{
    Started started = Start(commandLine);
    if (!started.ok)
        return -1;
    WaitForSingleObject(started.process.hProcess, INFINITE);
    double seconds = Seconds() - started.start;
    DWORD code = 1;
    GetExitCodeProcess(started.process.hProcess, &code);
    Finish(started);
    DWORD attributes = GetFileAttributesW((folder + L"\\photar64.exe").c_str());
    return code == 0 && attributes != INVALID_FILE_ATTRIBUTES ? seconds : -1;
}

// A visible top-level window of the process whose caption begins with the
// text (NSIS adds the page's name to its caption).
bool HasVisibleWindow(DWORD processId, const wchar_t* caption)
{
    struct Search {
        DWORD processId;
        const wchar_t* caption;
        bool found;
    } search = {processId, caption, false};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t text[256] = L"";
            if (owner != s->processId || !IsWindowVisible(window) ||
                !GetWindowTextW(window, text, 256) ||
                wcsncmp(text, s->caption, wcslen(s->caption)) != 0)
                return TRUE;
            s->found = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// When the expected window did not come: what the program showed instead.
void ReportWindows(DWORD processId, const wchar_t* caption)
{
    struct Search {
        DWORD processId;
        int count;
    } search = {processId, 0};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->processId)
                return TRUE;
            wchar_t text[256] = L"";
            GetWindowTextW(window, text, 256);
            std::fprintf(stderr, "  window \"%ls\" (%s)\n", text,
                         IsWindowVisible(window) ? "visible" : "hidden");
            ++s->count;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    std::fprintf(stderr, "  no visible window \"%ls\"; %d other window(s) of the program\n",
                 caption, search.count);
}

// Seconds from start until a visible top-level window of the program with
// this caption exists; -1 when the program ends or the time is up before.
double TimeFirstWindow(const std::wstring& commandLine, const wchar_t* caption)
{
    Started started = Start(commandLine);
    if (!started.ok)
        return -1;
    double seconds = -1;
    for (;;) {
        if (HasVisibleWindow(started.process.dwProcessId, caption)) {
            seconds = Seconds() - started.start;
            break;
        }
        if (WaitForSingleObject(started.process.hProcess, 1) == WAIT_OBJECT_0)
            break;
        if (Seconds() - started.start > kWindowTimeoutMs / 1000.0)
            break;
    }
    if (seconds < 0)
        ReportWindows(started.process.dwProcessId, caption);
    TerminateProcess(started.process.hProcess, 0);
    WaitForSingleObject(started.process.hProcess, 5000);
    Finish(started);
    return seconds;
}

long long FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The size of a program's "ZIP" 212 resource, read without running it.
long long PayloadSize(const std::wstring& path)
{
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return -1;
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(212), L"ZIP");
    long long size = resource ? SizeofResource(module, resource) : -1;
    FreeLibrary(module);
    return size;
}

struct Best {
    double seconds = 1e9;
    bool failed = false;
    void Add(double value)
    {
        if (value < 0)
            failed = true;
        else if (value < seconds)
            seconds = value;
    }
    bool Valid() const { return !failed && seconds < 1e9; }
};

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

void PrintRatio(const char* what, const Best& ours, const Best& other, double target)
{
    if (!ours.Valid() || !other.Valid()) {
        std::printf("  %-36s not measurable\n", what);
        return;
    }
    double ratio = ours.seconds / other.seconds;
    std::printf("  %-36s %.2f (target at most %.2f: %s)\n", what, ratio, target,
                ratio <= target ? "met" : "MISSED");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 8) {
        std::fprintf(stderr,
                     "usage: install_bench BENCH_SETUP SETUP MINIUNZ ARCHIVE NSIS_PRODUCT NSIS_STUB "
                     "SMALL_ARCHIVE\n");
        return 2;
    }
    const std::wstring benchSetup = argv[1], setup = argv[2], miniunz = argv[3], archive = argv[4],
                       nsisProduct = argv[5], nsisStub = argv[6], smallArchive = argv[7];
    CreateDirectoryW(kBase, nullptr);

    // warm-up: the first program with a window starts Wine's desktop process
    TimeFirstWindow(Quoted(nsisProduct), kNsisCaption);

    // more runs (PHOTARIUM_BENCH_RUNS) steady the best figures on a busy machine
    int runs = kDefaultRuns;
    wchar_t runsText[16];
    if (GetEnvironmentVariableW(L"PHOTARIUM_BENCH_RUNS", runsText, 16) > 0 && _wtoi(runsText) > 0)
        runs = _wtoi(runsText);

    Best silent, smallSilent, smallUnzip, unzip, nsis, ourPage, nsisPage;
    // The silent installations first, each run starting with another contender
    // so that none always follows the same one; then the first pages, whose
    // windows the desktop process is still tidying up after they are closed.
    struct Contender {
        const wchar_t* folder;
        std::wstring commandLine;  // the target folder is appended
        Best* best;
        double seconds;
    };
    std::vector<Contender> contenders = {
        {L"ours", Quoted(benchSetup) + L" /silent /folder=", &silent, 0},
        {L"small", Quoted(setup) + L" /silent /folder=", &smallSilent, 0},
        {L"smallminiunz", Quoted(miniunz) + L" -x -o " + Quoted(smallArchive) + L" -d ", &smallUnzip, 0},
        {L"miniunz", Quoted(miniunz) + L" -x -o " + Quoted(archive) + L" -d ", &unzip, 0},
        {L"nsis", Quoted(nsisProduct) + L" /S /D=", &nsis, 0},
    };
    for (int run = 1; run <= runs; ++run) {
        for (size_t i = 0; i < contenders.size(); ++i) {
            Contender& c = contenders[(i + static_cast<size_t>(run) - 1) % contenders.size()];
            std::wstring target = FreshFolder(c.folder);
            c.seconds = TimeInstall(c.commandLine + target, target);
            c.best->Add(c.seconds);
        }
        std::fprintf(stderr,
                     "run %d: silent install %.3f s (stand-in %.3f s), miniunz %.3f s (stand-in %.3f s), "
                     "NSIS /S %.3f s\n",
                     run, contenders[0].seconds, contenders[1].seconds, contenders[3].seconds,
                     contenders[2].seconds, contenders[4].seconds);
    }
    for (int run = 1; run <= runs; ++run) {
        double page, otherPage;
        if (run % 2 == 1) {
            page = TimeFirstWindow(Quoted(benchSetup), kOurCaption);
            otherPage = TimeFirstWindow(Quoted(nsisProduct), kNsisCaption);
        } else {
            otherPage = TimeFirstWindow(Quoted(nsisProduct), kNsisCaption);
            page = TimeFirstWindow(Quoted(benchSetup), kOurCaption);
        }
        std::fprintf(stderr, "run %d: first page %.3f s, NSIS first page %.3f s\n", run, page,
                     otherPage);
        ourPage.Add(page);
        nsisPage.Add(otherPage);
    }

    std::printf("best of %d runs (seconds; -1 or \"not measurable\": failed or no window)\n", runs);
    std::printf("  silent installation (30 MB product)  %.3f\n", silent.Valid() ? silent.seconds : -1);
    std::printf("  silent installation, stand-in        %.3f\n",
                smallSilent.Valid() ? smallSilent.seconds : -1);
    std::printf("  miniunz, stand-in archive            %.3f\n",
                smallUnzip.Valid() ? smallUnzip.seconds : -1);
    std::printf("  miniunz, same archive                %.3f\n", unzip.Valid() ? unzip.seconds : -1);
    std::printf("  NSIS installer /S, same files        %.3f\n", nsis.Valid() ? nsis.seconds : -1);
    std::printf("  first wizard page                    %.3f\n", ourPage.Valid() ? ourPage.seconds : -1);
    std::printf("  NSIS first page                      %.3f\n", nsisPage.Valid() ? nsisPage.seconds : -1);
    std::printf("ratios\n");
    PrintRatio("silent installation / miniunz", silent, unzip, 1.25);
    PrintRatio("silent installation / NSIS /S", silent, nsis, 1.0);
    PrintRatio("first page / NSIS first page", ourPage, nsisPage, 1.0);

    long long exe = FileSize(setup), payload = PayloadSize(setup), stub = FileSize(nsisStub);
    long long benchExe = FileSize(benchSetup), benchPayload = PayloadSize(benchSetup);
    std::printf("sizes (bytes)\n");
    std::printf("  setup program %lld, its archive %lld, without it %lld\n", exe, payload,
                exe - payload);
    std::printf("  benchmark setup program %lld, its archive %lld, without it %lld\n", benchExe,
                benchPayload, benchExe - benchPayload);
    std::printf("  NSIS installer without files %lld\n", stub);
    if (exe > 0 && payload > 0 && stub > 0)
        std::printf("  stub / NSIS stub %.2f; stub %.1f KB (target at most 150 KB: %s)\n",
                    static_cast<double>(exe - payload) / static_cast<double>(stub),
                    (exe - payload) / 1024.0, exe - payload <= 150 * 1024 ? "met" : "MISSED");

    SetCurrentDirectoryW(L"C:\\");
    RemoveTree(kBase);
    return 0;
}
