#include "app/command_line.h"

#include "install/install_request.h"

#include <climits>
#include <cwchar>

namespace {

constexpr size_t kSwitchWindow = 260;  // switch text plus value

// Copies at most units - 1 characters and always terminates.
void CopyBounded(wchar_t* out, size_t units, const wchar_t* in, size_t count)
{
    if (units == 0)
        return;
    if (count > units - 1)
        count = units - 1;
    wmemcpy(out, in, count);
    out[count] = L'\0';
}

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

int ClampToInt(long number)
{
    if (number > INT_MAX)
        return INT_MAX;
    if (number < INT_MIN)
        return INT_MIN;
    return static_cast<int>(number);
}

// True for a value that opens a quote it never closes: a "/" inside the
// quotes ended it early.
bool IsCutQuotedValue(const wchar_t* value)
{
    size_t len = wcslen(value);
    while (len > 0 && value[len - 1] == L' ')
        --len;
    return len > 0 && value[0] == L'"' && (len == 1 || value[len - 1] != L'"');
}

// Where the value of the switch at start (switch text of switchLength
// characters) ends: the first "/", the end of the text, or the switch window.
size_t SwitchValueEnd(const wchar_t* start, size_t switchLength)
{
    size_t remaining = wcslen(start);
    size_t limit = remaining < kSwitchWindow ? remaining : kSwitchWindow;
    size_t end = switchLength;
    while (end < limit && start[end] != L'/')
        ++end;
    return end;
}

void ReadTextSwitch(const wchar_t* line, const wchar_t* switchText, PathText& field)
{
    SwitchValue value;
    if (!FindSwitchValue(line, switchText, value))
        return;
    CopyBounded(field.Buffer(), field.kUnits, value, wcslen(value));
    if (!field.Empty())
        StripQuotes(field.Buffer());
}

void ReadNumberSwitch(const wchar_t* line, const wchar_t* switchText, int& field)
{
    SwitchValue value;
    if (FindSwitchValue(line, switchText, value))
        field = ClampToInt(ParseSwitchNumber(value));
}

}  // namespace

bool IsSilentCommandLine(const wchar_t* commandLine)
{
    return commandLine != nullptr && wcsstr(commandLine, L"/silent") != nullptr;
}

bool FindSwitchValue(const wchar_t* line, const wchar_t* switchText, SwitchValue& value)
{
    const wchar_t* start = wcsstr(line, switchText);
    if (start == nullptr)
        return false;
    size_t pos = wcslen(switchText);
    size_t end = SwitchValueEnd(start, pos);
    CopyBounded(value.Buffer(), value.kUnits, start + pos, end > pos ? end - pos : 0);
    return true;
}

bool IsSwitchValueCut(const wchar_t* commandLine, const wchar_t* switchText)
{
    wchar_t line[kCommandLineUnits];
    CopyBounded(line, kCommandLineUnits, commandLine, wcslen(commandLine));
    const wchar_t* start = wcsstr(line, switchText);
    if (start == nullptr)
        return false;
    // the copy is the line's beginning: the same place in the whole line
    size_t end = static_cast<size_t>(start - line) + SwitchValueEnd(start, wcslen(switchText));
    for (const wchar_t* rest = commandLine + end; *rest != L'\0' && *rest != L'/'; ++rest) {
        if (*rest != L' ')
            return true;  // blanks alone would have been stripped
    }
    return false;
}

long ParseSwitchNumber(const wchar_t* value)
{
    const wchar_t* p = value;
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') {
        negative = *p == L'-';
        ++p;
    }
    long result = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        int digit = *p - L'0';
        if (result > (LONG_MAX - digit) / 10)
            return negative ? LONG_MIN : LONG_MAX;
        result = result * 10 + digit;
    }
    return negative ? -result : result;
}

void StripQuotes(wchar_t* text)
{
    size_t len = wcslen(text);
    while (len > 0 && text[len - 1] == L' ')
        text[--len] = L'\0';
    if (len == 0)
        return;
    if (text[len - 1] == L'"')
        text[--len] = L'\0';
    if (len > 0 && text[0] == L'"') {
        wmemmove(text, text + 1, len);  // moves the terminator too
        --len;
    }
    while (len > 0 && text[len - 1] == L' ')
        text[--len] = L'\0';
}

bool ReadLogSwitch(const wchar_t* commandLine, PathText& logFile, bool* cut)
{
    wchar_t line[kCommandLineUnits];
    CopyBounded(line, kCommandLineUnits, commandLine, wcslen(commandLine));
    logFile.Clear();
    ReadTextSwitch(line, L"/log=", logFile);
    *cut = IsSwitchValueCut(commandLine, L"/log=");
    return !logFile.Empty() && !*cut;
}

int ApplySilentSwitches(const wchar_t* commandLine, InstallRequest& request)
{
    wchar_t line[kCommandLineUnits];
    CopyBounded(line, kCommandLineUnits, commandLine, wcslen(commandLine));

    ReadTextSwitch(line, L"/folder=", request.targetFolder);
    // a quoted folder cut short keeps its opening quote, so that the
    // installation refuses it rather than installing into the part before
    SwitchValue folder;
    if (FindSwitchValue(line, L"/folder=", folder) && IsCutQuotedValue(folder))
        CopyBounded(request.targetFolder.Buffer(), request.targetFolder.kUnits, folder,
                    wcslen(folder));
    ReadNumberSwitch(line, L"/desktop=", request.desktopShortcut);
    ReadNumberSwitch(line, L"/thumbs=", request.thumbnailsShortcut);
    ReadNumberSwitch(line, L"/group=", request.startMenuGroup);
    ReadNumberSwitch(line, L"/allusers=", request.allUsers);

    SwitchValue value;
    if (FindSwitchValue(line, L"/assoc=", value)) {
        long kind = ParseSwitchNumber(value);
        int rows = kind == 1 ? kImageFormatCount : kind == 2 ? kFormatCount : 0;
        for (int i = 0; i < rows; ++i)
            request.formatFlags[i] = 1;
        request.associate = rows > 0 ? 1 : 0;
    }
    // "/assocallusers" is accepted for compatibility; it sets nothing.
    FindSwitchValue(line, L"/assocallusers", value);

    ReadTextSwitch(line, L"/ini=", request.settingsFolder);
    request.settingsFolderCut = IsSwitchValueCut(commandLine, L"/ini=") ? 1 : 0;
    // what a window cut off is part of the folder: installing into the rest
    // would put the viewer where nobody asked for it
    return IsSwitchValueCut(commandLine, L"/folder=") ? 0 : 1;
}
