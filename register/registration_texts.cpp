#include "register/registration_texts.h"

#include "resources/product_identity.h"

// a usable folder has at most kMaxInstallFolderChars characters: every text fits
static_assert(kMaxInstallFolderChars + sizeof("\"\" \"%1\"") - 1 +
                      sizeof(PHOTARIUM_PROGRAM_FILE) / sizeof(wchar_t) - 1 <
                  kRegistrationUnits,
              "the open command fits its text");
static_assert(kMaxInstallFolderChars + sizeof("\"\" \"%1\" /thumbs") - 1 +
                      sizeof(PHOTARIUM_PROGRAM_FILE) / sizeof(wchar_t) - 1 <
                  kThumbsCommandUnits,
              "the thumbnails command fits its text");

bool BuildRegistrationTexts(const InstallFolder& folder, RegistrationTexts& texts)
{
    bool ok = folder.Usable() && texts.installFolder.Assign(folder.Path()) &&
              texts.programPath.Format(L"%ls" PHOTARIUM_PROGRAM_FILE, texts.installFolder.Get()) &&
              texts.openCommand.Format(L"\"%ls\" \"%%1\"", texts.programPath.Get()) &&
              texts.thumbsCommand.Format(L"\"%ls\" \"%%1\" /thumbs", texts.programPath.Get()) &&
              texts.programIcon.Format(L"%ls,0", texts.programPath.Get());
    if (!ok) {
        texts.installFolder.Clear();
        texts.programPath.Clear();
        texts.openCommand.Clear();
        texts.thumbsCommand.Clear();
        texts.programIcon.Clear();
    }
    return ok;
}
