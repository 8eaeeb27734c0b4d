#include "install/log_text.h"

namespace {

size_t AppendSingleByte(char* out, size_t at, const wchar_t* text)
{
    for (; *text != L'\0'; ++text) {
        wchar_t c = *text;
        if (c == L'\n') {
            if (out != nullptr) {
                out[at] = '\r';
                out[at + 1] = '\n';
            }
            at += 2;
            continue;
        }
        if (out != nullptr)
            out[at] = static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?';
        ++at;
    }
    return at;
}

}  // namespace

size_t FormatInstallLogEntry(const wchar_t* date, const wchar_t* time, const wchar_t* text,
                             char* out)
{
    size_t at = AppendSingleByte(out, 0, date);
    at = AppendSingleByte(out, at, L" - ");
    at = AppendSingleByte(out, at, time);
    at = AppendSingleByte(out, at, L": ");
    at = AppendSingleByte(out, at, text);
    return AppendSingleByte(out, at, L"\n------------------------------------------------\n");
}
