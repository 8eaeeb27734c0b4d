#include "install/settings_file.h"

#include "install/percent_expand.h"
#include "install/plain_file.h"
#include "install/settings_conversion.h"
#include "install/toolbar_skin.h"
#include "platform/fixed_text.h"
#include "platform/folder_path.h"
#include "platform/scoped_handle.h"

#include "product_facts.h"

#include <windows.h>

#include <cwchar>
#include <fcntl.h>
#include <io.h>

namespace {

const wchar_t kFileName[] = PHOTARIUM_SETTINGS_FILE;

using SettingsPath = FixedText<kTextUnits>;

// enough for the first lines of a file even in a script without a character below U+0100
constexpr size_t kProbeBytes = 4096;
constexpr size_t kCopyBytes = 4096;
// about what a first installation writes into a settings file
constexpr DWORD kFirstWriteBytes = 512;
constexpr size_t kUtf8MarkBytes = 3;

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

void ToUtf16FromUtf8(const char* line, wchar_t* out, int units)
{
    MultiByteToWideChar(CP_UTF8, 0, line, -1, out, units);
}

enum class Conversion { kFromAnsi, kFromUtf8, kMarkOnly, kFromBigEndian };

// A binary stream (mode "rb" or "wb") over the handle, which it owns from
// then on; null when none can be had, and then a file made for it
// (discardOnFailure) goes.
FILE* StreamOver(ScopedHandle& file, const char* mode, bool discardOnFailure)
{
    HANDLE handle = file.Get();
    int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    FILE* stream = descriptor != -1 ? _fdopen(descriptor, mode) : nullptr;
    if (stream == nullptr && discardOnFailure)
        DeleteOnClose(handle);
    if (descriptor != -1) {
        file.Release();
        if (stream == nullptr)
            _close(descriptor);  // closes the handle too
    }
    return stream;
}

// "photar64.ini_temp" beside the settings file, opened without following a
// link and emptied; null when that is not possible. *raw is its handle, the
// stream's own.
FILE* OpenTempFile(const wchar_t* tempFile, HANDLE* raw)
{
    bool created = false;
    ScopedHandle file = OpenPlainFile(tempFile, GENERIC_WRITE | DELETE, 0, OPEN_ALWAYS, &created);
    if (!file.IsValid())
        return nullptr;
    if (!created && !SetEndOfFile(file.Get()))
        return nullptr;
    *raw = file.Get();
    return StreamOver(file, "wb", created);
}

// With swapPairs each two bytes change places (an odd last one stays as it is).
bool CopyRest(FILE* source, FILE* target, bool swapPairs)
{
    char buffer[kCopyBytes];
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

// Writes source converted into target; the number of lines converted (1 for
// a file that only changes its mark or byte order), or -1 when a write failed.
int WriteConversion(FILE* source, FILE* target, Conversion kind)
{
    if (kind == Conversion::kMarkOnly || kind == Conversion::kFromBigEndian) {
        const unsigned char mark[2] = {0xFF, 0xFE};
        bool swap = kind == Conversion::kFromBigEndian;
        if (swap)
            fseek(source, 2, SEEK_SET);  // its own mark, FE FF
        return fwrite(mark, 1, sizeof(mark), target) == sizeof(mark) &&
                       CopyRest(source, target, swap)
                   ? 1
                   : -1;
    }
    bool header = WriteUtf16Header(target);
    bool utf8 = kind == Conversion::kFromUtf8;
    if (utf8)
        fseek(source, kUtf8MarkBytes, SEEK_SET);  // the UTF-8 mark is not carried over
    int lines = ConvertLinesToUtf16(source, target, utf8 ? ToUtf16FromUtf8 : ToUtf16FromAnsi, utf8);
    return header ? lines : -1;
}

// Writes the converted file beside activeFile and replaces activeFile only
// when every write, the flush and the close succeeded; otherwise the
// original stays as it was and the temporary file goes. Closes source.
// Returns 1 when the replacement was made or nothing was to convert, 0 when
// the replacement failed; -1 when the converted file could not be written
// whole (or not made at all).
int ReplaceWithConversion(const wchar_t* activeFile, FILE* source, Conversion kind)
{
    SettingsPath tempFile;
    FormTempConversionPath(activeFile, tempFile.Buffer());
    HANDLE raw = INVALID_HANDLE_VALUE;
    FILE* target = !tempFile.Empty() ? OpenTempFile(tempFile, &raw) : nullptr;
    if (target == nullptr) {
        fclose(source);
        return -1;
    }
    int lines = WriteConversion(source, target, kind);
    // a failed flush is not always reported by fclose
    bool complete = fflush(target) == 0 && lines >= 0 && ferror(target) == 0;
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

// How the profile functions would misread the file, told from its first bytes.
bool NeedsConversion(const unsigned char* head, DWORD got, Conversion* kind)
{
    switch (DetectSettingsEncoding(head, got)) {
    case SettingsEncoding::kUtf16WithoutMark:
        *kind = Conversion::kMarkOnly;
        return true;
    case SettingsEncoding::kUtf8WithMark:
        *kind = Conversion::kFromUtf8;
        return true;
    case SettingsEncoding::kUtf16BigEndian:
        *kind = Conversion::kFromBigEndian;
        return true;
    default:
        return false;
    }
}

// Before the profile functions write into a settings file: false when the
// file must be left alone (a link, or an encoding the profile functions would
// misread that could not be mended). A UTF-16 file without its mark gets it,
// a UTF-8 file with its mark and a big-endian one become UTF-16LE, read
// through the handle that was checked. *created tells that the file was
// made here, empty.
bool PrepareSettingsFile(const wchar_t* path, bool* created)
{
    ScopedHandle file = OpenPlainFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      OPEN_ALWAYS, created);
    if (!file.IsValid())
        return false;
    unsigned char head[kProbeBytes];
    DWORD got = 0;
    if (!*created && !ReadFile(file.Get(), head, sizeof(head), &got, nullptr))
        return false;
    Conversion kind;
    if (!NeedsConversion(head, got, &kind))
        return true;
    if (SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) != 0)
        return false;
    FILE* source = StreamOver(file, "rb", false);
    return source != nullptr && ReplaceWithConversion(path, source, kind) == 1;
}

// A settings file made here must hold what is written to it: a full drive
// makes empty files but cannot fill them. The bytes of the test go again; so
// does the file when it cannot hold them.
bool MadeFileTakesBytes(const wchar_t* path)
{
    ScopedHandle file(OpenPlainFile(path, GENERIC_WRITE | DELETE, FILE_SHARE_READ, OPEN_EXISTING));
    if (!file.IsValid())
        return false;
    const char probe[kFirstWriteBytes] = {};
    bool holds = WriteInPieces(file.Get(), probe, sizeof(probe));
    holds = SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(file.Get()) &&
            holds;
    if (!holds)
        DeleteOnClose(file.Get());
    return holds;
}

// The settings file in folder (expanded, trimmed) fits in 259 characters.
bool SettingsFileFits(const wchar_t* folder)
{
    size_t separator = EndsWithBackslash(folder) ? 0 : 1;
    return wcslen(folder) + separator + wcslen(kFileName) < static_cast<size_t>(kTextUnits);
}

// The settings file of the target folder (trimmed); empty when it would not fit.
void FormProgramFile(const wchar_t* targetFolder, SettingsPath& programFile)
{
    SettingsPath folder;
    folder.Assign(targetFolder);
    TrimSpaces(folder.Buffer());
    // no folder names the file in the current one
    if (folder.Empty())
        programFile.Assign(kFileName);
    else
        programFile.JoinPath(folder, kFileName);
}

// The settings folder with its references expanded, trimmed; empty when
// there is none. A folder that expands to nothing is no folder; one whose
// settings file would not fit, or whose references could not be resolved
// whole, is not used, nothing of it is made or recorded.
int ExpandSettingsFolder(const wchar_t* settingsFolder, SettingsPath& expanded)
{
    if (settingsFolder[0] == L'\0')
        return kSettingsInTargetFolder;
    bool whole = true;
    if (wcschr(settingsFolder, L'%') != nullptr)
        whole = ExpandPercentVariables(settingsFolder, expanded.Buffer());
    else
        expanded.Assign(settingsFolder);
    TrimSpaces(expanded.Buffer());
    if (whole && (expanded.Empty() || SettingsFileFits(expanded)))
        return kSettingsInTargetFolder;
    expanded.Clear();
    return kSettingsFolderTooLong;
}

// Nor is a settings folder used that cannot take the file (a file in its
// place, a link at the file's name, no rights, a full drive): the viewer
// would look for its settings where they are not. True with activeFile set;
// false with the folder gone again when it was made here.
bool TakeSettingsFolder(SettingsPath& expanded, wchar_t* activeFile, bool* activeCreated)
{
    DWORD before = GetFileAttributesW(expanded);
    bool usable = MakeFolderPath(expanded.Buffer()) &&
                  JoinPath(activeFile, kTextUnits, expanded, kFileName) &&
                  PrepareSettingsFile(activeFile, activeCreated) &&
                  (!*activeCreated || MadeFileTakesBytes(activeFile));
    if (!usable) {
        if (before == INVALID_FILE_ATTRIBUTES)
            RemoveDirectoryW(expanded);  // made here, and empty
        *activeCreated = false;
    }
    return usable;
}

// The language, and a toolbar skin unless the user chose one (its size stays too).
void WriteDefaults(const wchar_t* activeFile, const wchar_t* programFile, bool portable)
{
    WriteKey(activeFile, L"Language", L"DLL", L"DEUTSCH.DLL");
    WriteKey(activeFile, L"Language", L"Lang", L"Deutsch");
    if (portable) {
        WriteKey(programFile, L"Language", L"DefaultLang", L"DEUTSCH.DLL");
        WriteKey(programFile, L"Language", L"Lang", L"Deutsch");
    }

    SettingsPath skin;
    if (activeFile[0] != L'\0')
        GetPrivateProfileStringW(L"Toolbar", L"Skin", L"", skin.Buffer(), skin.kUnits, activeFile);
    if (!skin.Empty())
        return;
    ToolbarSkin chosen = ChooseToolbarSkin();
    WriteKey(activeFile, L"Toolbar", L"Skin", chosen.skin);
    WriteKey(activeFile, L"Toolbar", L"Size", chosen.size);
    if (portable) {
        WriteKey(programFile, L"Toolbar", L"Skin", L"Obsidian_24.png");
        WriteKey(programFile, L"Toolbar", L"Size", L"24");
    }
}

}  // namespace

