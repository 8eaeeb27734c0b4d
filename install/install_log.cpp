#include "install/install_log.h"

#include "install/log_text.h"
#include "platform/text_format.h"

#include <windows.h>

#include <cstdio>
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
    swprintf(time, 16, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);

    std::string entry = FormatInstallLogEntry(date, time, text);
    // a full drive may only show when the entry is flushed (and not every
    // runtime's fclose reports a failed flush)
    bool written = fwrite(entry.data(), 1, entry.size(), file) == entry.size() && fflush(file) == 0;
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
