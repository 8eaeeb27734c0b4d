#include "install/settings_conversion.h"

#include "platform/text_format.h"

#include "product_facts.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr int kLineBytes = kSettingsPieceBytes;
constexpr size_t kCopyBytes = 4096;
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

bool IsAscii(int byte) { return byte > 0 && byte < 0x80; }

// Tells whether text, given one unit at a time, holds a key line: a name of
// at least one character, then "=". Zero units are no characters.
struct KeyLines {
    enum { kStart, kName, kRest } state = kStart;
    bool found = false;
    void Add(unsigned unit)
    {
        if (unit == '\n')
            state = kStart;
        else if (unit == 0 || state == kRest)
            return;
        else if (state == kStart && unit != ' ' && unit != '\t' && unit != '\r')
            state = unit == ';' || unit == '[' || unit == '=' ? kRest : kName;
        else if (state == kName && unit == '=')
            found = true;
    }
};

}  // namespace

bool BeginsWithUtf16Mark(FILE* source)
{
    unsigned char mark[2];
    if (fread(mark, 1, 2, source) == 2 && mark[0] == 0xFF && mark[1] == 0xFE)
        return true;
    fseek(source, 0, SEEK_SET);
    return false;
}

void GatherEncodingEvidence(EncodingEvidence& e, const unsigned char* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i, ++e.offset) {
        int byte = bytes[i];
        if (byte == 0) {
            ++e.zeros;
            ++e.zeroRun;
        } else {
            if (e.zeroRun == 1)
                ++e.loneZeros;
            e.zeroRun = 0;
        }
        if (e.last == '\r' && byte == '\n')
            ++e.narrowLineEnds;
        if (e.offset % 2 == 1) {
            // the unit of the last byte and this one; the byte before it is beforeLast
            int low = e.last, high = byte;
            e.zeroUnit = e.zeroUnit || (low == 0 && high == 0);
            bool littleLow = IsAscii(low) && high == 0, bigLow = low == 0 && IsAscii(high);
            bool afterReturn = e.beforeLast == '\r';
            if (littleLow && (e.littleLow || (low == '\n' && !afterReturn)))
                ++e.littlePlaces;
            if (bigLow && (e.bigLow || (high == '\n' && !afterReturn)))
                ++e.bigPlaces;
            e.littleLow = littleLow;
            e.bigLow = bigLow;
        }
        e.beforeLast = e.last;
        e.last = byte;
    }
}

bool JudgeEncoding(const EncodingEvidence& e, bool whole, SettingsEncoding* verdict)
{
    bool lone = e.loneZeros > 0 || (whole && e.zeroRun == 1);
    bool onlyRuns = e.zeros > 0 && !lone && e.zeroRun != 1;
    size_t little = e.littlePlaces, big = e.bigPlaces, narrow = e.narrowLineEnds;
    if (e.zeroUnit || onlyRuns || (whole && e.zeros == 0))
        *verdict = SettingsEncoding::kNarrow;
    else if (little >= 2 && little > big && little > narrow)
        *verdict = SettingsEncoding::kUtf16WithoutMark;
    else if (big >= 2 && big > little && big > narrow)
        *verdict = SettingsEncoding::kUtf16BigEndianWithoutMark;
    else if (narrow > 0 && narrow > little && narrow > big)
        *verdict = SettingsEncoding::kNarrow;
    else if (!whole)
        return false;
    else if (little < 2 && big < 2 && narrow == 0)
        *verdict = SettingsEncoding::kNarrow;  // too few places for UTF-16
    else
        *verdict = SettingsEncoding::kUndecided;
    return true;
}

SettingsEncoding EncodingOfMark(const unsigned char* bytes, size_t count)
{
    if (count >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return SettingsEncoding::kUtf16;
    if (count >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return SettingsEncoding::kUtf16BigEndian;
    if (count >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return SettingsEncoding::kUtf8WithMark;
    return SettingsEncoding::kNarrow;
}

SettingsEncoding DetectSettingsEncoding(const unsigned char* bytes, size_t count)
{
    SettingsEncoding marked = EncodingOfMark(bytes, count);
    if (marked != SettingsEncoding::kNarrow)
        return marked;
    EncodingEvidence evidence;
    GatherEncodingEvidence(evidence, bytes, count);
    SettingsEncoding verdict = SettingsEncoding::kNarrow;
    JudgeEncoding(evidence, true, &verdict);
    return verdict;
}

bool CopyRest(FILE* source, FILE* target, bool swapPairs, bool dropZeros)
{
    char buffer[kCopyBytes];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), source)) > 0) {
        for (size_t i = 0; swapPairs && i + 1 < got; i += 2) {
            char first = buffer[i];
            buffer[i] = buffer[i + 1];
            buffer[i + 1] = first;
        }
        size_t kept = got;
        if (dropZeros) {
            kept = 0;
            for (size_t i = 0; i < got; ++i) {
                if (buffer[i] != '\0')
                    buffer[kept++] = buffer[i];
            }
        }
        if (fwrite(buffer, 1, kept, target) != kept)
            return false;
    }
    return ferror(source) == 0;
}

bool KeepsAKey(FILE* original, FILE* converted, bool convertedIsUtf16)
{
    KeyLines out;
    if (fseek(converted, convertedIsUtf16 ? 2 : 0, SEEK_SET) != 0)
        return false;
    unsigned char pair[2];
    if (convertedIsUtf16) {
        while (!out.found && fread(pair, 1, 2, converted) == 2)
            out.Add(pair[0] | (pair[1] << 8));
    } else {
        for (int c; !out.found && (c = fgetc(converted)) != EOF;)
            out.Add(static_cast<unsigned>(c));
    }
    if (out.found)
        return true;
    KeyLines in;
    if (fseek(original, 0, SEEK_SET) != 0)
        return false;
    for (int c; !in.found && (c = fgetc(original)) != EOF;)
        in.Add(static_cast<unsigned>(c));
    return !in.found;
}

bool FormTempConversionPath(const wchar_t* activeFile, PathText& out)
{
    out.Clear();
    // drive: a letter and a colon; folder: up to the last (back)slash
    size_t driveLength = activeFile[0] != L'\0' && activeFile[1] == L':' ? 2 : 0;
    size_t folderEnd = driveLength;
    for (size_t i = driveLength; activeFile[i] != L'\0'; ++i) {
        if (activeFile[i] == L'\\' || activeFile[i] == L'/')
            folderEnd = i + 1;
    }
    wchar_t folder[kTextUnits];
    if (folderEnd >= static_cast<size_t>(kTextUnits))
        return false;
    wmemcpy(folder, activeFile, folderEnd);
    folder[folderEnd] = L'\0';
    if (folderEnd >= 1)
        AppendBackslash(folder, kTextUnits);
    return out.Format(L"%ls" PHOTARIUM_SETTINGS_TEMP_FILE, folder);
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
        ConvertedPiece converted;
        wmemset(converted.Buffer(), 0, converted.kUnits);
        convert(line, converted);
        converted.Buffer()[converted.kUnits - 1] = L'\0';
        if (!WriteUnits(target, converted, converted.Length()))
            return -1;
        ++lines;
    }
    return lines;
}
