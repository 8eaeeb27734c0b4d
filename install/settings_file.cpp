#include "install/settings_file.h"

#include "install/install_request.h"
#include "install/percent_expand.h"
#include "install/plain_file.h"
#include "install/settings_conversion.h"
#include "install/toolbar_skin.h"
#include "platform/folder_path.h"
#include "platform/scoped_handle.h"
#include "platform/text_format.h"

#include "product_facts.h"

#include <windows.h>

#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <memory>
#include <new>

namespace {

const wchar_t kFileName[] = PHOTARIUM_SETTINGS_FILE;

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

// enough for the first lines of a file even in a script without a character below U+0100
constexpr size_t kProbeBytes = 4096;

void ToUtf16FromUtf8(const char* line, wchar_t* out, int units)
{
    MultiByteToWideChar(CP_UTF8, 0, line, -1, out, units);
}

enum class Conversion { kFromAnsi, kFromUtf8, kMarkOnly, kFromBigEndian };

// "photar64.ini_temp" beside the settings file, opened without following a
// link and emptied; null when that is not possible. *raw is its handle.
FILE* OpenTempFile(const wchar_t* tempFile, HANDLE* raw)
{
    bool created = false;
    HANDLE file = OpenPlainFile(tempFile, GENERIC_WRITE | DELETE, 0, OPEN_ALWAYS, &created);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    int descriptor = -1;
    if (created || SetEndOfFile(file))
        descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    FILE* stream = descriptor != -1 ? _fdopen(descriptor, "wb") : nullptr;
    if (stream == nullptr) {
        if (created)
            DeleteOnClose(file);
        if (descriptor != -1)
            _close(descriptor);  // closes the handle too
        else
            CloseHandle(file);
        return nullptr;
    }
    *raw = file;
    return stream;
}

// With swapPairs each two bytes change places (an odd last one stays as it is).
bool CopyRest(FILE* source, FILE* target, bool swapPairs)
{
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), source)) > 0) {
        for (size_t i = 0; swapPairs && i + 1 < got; i += 2) {
            char first = buffer[i];
            buffer[i] = buffer[i + 1];
            buffer[i + 1] = first;
        }
        if (fwrite(buffer, 1, got, target) != got)
            return false;
    }
    return ferror(source) == 0;
}

// Writes the converted file beside activeFile and replaces activeFile only
// when every write, the flush and the close succeeded; otherwise the
// original stays as it was and the temporary file goes. Closes source.
// Returns 1 when the replacement was made or nothing was to convert, 0 when
// the replacement failed; -1 when the converted file could not be written
// whole (or not made at all).
int ReplaceWithConversion(const wchar_t* activeFile, FILE* source, Conversion kind)
{
    wchar_t tempFile[kTextUnits];
    FormTempConversionPath(activeFile, tempFile);
    HANDLE raw = INVALID_HANDLE_VALUE;
    FILE* target = tempFile[0] != L'\0' ? OpenTempFile(tempFile, &raw) : nullptr;
    if (target == nullptr) {
        fclose(source);
        return -1;
    }
    int lines = 0;
    bool complete;
    if (kind == Conversion::kMarkOnly || kind == Conversion::kFromBigEndian) {
        const unsigned char mark[2] = {0xFF, 0xFE};
        bool swap = kind == Conversion::kFromBigEndian;
        if (swap)
            fseek(source, 2, SEEK_SET);  // its own mark, FE FF
        complete = fwrite(mark, 1, 2, target) == 2 && CopyRest(source, target, swap);
        lines = 1;
    } else {
        complete = WriteUtf16Header(target);
        if (kind == Conversion::kFromUtf8)
            fseek(source, 3, SEEK_SET);  // the UTF-8 mark is not carried over
        bool utf8 = kind == Conversion::kFromUtf8;
        lines = ConvertLinesToUtf16(source, target, utf8 ? ToUtf16FromUtf8 : ToUtf16FromAnsi, utf8);
        complete = complete && lines >= 0;
    }
    // a failed flush is not always reported by fclose
    complete = fflush(target) == 0 && complete && ferror(target) == 0;
    if (!complete)
        DeleteOnClose(raw);
    complete = fclose(target) == 0 && complete;
    fclose(source);
    if (!complete)
        return -1;
    if (lines == 0)
        return 1;
    return MoveFileExW(tempFile, activeFile, MOVEFILE_REPLACE_EXISTING) ? 1 : 0;
}

// Before the profile functions write into a settings file: false when the
// file must be left alone (a link, or an encoding the profile functions would
// misread that could not be mended). A UTF-16 file without its mark gets it,
// a UTF-8 file with its mark and a big-endian one become UTF-16LE. *created
// tells that the file was made here, empty.
bool PrepareSettingsFile(const wchar_t* path, bool* created)
{
    HANDLE file = OpenPlainFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                OPEN_ALWAYS, created);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    unsigned char head[kProbeBytes];
    DWORD got = 0;
    bool read = *created || ReadFile(file, head, sizeof(head), &got, nullptr);
    CloseHandle(file);
    if (!read)
        return false;
    SettingsEncoding encoding = DetectSettingsEncoding(head, got);
    Conversion kind;
    if (encoding == SettingsEncoding::kUtf16WithoutMark)
        kind = Conversion::kMarkOnly;
    else if (encoding == SettingsEncoding::kUtf8WithMark)
        kind = Conversion::kFromUtf8;
    else if (encoding == SettingsEncoding::kUtf16BigEndian)
        kind = Conversion::kFromBigEndian;
    else
        return true;
    FILE* source = _wfopen(path, L"rb");
    if (source == nullptr)
        return false;
    return ReplaceWithConversion(path, source, kind) == 1;
}

