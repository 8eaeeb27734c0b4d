#include "register/registration_texts.h"

#include "platform/folder_path.h"
#include "platform/text_format.h"
#include "resources/product_identity.h"

#include <cwchar>

namespace {

// The trimmed copy of targetFolder with a final backslash; false when empty
// or too long for the texts built from it.
bool FormInstallFolder(const wchar_t* targetFolder, wchar_t* out, size_t units)
{
    wchar_t trimmed[kTextUnits];
    if (!CopyText(trimmed, kTextUnits, targetFolder))
        return false;
    TrimSpaces(trimmed);
    size_t len = wcslen(trimmed);
    if (len == 0)
        return false;
    bool needsBackslash = trimmed[len - 1] != L'\\';
    if (len + (needsBackslash ? 1 : 0) > kMaxInstallFolderChars)
        return false;
    return FormatText(out, units, needsBackslash ? L"%ls\\" : L"%ls", trimmed);
}

}  // namespace

bool InstallFolderFits(const wchar_t* targetFolder)
{
    wchar_t folder[kRegistrationUnits];
    return FormInstallFolder(targetFolder, folder, kRegistrationUnits);
}

bool BuildRegistrationTexts(const wchar_t* targetFolder, RegistrationTexts& texts)
{
    bool ok = FormInstallFolder(targetFolder, texts.installFolder, kRegistrationUnits) &&
              FormatText(texts.programPath, kRegistrationUnits, L"%ls" PHOTARIUM_PROGRAM_FILE,
                         texts.installFolder) &&
              FormatText(texts.openCommand, kRegistrationUnits, L"\"%ls\" \"%%1\"",
                         texts.programPath) &&
              FormatText(texts.thumbsCommand, kThumbsCommandUnits, L"\"%ls\" \"%%1\" /thumbs",
                         texts.programPath) &&
              FormatText(texts.programIcon, kRegistrationUnits, L"%ls,0", texts.programPath);
    if (!ok) {
        texts.installFolder[0] = L'\0';
        texts.programPath[0] = L'\0';
        texts.openCommand[0] = L'\0';
        texts.thumbsCommand[0] = L'\0';
        texts.programIcon[0] = L'\0';
    }
    return ok;
}
