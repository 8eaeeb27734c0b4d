// Unpacks the benchmark product with the setup program's payload step and
// with minizip's miniunz, best of five runs each, and prints the ratio.
#include "install/extract_payload.h"
#include "install/unzip_entries.h"

#include "bench_util.h"

#include <windows.h>

#include <cstdio>
#include <string>

extern "C" int miniunz_main(int argc, char* argv[]);

namespace {

constexpr int kRuns = 5;

// A fresh empty folder; the current folder is moved off it first.
std::wstring FreshFolder(const std::wstring& base, const wchar_t* name)
{
    SetCurrentDirectoryW(base.c_str());
    std::wstring folder = base + name;
    RemoveTree(folder);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

bool SaveResource(const std::wstring& path)
{
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(212), L"ZIP");
    HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    DWORD size = resource ? SizeofResource(nullptr, resource) : 0;
    if (!bytes || size == 0)
        return false;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool ok = file != INVALID_HANDLE_VALUE && WriteFile(file, bytes, size, &written, nullptr) &&
              written == size;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    std::printf("archive: %lu bytes\n", static_cast<unsigned long>(size));
    return ok;
}

}  // namespace

int main()
{
    const std::wstring base = L"C:\\extract_bench\\";
    CreateDirectoryW(base.c_str(), nullptr);
    const std::wstring archive = base + L"payload.zip";
    if (!SaveResource(archive)) {
        std::printf("no payload resource\n");
        return 1;
    }
    std::string narrowArchive(archive.begin(), archive.end());

    double bestStep = 1e9, bestUnzip = 1e9, bestMiniunz = 1e9;
    for (int run = 0; run < kRuns; ++run) {
        std::wstring target = FreshFolder(base, L"step");
        double start = Seconds();
        int result = ExtractPayload(target.c_str(), 0);
        double step = Seconds() - start;

        target = FreshFolder(base, L"unzip");
        start = Seconds();
        result |= UnzipToFolder(archive.c_str(), target.c_str(), 0);
        double unzip = Seconds() - start;

        target = FreshFolder(base, L"miniunz");
        std::string narrowTarget(target.begin(), target.end());
        char program[] = "miniunz", extract[] = "-x", overwrite[] = "-o", into[] = "-d";
        char* argv[] = {program, extract, overwrite, &narrowArchive[0], into, &narrowTarget[0], nullptr};
        // miniunz names every file it writes; keep that out of the timing's way
        std::fflush(stdout);
        FILE* quiet = std::freopen("NUL", "w", stdout);
        start = Seconds();
        int miniunzResult = miniunz_main(6, argv);
        double miniunz = Seconds() - start;
        if (quiet)
            std::freopen("CONOUT$", "w", stdout);

        if (result != 0 || miniunzResult != 0) {
            std::fprintf(stderr, "run %d failed: ours %d, miniunz %d\n", run, result, miniunzResult);
            return 1;
        }
        std::fprintf(stderr, "run %d: payload step %.3f s, UnzipToFolder %.3f s, miniunz %.3f s\n",
                     run + 1, step, unzip, miniunz);
        bestStep = step < bestStep ? step : bestStep;
        bestUnzip = unzip < bestUnzip ? unzip : bestUnzip;
        bestMiniunz = miniunz < bestMiniunz ? miniunz : bestMiniunz;
    }
    std::fprintf(stderr, "best of %d: payload step %.3f s, UnzipToFolder %.3f s, miniunz %.3f s\n",
                 kRuns, bestStep, bestUnzip, bestMiniunz);
    std::fprintf(stderr, "ratio payload step / miniunz: %.2f\n", bestStep / bestMiniunz);
    std::fprintf(stderr, "ratio UnzipToFolder / miniunz: %.2f\n", bestUnzip / bestMiniunz);
    SetCurrentDirectoryW(L"C:\\");
    RemoveTree(L"C:\\extract_bench");
    return 0;
}
