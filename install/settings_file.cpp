#include "install/settings_file.h"

#include "app/install_request.h"
#include "install/folder_path.h"
#include "install/percent_expand.h"
#include "install/settings_conversion.h"
#include "install/toolbar_skin.h"
#include "platform/text_format.h"

#include <windows.h>

#include <cwchar>
#include <memory>
#include <new>

namespace {

const wchar_t kFileName[] = L"photar64.ini";

class EnvironmentVariables : public VariableLookup {
public:
    bool Find(const wchar_t* name, wchar_t* value, size_t units) override
    {
        DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(units));
        if (length == 0)
            return false;
        if (length < units)
            return true;
        // too long for the buffer: fetch it whole and keep what fits
        std::unique_ptr<wchar_t[]> whole(new (std::nothrow) wchar_t[length]);
        if (!whole)
            return false;
        DWORD got = GetEnvironmentVariableW(name, whole.get(), length);
        if (got == 0 || got >= length)
            return false;
        wmemcpy(value, whole.get(), units - 1);
        value[units - 1] = L'\0';
        return true;
    }
};

class DisplayHeight : public ScreenHeight {
public:
    int Query() override { return GetSystemMetrics(SM_CYFULLSCREEN); }
};

// A path that did not fit is left empty; nothing is written to it then.
void WriteKey(const wchar_t* file, const wchar_t* section, const wchar_t* key,
              const wchar_t* value)
{
    if (file[0] != L'\0')
        WritePrivateProfileStringW(section, key, value, file);
}

void ToUtf16FromAnsi(const char* line, wchar_t* out, int units)
{
    MultiByteToWideChar(CP_ACP, 0, line, -1, out, units);
}

}  // namespace

void ExpandPercentVariables(const wchar_t* text, wchar_t* out)
{
    EnvironmentVariables environment;
    ExpandPercentVariables(text, out, environment);
}

ToolbarSkin ChooseToolbarSkin()
{
    int scale = 100;
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (display != nullptr) {
        int pixelsPerInch = GetDeviceCaps(display, LOGPIXELSX);
        DeleteDC(display);
        scale = ScaleFromPixelsPerInch(pixelsPerInch);
    }
    DisplayHeight height;
    return PickToolbarSkin(scale, height);
}

void UpdateSettingsFile(const wchar_t* targetFolder, const wchar_t* settingsFolder,
                        wchar_t* activeFile)
{
    wchar_t folder[kTextUnits];
    CopyText(folder, kTextUnits, targetFolder);
    TrimSpaces(folder);
    size_t length = wcslen(folder);
    if (length > 0 && folder[length - 1] != L'\\' && length + 1 < static_cast<size_t>(kTextUnits)) {
        folder[length] = L'\\';
        folder[length + 1] = L'\0';
    }
    wchar_t programFile[kTextUnits];
    FormatText(programFile, kTextUnits, L"%ls%ls", folder, kFileName);

    bool remembered = false;
    if (settingsFolder[0] != L'\0') {
        wchar_t expanded[kTextUnits];
        if (wcschr(settingsFolder, L'%') != nullptr)
            ExpandPercentVariables(settingsFolder, expanded);
        else
            CopyText(expanded, kTextUnits, settingsFolder);
        if (expanded[0] != L'\0')
            MakeFolderPath(expanded);
        remembered = true;
        // the viewer expands the references itself, so they stay as written
        WriteKey(programFile, L"Others", L"INI_Folder", settingsFolder);
        FormatText(activeFile, kTextUnits, L"%ls%ls", expanded, kFileName);
    } else {
        WriteKey(programFile, L"Others", L"INI_Folder", nullptr);
        CopyText(activeFile, kTextUnits, programFile);
    }

    bool portable = remembered && (wcsstr(activeFile, L"Photarium32_App") != nullptr ||
                                   wcsstr(activeFile, L"Photarium64_App") != nullptr);

    WriteKey(activeFile, L"Language", L"DLL", L"DEUTSCH.DLL");
    WriteKey(activeFile, L"Language", L"Lang", L"Deutsch");
    if (portable) {
        WriteKey(programFile, L"Language", L"DefaultLang", L"DEUTSCH.DLL");
        WriteKey(programFile, L"Language", L"Lang", L"Deutsch");
    }

    wchar_t skin[kTextUnits] = L"";
    if (activeFile[0] != L'\0')
        GetPrivateProfileStringW(L"Toolbar", L"Skin", L"", skin, kTextUnits, activeFile);
    if (skin[0] != L'\0')
        return;  // the user's skin choice and its size stay

    ToolbarSkin chosen = ChooseToolbarSkin();
    WriteKey(activeFile, L"Toolbar", L"Skin", chosen.skin);
    WriteKey(activeFile, L"Toolbar", L"Size", chosen.size);
    if (portable) {
        WriteKey(programFile, L"Toolbar", L"Skin", L"Obsidian_24.png");
        WriteKey(programFile, L"Toolbar", L"Size", L"24");
    }
}

int ConvertSettingsFileToUtf16(const wchar_t* activeFile, FILE* source)
{
    if (BeginsWithUtf16Mark(source)) {
        fclose(source);
        return 1;
    }
    wchar_t tempFile[kTextUnits];
    FormTempConversionPath(activeFile, tempFile);
    FILE* target = tempFile[0] != L'\0' ? _wfopen(tempFile, L"wb") : nullptr;
    if (target == nullptr) {
        fclose(source);
        return 1;
    }
    WriteUtf16Header(target);
    int lines = ConvertLinesToUtf16(source, target, ToUtf16FromAnsi);
    fclose(target);
    fclose(source);
    if (lines == 0)
        return 1;
    return MoveFileExW(tempFile, activeFile, MOVEFILE_REPLACE_EXISTING) ? 1 : 0;
}
