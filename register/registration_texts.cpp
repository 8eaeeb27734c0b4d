#include "register/registration_texts.h"

#include "platform/fixed_text.h"
#include "platform/folder_path.h"
#include "resources/product_identity.h"

namespace {

// The trimmed copy of targetFolder with a final backslash; false when empty
// or too long for the texts built from it.
bool FormInstallFolder(const wchar_t* targetFolder, wchar_t* out, size_t units)
{
    FixedText<kTextUnits> trimmed;
    if (!trimmed.Assign(targetFolder))
        return false;
    TrimSpaces(trimmed.Buffer());
    if (trimmed.Empty())
        return false;
    size_t withBackslash = trimmed.Length() + (trimmed.EndsWithBackslash() ? 0 : 1);
    if (withBackslash > kMaxInstallFolderChars)
        return false;
    return JoinPath(out, units, trimmed, L"");
}

}  // namespace

bool InstallFolderFits(const wchar_t* targetFolder)
{
    FixedText<kRegistrationUnits> folder;
    return FormInstallFolder(targetFolder, folder.Buffer(), folder.kUnits);
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
