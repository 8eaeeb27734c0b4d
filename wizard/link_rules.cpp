#include "wizard/link_rules.h"

#include <cwchar>

LinkRect FitLinkRect(LinkRect window, int borderWidth, int borderHeight, int textWidth,
                     int textHeight, LinkAlignment alignment)
{
    LinkRect rect = window;
    int neededHeight = textHeight + borderHeight;
    int neededWidth = textWidth + borderWidth;

    if (alignment.centreImage) {
        // truncated toward zero, as integer division does
        int delta = ((rect.bottom - rect.top) - neededHeight) / 2;
        rect.top += delta;
        rect.bottom -= delta;
    } else {
        rect.bottom = rect.top + neededHeight;
    }

    if (alignment.centre) {
        int delta = ((rect.right - rect.left) - neededWidth) / 2;
        rect.left += delta;
        rect.right -= delta;
    } else if (alignment.right) {
        rect.left = rect.right - neededWidth;
    } else {
        rect.right = rect.left + neededWidth;
    }
    return rect;
}

bool BuildOpenCommand(const wchar_t* command, const wchar_t* target, OpenLine& out)
{
    size_t keep = wcslen(command);
    if (const wchar_t* quoted = wcsstr(command, L"\"%1\""))
        keep = static_cast<size_t>(quoted - command);
    else if (const wchar_t* bare = wcsstr(command, L"%1"))
        keep = static_cast<size_t>(bare - command);
    // the cut part, a blank and the target must fit with the terminator
    size_t targetLength = wcslen(target);
    out.Clear();
    if (keep + 1 + targetLength + 1 > out.kUnits)
        return false;
    wchar_t* line = out.Buffer();
    wmemcpy(line, command, keep);
    line[keep] = L' ';
    wmemcpy(line + keep + 1, target, targetLength);
    line[keep + 1 + targetLength] = L'\0';
    return true;
}