// A settings file made here must hold what is written to it: a full drive
// makes empty files but cannot fill them. The bytes of the test go again; so
// does the file when it cannot hold them.
bool MadeFileTakesBytes(const wchar_t* path)
{
    ScopedHandle file(OpenPlainFile(path, GENERIC_WRITE | DELETE, FILE_SHARE_READ, OPEN_EXISTING));
    if (!file.IsValid())
        return false;
    // about what a first installation writes into it
    const char probe[512] = {};
    DWORD written = 0;
    bool holds = WriteFile(file.Get(), probe, sizeof(probe), &written, nullptr) &&
                 written == sizeof(probe);
    holds = SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(file.Get()) &&
            holds;
    if (!holds)
        DeleteOnClose(file.Get());
    return holds;
}

// The settings file in folder (expanded, trimmed) fits in 259 characters.
bool SettingsFileFits(const wchar_t* folder)
{
    size_t length = wcslen(folder);
    bool backslash = length > 0 && folder[length - 1] == L'\\';
    return length + (backslash ? 0 : 1) + wcslen(kFileName) < static_cast<size_t>(kTextUnits);
}

}  // namespace

int UpdateSettingsFile(const wchar_t* targetFolder, const wchar_t* settingsFolder,
                       wchar_t* activeFile)
{
    wchar_t folder[kTextUnits];
    CopyText(folder, kTextUnits, targetFolder);
    TrimSpaces(folder);
    if (folder[0] != L'\0')
        AppendBackslash(folder, kTextUnits);
    wchar_t programFile[kTextUnits];
    FormatText(programFile, kTextUnits, L"%ls%ls", folder, kFileName);

    int result = kSettingsInTargetFolder;
    wchar_t expanded[kTextUnits] = L"";
    if (settingsFolder[0] != L'\0') {
        bool whole = true;
        if (wcschr(settingsFolder, L'%') != nullptr)
            whole = ExpandPercentVariables(settingsFolder, expanded);
        else
            CopyText(expanded, kTextUnits, settingsFolder);
        TrimSpaces(expanded);
        // a folder that expands to nothing is no folder; one whose settings
        // file would not fit, or whose references could not be resolved
        // whole, is not used, nothing of it is made or recorded
        if (!whole || (expanded[0] != L'\0' && !SettingsFileFits(expanded))) {
            expanded[0] = L'\0';
            result = kSettingsFolderTooLong;
        }
    }
    bool remembered = expanded[0] != L'\0';
    bool activeCreated = false;
    if (remembered) {
        // nor is one that cannot take the file (a file in its place, a link
        // at the file's name, no rights, a full drive): the viewer would look
        // for its settings where they are not
        DWORD before = GetFileAttributesW(expanded);
        bool usable = MakeFolderPath(expanded) &&
                      FormatText(activeFile, kTextUnits, L"%ls%ls", expanded, kFileName) &&
                      PrepareSettingsFile(activeFile, &activeCreated) &&
                      (!activeCreated || MadeFileTakesBytes(activeFile));
        if (!usable) {
            if (before == INVALID_FILE_ATTRIBUTES)
                RemoveDirectoryW(expanded);  // made here, and empty
            remembered = false;
            activeCreated = false;
            result = kSettingsFolderTooLong;
        }
    }

    bool programCreated = false;
    if (!PrepareSettingsFile(programFile, &programCreated))
        programFile[0] = L'\0';
    if (remembered) {
        // the viewer expands the references itself, so they stay as written
        WriteKey(programFile, L"Others", L"INI_Folder", settingsFolder);
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
    // the user's skin choice and its size stay
    if (skin[0] == L'\0') {
        ToolbarSkin chosen = ChooseToolbarSkin();
        WriteKey(activeFile, L"Toolbar", L"Skin", chosen.skin);
        WriteKey(activeFile, L"Toolbar", L"Size", chosen.size);
        if (portable) {
            WriteKey(programFile, L"Toolbar", L"Skin", L"Obsidian_24.png");
            WriteKey(programFile, L"Toolbar", L"Size", L"24");
        }
    }

    // files made here that no write could fill (a full drive) do not stay
    if (programCreated && programFile[0] != L'\0' && DeleteIfEmptyPlainFile(programFile) &&
        !remembered)
        activeFile[0] = L'\0';
    if (remembered && activeCreated && activeFile[0] != L'\0' && DeleteIfEmptyPlainFile(activeFile))
        activeFile[0] = L'\0';
    return result;
}

int ConvertSettingsFileToUtf16(const wchar_t* activeFile, FILE* source)
{
    if (BeginsWithUtf16Mark(source)) {
        fclose(source);
        return 1;
    }
    unsigned char head[3];
    size_t got = fread(head, 1, sizeof(head), source);
    fseek(source, 0, SEEK_SET);
    Conversion kind = DetectSettingsEncoding(head, got) == SettingsEncoding::kUtf8WithMark
                          ? Conversion::kFromUtf8
                          : Conversion::kFromAnsi;
    int result = ReplaceWithConversion(activeFile, source, kind);
    // a temporary file that could not be made or filled leaves the original as it was
    return result < 0 ? 1 : result;
}
