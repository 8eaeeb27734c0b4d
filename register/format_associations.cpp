#include "register/format_associations.h"

#include "platform/fixed_text.h"

#include "product_facts.h"

#include <cwchar>

namespace {

constexpr FormatIcon F = FormatIcon::File;
constexpr FormatIcon P0 = FormatIcon::Program0;
constexpr FormatIcon P8 = FormatIcon::Program8;
constexpr FormatIcon P9 = FormatIcon::Program9;

// A program identifier's suffix: a few letters, far below this.
constexpr size_t kSuffixUnits = 32;

wchar_t AsciiUpper(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

// the rows come from the product's facts, which the manifests read too
static_assert(PHOTARIUM_FORMAT_ROW_COUNT == kFormatCount, "the format table has 62 rows");
const FormatAssociation kFormatAssociations[kFormatCount] = {PHOTARIUM_FORMAT_ROWS};

bool FormatProgramIdentifier(const wchar_t* suffix, PathText& out)
{
    out.Clear();
    return out.Format(L"%ls.%ls", L"Photarium", suffix);
}

bool FormatTypeDescription(const wchar_t* suffix, PathText& out)
{
    out.Clear();
    FixedText<kSuffixUnits> upper;
    size_t len = wcslen(suffix);
    if (len >= upper.kUnits)
        return false;
    for (size_t i = 0; i <= len; ++i)
        upper.Buffer()[i] = AsciiUpper(suffix[i]);
    return out.Format(L"%ls %ls File", L"Photarium", upper.Get());
}

bool IsAlwaysAssociatedExtension(const wchar_t* extension)
{
    static const wchar_t* const kForced[] = {L"JPG", L"PNG", L"TIF"};
    for (const wchar_t* forced : kForced) {
        size_t i = 0;
        while (extension[i] != L'\0' && forced[i] != L'\0' &&
               AsciiUpper(extension[i]) == forced[i])
            ++i;
        if (extension[i] == L'\0' && forced[i] == L'\0')
            return true;
    }
    return false;
}
