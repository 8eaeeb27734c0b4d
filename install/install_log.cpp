#include "install/install_log.h"

#include "install/log_text.h"

#include <windows.h>

#include <cstdio>
#include <share.h>

void WriteInstallLog(const wchar_t* text)
{
    // binary append: the line ends are written by FormatInstallLogEntry
    FILE* file = _wfsopen(L"Photarium_Install.log", L"ab", _SH_DENYNO);
    if (file == nullptr)
        return;

    wchar_t date[256] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 256);
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t time[16];
    swprintf(time, 16, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);

    std::string entry = FormatInstallLogEntry(date, time, text);
    fwrite(entry.data(), 1, entry.size(), file);
    fclose(file);
}
