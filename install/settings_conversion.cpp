#include "install/settings_conversion.h"

#include "platform/text_format.h"

#include "product_facts.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr int kLineBytes = 2048;
constexpr wchar_t kHeader[] = L"; UNICODE FILE - edit with care ;-)\r\n\r\n";

// UTF-16LE whatever the width of wchar_t on the building platform
bool WriteUnits(FILE* target, const wchar_t* units, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        unsigned value = static_cast<unsigned>(units[i]) & 0xFFFFu;
        unsigned char bytes[2] = {static_cast<unsigned char>(value & 0xFF),
                                  static_cast<unsigned char>(value >> 8)};
        if (fwrite(bytes, 1, 2, target) != 2)
            return false;
    }
    return true;
}

// Bytes at the end of a piece that start a UTF-8 sequence it does not finish.
size_t UnfinishedSequence(const char* piece, size_t length)
{
    size_t back = 0;
    while (back < 3 && back < length &&
           (static_cast<unsigned char>(piece[length - 1 - back]) & 0xC0) == 0x80)
        ++back;
    if (back == length)
        return 0;
    unsigned char lead = static_cast<unsigned char>(piece[length - 1 - back]);
    size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return needed > back + 1 ? back + 1 : 0;
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

SettingsEncoding DetectSettingsEncoding(const unsigned char* bytes, size_t count)
{
    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return SettingsEncoding::kUtf16;
    if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return SettingsEncoding::kUtf16BigEndian;
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return SettingsEncoding::kUtf8WithMark;
    size_t places = 0;
    bool previousLow = false;  // the unit before was a character below U+0100
    for (size_t i = 0; i + 1 < count; i += 2) {
        bool low = bytes[i] != 0 && bytes[i + 1] == 0;
        if (low && (previousLow || bytes[i] == '\n'))
            ++places;
        previousLow = low;
    }
    return places >= 2 ? SettingsEncoding::kUtf16WithoutMark : SettingsEncoding::kNarrow;
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
    if (folderEnd >= 1)
        AppendBackslash(folder, kTextUnits);
    return FormatText(out, kTextUnits, L"%ls" PHOTARIUM_SETTINGS_TEMP_FILE, folder);
}

bool WriteUtf16Header(FILE* target)
{
    const wchar_t mark = static_cast<wchar_t>(0xFEFF);
    return WriteUnits(target, &mark, 1) && WriteUnits(target, kHeader, wcslen(kHeader));
}

int ConvertLinesToUtf16(FILE* source, FILE* target, CodePageConverter convert,
                        bool wholeSequences)
{
    int lines = 0;
    for (;;) {
        // fgets gives no count: its terminator is the last zero in a buffer
        // filled with ones, so that zero bytes read are told from it
        char line[kLineBytes];
        memset(line, 1, sizeof(line));
        if (fgets(line, kLineBytes, source) == nullptr)
            break;
        size_t length = strlen(line);
        if (length + 1 < kLineBytes && (length == 0 || line[length - 1] != '\n')) {
            length = kLineBytes - 1;
            while (line[length] != '\0')
                --length;
        }
        if (wholeSequences && length == kLineBytes - 1 && line[length - 1] != '\n') {
            size_t back = UnfinishedSequence(line, length);
            if (back > 0 && back < length && fseek(source, -static_cast<long>(back), SEEK_CUR) == 0)
                length -= back;
        }
        // a zero byte would end the text the converter takes, and with it the line
        if (memchr(line, '\0', length) != nullptr) {
            size_t kept = 0;
            for (size_t i = 0; i < length; ++i) {
                if (line[i] != '\0')
                    line[kept++] = line[i];
            }
            length = kept;
        }
        line[length] = '\0';
        wchar_t converted[kLineBytes];
        wmemset(converted, 0, kLineBytes);
        convert(line, converted, kLineBytes);
        converted[kLineBytes - 1] = L'\0';
        if (!WriteUnits(target, converted, wcslen(converted)))
            return -1;
        ++lines;
    }
    return lines;
}
