#include "install/install_log.h"

#include "install/log_text.h"
#include "platform/text_format.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <new>
#include <share.h>

namespace {

const wchar_t kLogName[] = L"Photarium_Install.log";
constexpr size_t kLogPathUnits = 560;

bool AppendEntry(const wchar_t* path, const wchar_t* text)
{
    // binary append: the line ends are written by FormatInstallLogEntry
    FILE* file = _wfsopen(path, L"ab", _SH_DENYNO);
    if (file == nullptr)
        return false;

    wchar_t date[256] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 256);
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t time[16];
    FormatText(time, 16, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);

    size_t bytes = FormatInstallLogEntry(date, time, text, nullptr);
    std::unique_ptr<char[]> entry(new (std::nothrow) char[bytes]);
    if (!entry) {
        fclose(file);
        return false;
    }
    FormatInstallLogEntry(date, time, text, entry.get());
    // a full drive may only show when the entry is flushed (and not every
    // runtime's fclose reports a failed flush)
    bool written = fwrite(entry.get(), 1, bytes, file) == bytes && fflush(file) == 0;
    return fclose(file) == 0 && written;
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