int UpdateSettingsFile(const wchar_t* targetFolder, const wchar_t* settingsFolder,
                       wchar_t* activeFile)
{
    SettingsPath programFile, expanded;
    FormProgramFile(targetFolder, programFile);
    int result = ExpandSettingsFolder(settingsFolder, expanded);
    bool remembered = !expanded.Empty();
    bool activeCreated = false;
    if (remembered && !TakeSettingsFolder(expanded, activeFile, &activeCreated)) {
        remembered = false;
        result = kSettingsFolderTooLong;
    }

    bool programCreated = false;
    if (!PrepareSettingsFile(programFile, &programCreated))
        programFile.Clear();
    if (remembered) {
        // the viewer expands the references itself, so they stay as written
        WriteKey(programFile, L"Others", L"INI_Folder", settingsFolder);
    } else {
        WriteKey(programFile, L"Others", L"INI_Folder", nullptr);
        CopyText(activeFile, kTextUnits, programFile);
    }
    bool portable = remembered && (wcsstr(activeFile, L"Photarium32_App") != nullptr ||
                                   wcsstr(activeFile, L"Photarium64_App") != nullptr);
    WriteDefaults(activeFile, programFile, portable);

    // files made here that no write could fill (a full drive) do not stay
    if (programCreated && !programFile.Empty() && DeleteIfEmptyPlainFile(programFile) &&
        !remembered)
        activeFile[0] = L'\0';
    if (remembered && activeCreated && activeFile[0] != L'\0' && DeleteIfEmptyPlainFile(activeFile))
        activeFile[0] = L'\0';
    return result;
}

FILE* OpenSettingsFile(const wchar_t* path)
{
    ScopedHandle file = OpenPlainFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      OPEN_EXISTING);
    return file.IsValid() ? StreamOver(file, "rb", false) : nullptr;
}

int ConvertSettingsFileToUtf16(const wchar_t* activeFile, FILE* source)
{
    if (BeginsWithUtf16Mark(source)) {
        fclose(source);
        return 1;
    }
    unsigned char head[kUtf8MarkBytes];
    size_t got = fread(head, 1, sizeof(head), source);
    fseek(source, 0, SEEK_SET);
    Conversion kind = DetectSettingsEncoding(head, got) == SettingsEncoding::kUtf8WithMark
                          ? Conversion::kFromUtf8
                          : Conversion::kFromAnsi;
    int result = ReplaceWithConversion(activeFile, source, kind);
    // a temporary file that could not be made or filled leaves the original as it was
    return result < 0 ? 1 : result;
}
