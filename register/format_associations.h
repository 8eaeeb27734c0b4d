#pragma once
// What each row of the format table registers: its extensions, the program
// identifier suffix they share and the icon the files show. The wizard's
// labels for the same rows live beside this table. No <windows.h> here.

#include "platform/fixed_text.h"

#include <cstddef>

constexpr int kFormatCount = 62;       // rows of the format table
constexpr int kImageFormatCount = 48;  // rows 0 to 47 are the image formats

// The icon text written under a program identifier's DefaultIcon key.
enum class FormatIcon {
    File,      // "%1": the file shows itself
    Program0,  // the program path with ",0"
    Program8,  // ",8": the viewer's sound icon
    Program9,  // ",9": the viewer's video icon
};

struct FormatExtension {
    const wchar_t* extension;  // lower case, without the dot
    const wchar_t* suffix;     // names the program identifier "Photarium.<suffix>"
};

constexpr int kMaxExtensionsPerFormat = 3;

struct FormatAssociation {
    FormatExtension extensions[kMaxExtensionsPerFormat];
    int extensionCount;
    FormatIcon icon;
};

// Row i is row i of the format table; rows 0 to 47 are the image formats.
extern const FormatAssociation kFormatAssociations[kFormatCount];

// "Photarium.<suffix>" into out; false (and out empty) when it does not fit.
bool FormatProgramIdentifier(const wchar_t* suffix, PathText& out);

// "Photarium <SUFFIX> File" with a to z in capitals; false (and out empty)
// when it does not fit.
bool FormatTypeDescription(const wchar_t* suffix, PathText& out);

// True for jpg, png and tif in any mix of case: their machine-wide extension
// key points to the viewer even when the row is not selected.
bool IsAlwaysAssociatedExtension(const wchar_t* extension);
