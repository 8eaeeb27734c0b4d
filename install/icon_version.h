#pragma once
// The numbers behind the icon-library decision. No <windows.h> here.

// Version text the shipped icon library carries, and its size in bytes.
extern const wchar_t kShippedIconVersion[];
constexpr long long kShippedIconLibrarySize = 226816;

// Reads text as a decimal number (leading white space skipped), converts it
// to single precision, multiplies by 1000 in single precision and truncates:
// "4.30" gives 4300, "4.100" gives 4100, text without a number gives 0.
int VersionTextNumber(const wchar_t* text);

// True when company is the maker's name, whatever the case of its letters.
bool IsMakerCompany(const wchar_t* company);
