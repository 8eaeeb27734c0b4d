#include "settings_util.h"

#include "wine_test_util.h"

#include <gtest/gtest.h>
#include <windows.h>

std::string Utf16Le(const std::wstring& text)
{
    std::string bytes;
    for (wchar_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>((unit >> 8) & 0xFF);
    }
    return bytes;
}

std::string Utf16Be(const std::wstring& text)
{
    std::string bytes = Utf16Le(text);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

std::string ConvertedHeaderLine()
{
    return "\xFF\xFE" + Utf16Le(L"; UNICODE FILE - edit with care ;-)\r\n");
}

std::string ConvertedBytes(const std::string& narrowText)
{
    // Windows-1252 agrees with Latin-1 except in 0x80-0x9F, which tests avoid
    std::wstring wide;
    for (char c : narrowText)
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return ConvertedHeaderLine() + Utf16Le(L"\r\n" + wide);
}

std::wstring ReadProfile(const std::wstring& file, const wchar_t* section, const wchar_t* key)
{
    wchar_t value[260];
    GetPrivateProfileStringW(section, key, L"<missing>", value, 260, file.c_str());
    return value;
}

size_t CountOf(const std::string& haystack, const std::string& needle)
{
    size_t count = 0;
    for (size_t pos = haystack.find(needle); pos != std::string::npos;
         pos = haystack.find(needle, pos + 1))
        ++count;
    return count;
}

std::wstring InstallSilently(const std::wstring& name, const std::wstring& extraArguments)
{
    std::wstring target = FreshFolder(name) + L"Photarium\\";
    std::wstring work = FreshFolder(name + L"_work");
    int code = RunSetup(L"/silent /folder=" + target + L" /desktop=0 /thumbs=0 /group=0 /assoc=0" +
                            (extraArguments.empty() ? L"" : L" " + extraArguments),
                        work);
    EXPECT_EQ(0, code) << "setup exit code";
    EXPECT_FALSE(FileExists(work + L"Photarium_Install.log")) << "the installation logged a failure";
    return target;
}

int FullScreenHeight()
{
    SetProcessDPIAware();
    return GetSystemMetrics(SM_CYFULLSCREEN);
}

int PixelsPerInch()
{
    SetProcessDPIAware();
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    int pixels = GetDeviceCaps(display, LOGPIXELSX);
    DeleteDC(display);
    return pixels;
}
