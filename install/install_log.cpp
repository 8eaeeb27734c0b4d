#include "install/install_log.h"

#include "install/delete_on_close.h"
#include "install/log_text.h"
#include "install/percent_expand.h"
#include "install/plain_file.h"
#include "install/where_names_lead.h"
#include "install/write_in_pieces.h"
#include "platform/fixed_text.h"
#include "platform/folder_path.h"

#include "product_facts.h"

#include <windows.h>

#include <memory>
#include <new>

namespace {

const wchar_t kLogName[] = PHOTARIUM_INSTALL_LOG;
static_assert(kLongTextUnits + sizeof(kLogName) / sizeof(wchar_t) <= kLogPathUnits,
              "a start folder of kLongTextUnits takes the log's name");
// GetDateFormatW's short date, and "hh:mm:ss"
constexpr int kDateUnits = 256;
constexpr int kTimeUnits = 16;

bool AppendEntry(const wchar_t* path, const wchar_t* text)
{
    // The start folder may be writable by others while this program runs
    // elevated: a link at the log's name takes no entry.
    bool created = false;
    ScopedHandle file = OpenPlainFile(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      OPEN_ALWAYS, &created);
    if (!file.IsValid())
        return false;

    FixedText<kDateUnits> date;
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date.Buffer(),
                   date.kUnits);
    SYSTEMTIME now;
    GetLocalTime(&now);
    FixedText<kTimeUnits> time;
    time.Format(L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);

    size_t bytes = FormatInstallLogEntry(date, time, text, nullptr);
    std::unique_ptr<char[]> entry(new (std::nothrow) char[bytes]);
    bool complete = entry != nullptr;
    if (complete) {
        FormatInstallLogEntry(date, time, text, entry.get());
        complete = WriteInPieces(file.Get(), entry.get(), static_cast<DWORD>(bytes));
    }
    // a log this run created but could not fill (a full drive) does not stay
    if (!complete && created)
        DeleteOnClose(file.Get());
    return complete;
}

}  // namespace

bool WriteInstallLog(const wchar_t* text)
{
    return AppendEntry(kLogName, text);
}

bool WriteInstallLogIn(const wchar_t* folder, const wchar_t* text)
{
    FixedText<kLogPathUnits> path;
    return path.JoinPath(folder, kLogName) && AppendEntry(path, text);
}

void WriteInstallLogOrIn(const wchar_t* startFolder, const wchar_t* text)
{
    if (WriteInstallLog(text) || startFolder == nullptr || startFolder[0] == L'\0')
        return;
    // one too long for it is not startFolder either, which fitted the same size
    FixedText<kLongTextUnits> current;
    CurrentFolder(current);
    if (!SamePath(current, startFolder))
        WriteInstallLogIn(startFolder, text);
}

bool WriteInstallLogTo(const wchar_t* logFile, const wchar_t* text)
{
    if (logFile == nullptr || logFile[0] == L'\0')
        return WriteInstallLog(text);
    return AppendEntry(logFile, text);
}

bool PrepareInstallLogFile(PathText& logFile)
{
    FixedText<kTextUnits> expanded;
    FixedText<kTextUnits> full;
    FixedText<kTextUnits> folder;
    wchar_t* name = nullptr;
    DWORD chars = 0;
    bool usable = ExpandPercentVariables(logFile, expanded) && !expanded.Empty();
    if (usable) {
        chars = GetFullPathNameW(expanded, static_cast<DWORD>(full.kUnits), full.Buffer(), &name);
        usable = chars > 0 && chars < full.kUnits && name != nullptr && name != full.Get();
    }
    if (usable) {
        // the folder is created as a target folder is (MakeFolderPath)
        folder.Assign(full);
        folder.Buffer()[name - full.Get()] = L'\0';
        bool created = false;
        // the folders may be others' to make (C:\ProgramData): a link planted on the
        // way would take the elevated run's file elsewhere
        usable = MakeFolderPath(folder) && IsFolderReachedDirectly(folder) &&
                 OpenPlainFile(full, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               OPEN_ALWAYS, &created)
                     .IsValid();
    }
    logFile.Assign(usable ? full.Get() : L"");
    return usable;
}
