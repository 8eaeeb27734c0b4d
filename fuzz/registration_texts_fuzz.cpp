// The install folder made of any text, the texts registration builds from it, and the program
// identifier texts from any suffix: never past a buffer, never cut.
#include "fuzz_input.h"
#include "register/format_associations.h"
#include "register/registration_texts.h"

#include <cwchar>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WideInput typed(data, size, 260);
    InstallFolder folder(typed.get());
    RegistrationTexts texts;
    bool built = BuildRegistrationTexts(folder, texts);
    if (built != folder.Usable())
        __builtin_trap();
    size_t len = TerminatedLength(texts.installFolder, kRegistrationUnits);
    TerminatedLength(texts.thumbsCommand, kThumbsCommandUnits);
    if (built) {
        if (len == 0 || len > kMaxInstallFolderChars || texts.installFolder[len - 1] != L'\\')
            __builtin_trap();
        if (std::wstring(texts.programPath) != std::wstring(texts.installFolder.Get()) + L"photar64.exe")
            __builtin_trap();
        // the longest text made from the folder: the help shortcut's target
        wchar_t help[260];
        if (swprintf(help, 260, L"%ls\\help\\photar32_deutsch.chm", texts.installFolder.Get()) < 0)
            __builtin_trap();
    } else if (len != 0 || texts.openCommand[0] != L'\0' || texts.thumbsCommand[0] != L'\0') {
        __builtin_trap();
    }

    WideInput suffix(data, size, 260);
    PathText out;
    if (FormatTypeDescription(suffix.get(), out))
        TerminatedLength(out.Get(), out.kUnits);
    else if (!out.Empty())
        __builtin_trap();
    if (!FormatProgramIdentifier(suffix.get(), out) && !out.Empty())
        __builtin_trap();
    IsAlwaysAssociatedExtension(suffix.get());
    return 0;
}
