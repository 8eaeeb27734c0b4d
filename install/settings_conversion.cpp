#include "install/settings_conversion.h"

#include "app/install_request.h"
#include "platform/text_format.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr int kLineBytes = 2048;
constexpr wchar_t kHeader[] = L"; UNICODE FILE - edit with care ;-)\r\n\r\n";

// UTF-16LE whatever the width of wchar_t on the building platform
void WriteUnits(FILE* target, const wchar_t* units, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        unsigned value = static_cast<unsigned>(units[i]) & 0xFFFFu;
        unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                  static_cast<unsigned char>(value >> 8)};
        fwrite(bytes, 1, 2, target);
    }
}

}  // namespace

bool BeginsWithUtf16Mark(FILE* source)
{
    unsigned char mark[2];
    if (fread(mark, 1, 2, source) == 2 && mark[0] == 0xFF && mark[1] == 0xFE)
        return true;
    fseek(source, 0, SEEK_SET);
    return false;
}

bool FormTempConversionPath(const wchar_t* activeFile, wchar_t* out)
{
    // drive: a letter and a colon; folder: up to the last (back)slash
    size_t driveLength = activeFile[0] != L'\0' && activeFile[1] == L':' ? 2 : 0;
    size_t folderEnd = driveLength;
    for (size_t i = driveLength; activeFile[i] != L'\0'; ++i) {
        if (activeFile[i] == L'\\' || activeFile[i] == L'/')
            folderEnd = i + 1;
    }
    wchar_t folder[kTextUnits];
    if (folderEnd >= static_cast<size_t>(kTextUnits)) {
        out[0] = L'\0';
        return false;
    }
    wmemcpy(folder, activeFile, folderEnd);
    folder[folderEnd] = L'\0';
    if (folderEnd >= 1 && folderEnd <= 258 && folder[folderEnd - 1] != L'\\') {
        folder[folderEnd] = L'\\';
        folder[folderEnd + 1] = L'\0';
    }
    return FormatText(out, kTextUnits, L"%lsphotar64.ini_temp", folder);
}

void WriteUtf16Header(FILE* target)
{
    const wchar_t mark = static_cast<wchar_t>(0xFEFF);
    WriteUnits(target, &mark, 1);
    WriteUnits(target, kHeader, wcslen(kHeader));
}

int ConvertLinesToUtf16(FILE* source, FILE* target, CodePageConverter convert)
{
    int lines = 0;
    for (;;) {
        char line[kLineBytes];
        memset(line, 0, sizeof(line));
        if (fgets(line, kLineBytes, source) == nullptr)
            break;
        wchar_t converted[kLineBytes];
        wmemset(converted, 0, kLineBytes);
        convert(line, converted, kLineBytes);
        converted[kLineBytes - 1] = L'\0';
        WriteUnits(target, converted, wcslen(converted));
        ++lines;
    }
    return lines;
}
