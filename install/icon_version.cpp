#include "install/icon_version.h"

#include "product_facts.h"

#include <cwchar>
#include <cwctype>
#include <stdlib.h>

const wchar_t kShippedIconVersion[] = L"4.30";

int VersionTextNumber(const wchar_t* text)
{
    // volatile keeps the product in single precision whatever the optimiser does
#ifdef _WIN32
    // msvcrt's own reading: mingw-w64's wcstod adds 20 KB to the program
    volatile float value = static_cast<float>(_wtof(text));
#else
    volatile float value = static_cast<float>(wcstod(text, nullptr));
#endif
    volatile float scaled = value * 1000.0f;
    return static_cast<int>(scaled);
}

bool IsMakerCompany(const wchar_t* company)
{
    static const wchar_t kMaker[] = PHOTARIUM_ICON_LIBRARY_COMPANY;
    size_t i = 0;
    for (; kMaker[i] != L'\0'; ++i) {
        if (std::towlower(company[i]) != std::towlower(kMaker[i]))
            return false;
    }
    return company[i] == L'\0';
}
