#pragma once
// Helpers for tests of the viewer's settings file.

#include <string>

// text as UTF-16LE bytes (no byte-order mark)
std::string Utf16Le(const std::wstring& text);
std::string Utf16Be(const std::wstring& text);  // and as UTF-16BE

// A converted settings file's first line: FF FE and the warning, in UTF-16LE.
std::string ConvertedHeaderLine();

// What the conversion makes of narrow text: the header line, an empty line,
// then the text widened unit by unit (for ASCII and Windows-1252 text).
std::string ConvertedBytes(const std::string& narrowText);

// One key through GetPrivateProfileStringW, or "<missing>".
std::wstring ReadProfile(const std::wstring& file, const wchar_t* section, const wchar_t* key);

// How often needle occurs in haystack.
size_t CountOf(const std::string& haystack, const std::string& needle);

// Runs a silent installation into the fresh folder C:\ptest\<name>\Photarium
// (no shortcuts, no associations) plus extraArguments; expects exit code 0.
// Returns the target folder, ending in a backslash.
std::wstring InstallSilently(const std::wstring& name, const std::wstring& extraArguments = L"");

// The display as a DPI-aware program sees it: the full-screen client height
// and the horizontal pixels per inch.
int FullScreenHeight();
int PixelsPerInch();
