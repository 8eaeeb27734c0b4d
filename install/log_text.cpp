#include "install/log_text.h"

namespace {

void AppendSingleByte(std::string& out, const wchar_t* text)
{
    for (; *text != L'\0'; ++text) {
        wchar_t c = *text;
        if (c == L'\n')
            out += "\r\n";
        else if (static_cast<unsigned>(c) <= 0xFF)
            out += static_cast<char>(static_cast<unsigned char>(c));
        else
            out += '?';
    }
}

}  // namespace

std::string FormatInstallLogEntry(const wchar_t* date, const wchar_t* time, const wchar_t* text)
{
    std::string entry;
    AppendSingleByte(entry, date);
    AppendSingleByte(entry, L" - ");
    AppendSingleByte(entry, time);
    AppendSingleByte(entry, L": ");
    AppendSingleByte(entry, text);
    AppendSingleByte(entry, L"\n------------------------------------------------\n");
    return entry;
}
