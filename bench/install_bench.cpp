// Installation benchmark, run under Wine by scripts/bench. Each contender is a
// process of its own, timed in PHOTARIUM_BENCH_RUNS runs (15 unless set):
//  - a silent installation by the setup program carrying the 30 MB product
//    and the NSIS installer carrying the same files (/S), back to back in each
//    run, alternating which goes first: the figure is the median of the runs'
//    ratios, with their 10th and 90th percentile;
//  - its variable cost (30 MB run minus the run of the setup program with the
//    stand-in product) against the floor: copy_floor writing the same unpacked
//    files, minus copy_floor writing the stand-in's;
//  - miniunz unpacking the same archive (and the stand-in's);
//  - the time from start until the first wizard page is visible, against the
//    NSIS installer's first page, in pairs as well;
//  - the setup program's size without its archive, against the NSIS stub;
//  - with EARLIER_SETUP, an earlier build's setup program with the stand-in
//    product, in pairs with this build's, so that a change is timed before
//    and after in one invocation.
// The best of the runs is printed beside the medians.
//
//   install_bench.exe BENCH_SETUP SETUP MINIUNZ ARCHIVE NSIS_PRODUCT NSIS_STUB SMALL_ARCHIVE
//                     COPY_FLOOR PRODUCT_FOLDER SMALL_PRODUCT_FOLDER [EARLIER_SETUP]
// (SETUP, SMALL_ARCHIVE and SMALL_PRODUCT_FOLDER: the setup program with the
// stand-in product, its archive and its unpacked files, for the fixed costs)
#include "bench_util.h"

#include <windows.h>

#include <cstdio>
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int kDefaultRuns = 15;
constexpr DWORD kWindowTimeoutMs = 15000;
const wchar_t kBase[] = L"C:\\install_bench";
// the sheet shows its page's caption, "Photarium 64-bit Setup", and "Photarium
// 64-bit Installation" only while an installation runs
const wchar_t kOurCaption[] = L"Photarium 64-bit";
const wchar_t kNsisCaption[] = L"Photarium 64-bit Setup";

const wchar_t* const kTargets[] = {L"ours",    L"small", L"smallminiunz", L"miniunz",
                                   L"nsis",    L"floor", L"smallfloor"};

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

// The times of one contender over the runs; a failed run spoils its figures.
struct Series {
    std::vector<double> values;
    bool failed = false;
    void Add(double value)
    {
        if (value < 0)
            failed = true;
        else
            values.push_back(value);
    }
    bool Valid() const { return !failed && !values.empty(); }
    double Best() const { return Valid() ? *std::min_element(values.begin(), values.end()) : -1; }
};

// The value below which that share of the sorted values lies (nearest rank);
// the median of an even count is the mean of the middle two.
double Percentile(std::vector<double> values, int percent)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    if (percent == 50)
        return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    size_t rank = (n * static_cast<size_t>(percent) + 99) / 100;
    return values[rank ? rank - 1 : 0];
}

