#include "register/format_associations.h"

#include "platform/text_format.h"

#include <cwchar>

namespace {

constexpr FormatIcon F = FormatIcon::File;
constexpr FormatIcon P0 = FormatIcon::Program0;
constexpr FormatIcon P8 = FormatIcon::Program8;
constexpr FormatIcon P9 = FormatIcon::Program9;

wchar_t AsciiUpper(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

}  // namespace

// clang-format off
const FormatAssociation kFormatAssociations[kFormatCount] = {
    /*  0 */ {{{L"ani", L"ani"}}, 1, F},
    /*  1 */ {{{L"b3d", L"b3d"}}, 1, P0},
    /*  2 */ {{{L"bmp", L"bmp"}, {L"dib", L"bmp"}}, 2, P0},
    /*  3 */ {{{L"clp", L"clp"}}, 1, P0},
    /*  4 */ {{{L"crw", L"crw"}, {L"cr2", L"cr2"}}, 2, P0},
    /*  5 */ {{{L"cur", L"cur"}}, 1, F},
    /*  6 */ {{{L"dcm", L"dcm"}, {L"acr", L"dcm"}, {L"ima", L"dcm"}}, 3, P0},
    /*  7 */ {{{L"dcx", L"dcx"}}, 1, P0},
    /*  8 */ {{{L"dds", L"dds"}}, 1, P0},
    /*  9 */ {{{L"djvu", L"djvu"}, {L"iw44", L"djvu"}}, 2, P0},
    /* 10 */ {{{L"dxf", L"dxf"}}, 1, P0},
    /* 11 */ {{{L"ecw", L"ecw"}}, 1, P0},
    /* 12 */ {{{L"emf", L"emf"}}, 1, P0},
    /* 13 */ {{{L"eps", L"eps"}, {L"ps", L"eps"}}, 2, P0},
    /* 14 */ {{{L"exr", L"exr"}}, 1, P0},
    /* 15 */ {{{L"g3", L"g3"}}, 1, P0},
    /* 16 */ {{{L"gif", L"gif"}}, 1, P0},
    /* 17 */ {{{L"hdp", L"hdp"}, {L"jxr", L"hdp"}, {L"wdp", L"hdp"}}, 3, P0},
    /* 18 */ {{{L"heic", L"heic"}}, 1, P0},
    /* 19 */ {{{L"ico", L"ico"}}, 1, F},
    /* 20 */ {{{L"iff", L"iff"}, {L"lbm", L"iff"}}, 2, P0},
    /* 21 */ {{{L"jls", L"jls"}}, 1, P0},
    /* 22 */ {{{L"jp2", L"jp2"}, {L"jpc", L"jp2"}, {L"j2k", L"jp2"}}, 3, P0},
    /* 23 */ {{{L"jpg", L"jpg"}, {L"jpeg", L"jpg"}, {L"jpe", L"jpg"}}, 3, P0},
    /* 24 */ {{{L"jpm", L"jpm"}}, 1, P0},
    /* 25 */ {{{L"kdc", L"kdc"}}, 1, P0},
    /* 26 */ {{{L"mng", L"mng"}, {L"jng", L"jng"}}, 2, P0},
    /* 27 */ {{{L"pbm", L"pbm"}}, 1, P0},
    /* 28 */ {{{L"pcd", L"pcd"}}, 1, P0},
    /* 29 */ {{{L"pcx", L"pcx"}}, 1, P0},
    /* 30 */ {{{L"pgm", L"pgm"}}, 1, P0},
    /* 31 */ {{{L"png", L"png"}}, 1, P0},
    /* 32 */ {{{L"ppm", L"ppm"}}, 1, P0},
    /* 33 */ {{{L"psd", L"psd"}}, 1, P0},
    /* 34 */ {{{L"psp", L"psp"}}, 1, P0},
    /* 35 */ {{{L"ras", L"ras"}, {L"sun", L"ras"}}, 2, P0},
    /* 36 */ {{{L"raw", L"raw"}}, 1, P0},
    /* 37 */ {{{L"rle", L"rle"}}, 1, P0},
    /* 38 */ {{{L"sff", L"sff"}}, 1, P0},
    /* 39 */ {{{L"sgi", L"sgi"}, {L"rgb", L"sgi"}}, 2, P0},
    /* 40 */ {{{L"sid", L"sid"}}, 1, P0},
    /* 41 */ {{{L"tga", L"tga"}}, 1, P0},
    /* 42 */ {{{L"tif", L"tif"}, {L"tiff", L"tif"}}, 2, P0},
    /* 43 */ {{{L"wbmp", L"wbmp"}}, 1, P0},
    /* 44 */ {{{L"webp", L"webp"}}, 1, P0},
    /* 45 */ {{{L"wmf", L"wmf"}}, 1, P0},
    /* 46 */ {{{L"xbm", L"xbm"}}, 1, P0},
    /* 47 */ {{{L"xpm", L"xpm"}}, 1, P0},
    /* 48 */ {{{L"swf", L"swf"}, {L"flv", L"flv"}}, 2, P0},
    /* 49 */ {{{L"ttf", L"ttf"}}, 1, P0},
    /* 50 */ {{{L"asf", L"asf"}}, 1, P9},
    /* 51 */ {{{L"avi", L"avi"}}, 1, P9},
    /* 52 */ {{{L"mpg", L"mpg"}, {L"mpe", L"mpe"}, {L"mpeg", L"mpg"}}, 3, P9},
    /* 53 */ {{{L"mov", L"mov"}}, 1, P9},
    /* 54 */ {{{L"wmv", L"wmv"}}, 1, P9},
    /* 55 */ {{{L"aif", L"aif"}}, 1, P8},
    /* 56 */ {{{L"mid", L"mid"}, {L"rmi", L"rmi"}}, 2, P8},
    /* 57 */ {{{L"mp3", L"mp3"}}, 1, P8},
    /* 58 */ {{{L"ogg", L"ogg"}}, 1, P8},
    /* 59 */ {{{L"au", L"au"}, {L"snd", L"au"}}, 2, P8},
    /* 60 */ {{{L"wav", L"wav"}}, 1, P8},
    /* 61 */ {{{L"wma", L"wma"}}, 1, P8},
};
// clang-format on

bool FormatProgramIdentifier(const wchar_t* suffix, wchar_t* out, size_t units)
{
    return FormatText(out, units, L"%ls.%ls", L"Photarium", suffix);
}

bool FormatTypeDescription(const wchar_t* suffix, wchar_t* out, size_t units)
{
    wchar_t upper[32];
    size_t len = wcslen(suffix);
    if (len >= sizeof(upper) / sizeof(upper[0])) {
        if (units > 0)
            out[0] = L'\0';
        return false;
    }
    for (size_t i = 0; i <= len; ++i)
        upper[i] = AsciiUpper(suffix[i]);
    return FormatText(out, units, L"%ls %ls File", L"Photarium", upper);
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
