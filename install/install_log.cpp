#include "install/install_log.h"

#include "install/log_text.h"
#include "install/plain_file.h"
#include "platform/folder_path.h"
#include "platform/text_format.h"

#include "product_facts.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <new>

namespace {

const wchar_t kLogName[] = PHOTARIUM_INSTALL_LOG;
constexpr size_t kLogPathUnits = 560;

bool AppendEntry(const wchar_t* path, const wchar_t* text)
{
    // The start folder may be writable by others while this program runs
    // elevated: a link at the log's name takes no entry.
    bool created = false;
    HANDLE file = OpenPlainFile(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                OPEN_ALWAYS, &created);
    if (file == INVALID_HANDLE_VALUE)
        return false;

    wchar_t date[256] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 256);
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t time[16];
    FormatText(time, 16, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);

    size_t bytes = FormatInstallLogEntry(date, time, text, nullptr);
    std::unique_ptr<char[]> entry(new (std::nothrow) char[bytes]);
    DWORD written = 0;
    bool complete = entry != nullptr;
    if (complete) {
        FormatInstallLogEntry(date, time, text, entry.get());
        complete = WriteFile(file, entry.get(), static_cast<DWORD>(bytes), &written, nullptr) &&
                   written == bytes;
    }
    // a log this run created but could not fill (a full drive) does not stay
    if (!complete && created)
        DeleteOnClose(file);
    CloseHandle(file);
    return complete;
}

}  // namespace

bool WriteInstallLog(const wchar_t* text)
{
    return AppendEntry(kLogName, text);
}

bool WriteInstallLogIn(const wchar_t* folder, const wchar_t* text)
{
    wchar_t path[kLogPathUnits];
    if (!FormatText(path, kLogPathUnits, L"%ls%ls", folder, kLogName))
        return false;
    return AppendEntry(path, text);
}

void WriteInstallLogOrIn(const wchar_t* startFolder, const wchar_t* text)
{
    if (WriteInstallLog(text) || startFolder == nullptr || startFolder[0] == L'\0')
        return;
    wchar_t current[kLogPathUnits];
    CurrentFolder(current, kLogPathUnits);
    if (CompareStringOrdinal(current, -1, startFolder, -1, TRUE) != CSTR_EQUAL)
        WriteInstallLogIn(startFolder, text);
}