// Per run: ours / other, or (ours - ours' fixed cost) / (other - other's
// fixed cost) when both fixed costs are given. Empty when one run failed.
std::vector<double> RunRatios(const Series& ours, const Series& other,
                              const Series* oursFixed = nullptr, const Series* otherFixed = nullptr)
{
    std::vector<double> ratios;
    if (!ours.Valid() || !other.Valid() || (oursFixed && !oursFixed->Valid()) ||
        (otherFixed && !otherFixed->Valid()))
        return ratios;
    for (size_t i = 0; i < ours.values.size() && i < other.values.size(); ++i) {
        double a = ours.values[i] - (oursFixed ? oursFixed->values[i] : 0);
        double b = other.values[i] - (otherFixed ? otherFixed->values[i] : 0);
        if (b > 0)
            ratios.push_back(a / b);
    }
    return ratios;
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

void PrintMedianRatio(const char* what, const std::vector<double>& ratios, double target)
{
    if (ratios.empty()) {
        std::printf("  %-36s not measurable\n", what);
        return;
    }
    double median = Percentile(ratios, 50);
    std::printf("  %-36s %.2f (10th-90th percentile %.2f-%.2f; target at most %.2f: %s)\n", what,
                median, Percentile(ratios, 10), Percentile(ratios, 90), target,
                median <= target ? "met" : "MISSED");
}

void PrintBestRatio(const char* what, const Series& ours, const Series& other, double target)
{
    if (!ours.Valid() || !other.Valid()) {
        std::printf("  %-36s not measurable\n", what);
        return;
    }
    double ratio = ours.Best() / other.Best();
    std::printf("  %-36s %.2f (target at most %.2f: %s)\n", what, ratio, target,
                ratio <= target ? "met" : "MISSED");
}

void PrintFigures(const char* what, const Series& series)
{
    if (!series.Valid())
        std::printf("  %-36s failed\n", what);
    else
        std::printf("  %-36s %.3f %.3f\n", what, Percentile(series.values, 50), series.Best());
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 11 && argc != 12) {
        std::fprintf(stderr,
                     "usage: install_bench BENCH_SETUP SETUP MINIUNZ ARCHIVE NSIS_PRODUCT NSIS_STUB "
                     "SMALL_ARCHIVE COPY_FLOOR PRODUCT_FOLDER SMALL_PRODUCT_FOLDER "
                     "[EARLIER_SETUP]\n");
        return 2;
    }
    const bool earlier = argc == 12;
    const std::wstring benchSetup = argv[1], setup = argv[2], miniunz = argv[3], archive = argv[4],
                       nsisProduct = argv[5], nsisStub = argv[6], smallArchive = argv[7],
                       floor = argv[8], product = argv[9], smallProduct = argv[10];
    CreateDirectoryW(kBase, nullptr);

    // warm-up: the first program with a window starts Wine's desktop process
    TimeFirstWindow(Quoted(nsisProduct), kNsisCaption);

    int runs = kDefaultRuns;
    wchar_t runsText[16];
    if (GetEnvironmentVariableW(L"PHOTARIUM_BENCH_RUNS", runsText, 16) > 0 && _wtoi(runsText) > 0)
        runs = _wtoi(runsText);

    Series silent, smallSilent, smallUnzip, unzip, nsis, copy, smallCopy, ourPage, nsisPage,
        earlierSilent;
    // The silent installations first; then the first pages, whose windows the
    // desktop process is still tidying up after they are closed.
    struct Contender {
        const wchar_t* folder;
        std::wstring commandLine;  // the target folder is appended
        Series* series;
        double seconds;
    };
    std::vector<Contender> contenders = {
        {L"ours", Quoted(benchSetup) + L" /silent /folder=", &silent, 0},
        {L"nsis", Quoted(nsisProduct) + L" /S /D=", &nsis, 0},
        {L"small", Quoted(setup) + L" /silent /folder=", &smallSilent, 0},
        {L"floor", Quoted(floor) + L" " + Quoted(product) + L" ", &copy, 0},
        {L"smallfloor", Quoted(floor) + L" " + Quoted(smallProduct) + L" ", &smallCopy, 0},
        {L"smallminiunz", Quoted(miniunz) + L" -x -o " + Quoted(smallArchive) + L" -d ", &smallUnzip, 0},
        {L"miniunz", Quoted(miniunz) + L" -x -o " + Quoted(archive) + L" -d ", &unzip, 0},
    };
    if (earlier)
        contenders.push_back({L"earlier", Quoted(argv[11]) + L" /silent /folder=", &earlierSilent, 0});
    const size_t kEarlier = 7;
    // Ours and NSIS's (the first two) always run back to back, the one first
    // in one run, the other in the next, and so do the stand-in and the
    // earlier build's; the rest start one place later each run, so that none
    // always follows the same contender.
    const size_t units = kEarlier - 1;  // the first pair is one unit
    for (int run = 1; run <= runs; ++run) {
        for (size_t u = 0; u < units; ++u) {
            size_t unit = (u + static_cast<size_t>(run) - 1) % units;
            std::vector<size_t> order;
            if (unit == 0)
                order = run % 2 ? std::vector<size_t>{0, 1} : std::vector<size_t>{1, 0};
            else if (unit == 1 && earlier)
                order = run % 2 ? std::vector<size_t>{2, kEarlier} : std::vector<size_t>{kEarlier, 2};
            else
                order = {unit + 1};
            for (size_t i : order) {
                Contender& c = contenders[i];
                std::wstring target = FreshFolder(c.folder);
                c.seconds = TimeInstall(c.commandLine + target, target);
                c.series->Add(c.seconds);
            }
        }
        std::fprintf(stderr,
                     "run %d: silent install %.3f s (stand-in %.3f s), NSIS /S %.3f s (%s first), "
                     "floor %.3f s (stand-in %.3f s), miniunz %.3f s (stand-in %.3f s)\n",
                     run, contenders[0].seconds, contenders[2].seconds, contenders[1].seconds,
                     run % 2 ? "ours" : "NSIS", contenders[3].seconds, contenders[4].seconds,
                     contenders[6].seconds, contenders[5].seconds);
        if (earlier)
            std::fprintf(stderr, "run %d: stand-in %.3f s, earlier build's %.3f s\n", run,
                         contenders[2].seconds, contenders[kEarlier].seconds);
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

    std::printf("%d runs; medians of the runs' ratios (ours and NSIS back to back in each run)\n",
                runs);
    PrintMedianRatio("silent installation / NSIS /S", RunRatios(silent, nsis), 0.75);
    PrintMedianRatio("variable cost / floor", RunRatios(silent, copy, &smallSilent, &smallCopy),
                     1.5);
    PrintMedianRatio("first page / NSIS first page", RunRatios(ourPage, nsisPage), 0.7);
    if (earlier)
        PrintMedianRatio("stand-in / earlier build's", RunRatios(smallSilent, earlierSilent), 1.0);
    std::printf("  (variable cost: the benchmark product's installation minus the stand-in's;\n"
                "  floor: copying its unpacked files minus copying the stand-in's)\n");
    std::printf("seconds: median, best (-1 or \"failed\": a run failed or showed no window)\n");
    PrintFigures("silent installation of the product", silent);
    PrintFigures("silent installation, stand-in", smallSilent);
    PrintFigures("NSIS installer /S, same files", nsis);
    if (earlier)
        PrintFigures("earlier build, stand-in", earlierSilent);
    PrintFigures("floor: copying the unpacked files", copy);
    PrintFigures("floor, stand-in's files", smallCopy);
    PrintFigures("miniunz, same archive", unzip);
    PrintFigures("miniunz, stand-in archive", smallUnzip);
    PrintFigures("first wizard page", ourPage);
    PrintFigures("NSIS first page", nsisPage);
    std::printf("ratios of the best figures\n");
    PrintBestRatio("silent installation / miniunz", silent, unzip, 1.25);
    PrintBestRatio("silent installation / NSIS /S", silent, nsis, 1.0);
    PrintBestRatio("first page / NSIS first page", ourPage, nsisPage, 1.0);

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
