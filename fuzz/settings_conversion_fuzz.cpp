// The settings-file conversion loop over any bytes, with a Latin-1 code page:
// text without a leading FF FE comes out as the header followed by the same
// text widened, less its zero bytes, whatever its line lengths.
#include "install/settings_conversion.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
void Latin1(const char* line, ConvertedPiece& out)
{
    wchar_t* units = out.Buffer();
    size_t i = 0;
    for (; line[i] != '\0' && i + 1 < out.kUnits; ++i)
        units[i] = static_cast<wchar_t>(static_cast<unsigned char>(line[i]));
    units[i] = L'\0';
}

// A line "name=value" with a name, not a comment or a section, in text less its zeros.
template <class Text>
bool HasKeyLine(Text text)
{
    text.erase(std::remove(text.begin(), text.end(), 0), text.end());
    const typename Text::value_type blanks[] = {' ', '\t', '\r', 0};
    for (size_t start = 0, end; start <= text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        size_t first = text.find_first_not_of(blanks, start), equals = text.find('=', start);
        if (first < equals && equals < end && text[first] != ';' && text[first] != '[')
            return true;
    }
    return false;
}

std::string Widened(const char* bytes, size_t size)
{
    std::string out;
    for (size_t i = 0; i < size; ++i) {
        out += bytes[i];
        out += '\0';
    }
    return out;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string input(reinterpret_cast<const char*>(data), size);
    FILE* source = fmemopen(&input[0], input.size(), "rb");
    char* output = nullptr;
    size_t outputSize = 0;
    FILE* target = open_memstream(&output, &outputSize);
    if (source == nullptr || target == nullptr)
        __builtin_trap();
    bool marked = BeginsWithUtf16Mark(source);
    if (marked != (size >= 2 && data[0] == 0xFF && data[1] == 0xFE))
        __builtin_trap();
    if (!marked) {
        WriteUtf16Header(target);
        ConvertLinesToUtf16(source, target, Latin1);
    }
    fclose(source);
    fclose(target);
    const std::string header =
        "\xFF\xFE" + Widened("; UNICODE FILE - edit with care ;-)\r\n\r\n", 39);
    std::string result(output, outputSize);
    free(output);
    if (!marked && result.compare(0, header.size(), header) != 0)
        __builtin_trap();
    std::string kept;
    for (char c : input)
        if (c != '\0')
            kept += c;
    if (!marked && result != header + Widened(kept.data(), kept.size()))
        __builtin_trap();

    SettingsEncoding verdict = DetectSettingsEncoding(data, size);
    bool little = verdict == SettingsEncoding::kUtf16WithoutMark;
    if (!little && verdict != SettingsEncoding::kUtf16BigEndianWithoutMark)
        return 0;  // else the conversion is kept exactly when a key line stays or none was
    source = fmemopen(&input[0], input.size(), "rb");
    target = open_memstream(&output, &outputSize);
    if (fwrite("\xFF\xFE", 1, 2, target) != 2 || !CopyRest(source, target, !little, false) ||
        fflush(target) != 0)
        __builtin_trap();
    std::u16string units(reinterpret_cast<char16_t*>(output + 2), outputSize / 2 - 1);  // LE host
    FILE* converted = fmemopen(output, outputSize, "rb");
    if (KeepsAKey(source, converted, true) != (!HasKeyLine(input) || HasKeyLine(units)))
        __builtin_trap();
    fclose(converted);
    fclose(source);
    fclose(target);
    free(output);
    return 0;
}
