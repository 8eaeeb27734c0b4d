#include "install/settings_file.h"

#include "install/delete_on_close.h"
#include "install/percent_expand.h"
#include "install/plain_file.h"
#include "install/settings_conversion.h"
#include "install/toolbar_skin.h"
#include "install/write_in_pieces.h"
#include "platform/fixed_text.h"
#include "platform/folder_path.h"
#include "platform/scoped_handle.h"

#include "product_facts.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <utility>

namespace {

const wchar_t kFileName[] = PHOTARIUM_SETTINGS_FILE;

// the first lines of a file tell its encoding; more is read only when they cannot
constexpr size_t kProbeBytes = 4096;
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

void ToUtf16FromAnsi(const char* line, ConvertedPiece& out)
{
    MultiByteToWideChar(CP_ACP, 0, line, -1, out.Buffer(), out.kUnits);
}

void ToUtf16FromUtf8(const char* line, ConvertedPiece& out)
{
    MultiByteToWideChar(CP_UTF8, 0, line, -1, out.Buffer(), out.kUnits);
}

enum class Conversion {
    kFromAnsi,
    kFromUtf8,
    kMarkOnly,
    kFromBigEndian,
    kFromBigEndianWithoutMark,
    kDropZeros,
};

// A binary stream (mode "rb" or "wb") over the handle, which it owns from
// then on; not valid when none can be had, and then a file made for it
// (discardOnFailure) goes.
ScopedFile StreamOver(ScopedHandle& file, const char* mode, bool discardOnFailure)
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
    return ScopedFile(stream);
}

// "photar64.ini_temp" beside the settings file, opened without following a
// link and emptied (readable, to be checked once written); not valid when
// that is not possible. *raw is its handle, the stream's own.
ScopedFile OpenTempFile(const wchar_t* tempFile, HANDLE* raw)
{
    bool created = false;
    ScopedHandle file = OpenPlainFile(tempFile, GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                                      OPEN_ALWAYS, &created);
    if (!file.IsValid())
        return ScopedFile();
    if (!created && !SetEndOfFile(file.Get()))
        return ScopedFile();
    *raw = file.Get();
    return StreamOver(file, "w+b", created);
}

// Writes source converted into target; the number of lines converted (1 for
// a file that only changes its mark, byte order or zero bytes), or -1 when a
// write failed.
int WriteConversion(FILE* source, FILE* target, Conversion kind)
{
    if (kind == Conversion::kDropZeros)
        return CopyRest(source, target, false, true) ? 1 : -1;
    if (kind == Conversion::kMarkOnly || kind == Conversion::kFromBigEndian ||
        kind == Conversion::kFromBigEndianWithoutMark) {
        const unsigned char mark[2] = {0xFF, 0xFE};
        bool swap = kind != Conversion::kMarkOnly;
        if (kind == Conversion::kFromBigEndian)
            fseek(source, 2, SEEK_SET);  // its own mark, FE FF
        return fwrite(mark, 1, sizeof(mark), target) == sizeof(mark) &&
                       CopyRest(source, target, swap, false)
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
// when every write, the flush and the close succeeded and a key of the
// original can still be read; otherwise the original stays as it was and
// the temporary file goes. Returns 1 when the replacement was made or
// nothing was to convert, 0 when the replacement failed; -1 when the
// converted file could not be written whole (or not made at all) or would
// lose every key.
int ReplaceWithConversion(const wchar_t* activeFile, ScopedFile source, Conversion kind)
{
    PathText tempFile;
    FormTempConversionPath(activeFile, tempFile);
    HANDLE raw = INVALID_HANDLE_VALUE;
    ScopedFile target = !tempFile.Empty() ? OpenTempFile(tempFile, &raw) : ScopedFile();
    if (!target.IsValid())
        return -1;
    int lines = WriteConversion(source.Get(), target.Get(), kind);
    // a failed flush is not always reported by fclose
    bool complete = fflush(target.Get()) == 0 && lines >= 0 && ferror(target.Get()) == 0;
    // a wrong verdict on the encoding shows here: nothing of the original left readable
    complete = complete && (lines == 0 || KeepsAKey(source.Get(), target.Get(),
                                                    kind != Conversion::kDropZeros));
    if (!complete)
        DeleteOnClose(raw);
    complete = target.Close() && complete;
    // its name is replaced next: the stream's handle shares no deleting
    source.Close();
    if (!complete)
        return -1;
    if (lines == 0)
        return 1;
    return MoveFileExW(tempFile, activeFile, MOVEFILE_REPLACE_EXISTING) ? 1 : 0;
}

// The encoding of the open file, read from its start until the bytes give a
// verdict; a narrow file is read to its end for zero bytes (*zeros). *empty
// tells a file of no bytes. False when a read failed.
bool ReadEncoding(HANDLE file, SettingsEncoding* verdict, bool* zeros, bool* empty)
{
    unsigned char piece[kProbeBytes];
    EncodingEvidence evidence;
    bool decided = false;
    for (bool first = true;; first = false) {
        DWORD got = 0;
        if (!ReadFile(file, piece, sizeof(piece), &got, nullptr))
            return false;
        if (first) {
            *empty = got == 0;
            *verdict = EncodingOfMark(piece, got);
            if (*verdict != SettingsEncoding::kNarrow)
                return true;
        }
        if (!decided) {
            GatherEncodingEvidence(evidence, piece, got);
            decided = JudgeEncoding(evidence, got == 0, verdict);
            *zeros = evidence.zeros > 0;
        } else {
            *zeros = memchr(piece, 0, got) != nullptr;
        }
        if (got == 0 || (decided && (*verdict != SettingsEncoding::kNarrow || *zeros)))
            return true;
    }
}

// How the file must change before the profile functions read or write it:
// false when it stays as it is. Without a mark they read UTF-16 as narrow
// text, and zero bytes in narrow text cut the name or section header of their
// line. With wideValues a narrow file becomes UTF-16, since the profile
// functions write narrow text in the ANSI code page.
bool NeedsConversion(SettingsEncoding encoding, bool zeros, bool wideValues, Conversion* kind)
{
    switch (encoding) {
    case SettingsEncoding::kUtf16WithoutMark:
        *kind = Conversion::kMarkOnly;
        return true;
    case SettingsEncoding::kUtf8WithMark:
        *kind = Conversion::kFromUtf8;
        return true;
    case SettingsEncoding::kUtf16BigEndian:
        *kind = Conversion::kFromBigEndian;
        return true;
    case SettingsEncoding::kUtf16BigEndianWithoutMark:
        *kind = Conversion::kFromBigEndianWithoutMark;
        return true;
    case SettingsEncoding::kNarrow:
        *kind = wideValues ? Conversion::kFromAnsi : Conversion::kDropZeros;
        return wideValues || zeros;
    default:
        return false;
    }
}

// Before the profile functions write into a settings file: false when the
// file must be left alone (a link, an encoding that cannot be told, or one
// the profile functions would misread that could not be mended). A UTF-16
// file without its mark gets it, a UTF-8 file with its mark and a big-endian
// one become UTF-16LE, narrow text loses its zero bytes, all read through
// the handle that was checked; with wideValues narrow text becomes UTF-16
// and a new file begins as such. *created tells that the file was made
// here.
bool PrepareSettingsFile(const wchar_t* path, bool wideValues, bool* created)
{
    DWORD access = GENERIC_READ | (wideValues ? GENERIC_WRITE : 0);
    ScopedHandle file = OpenPlainFile(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      OPEN_ALWAYS, created);
    if (!file.IsValid())
        return false;
    SettingsEncoding encoding = SettingsEncoding::kNarrow;
    bool zeros = false, empty = true;
    if (!ReadEncoding(file.Get(), &encoding, &zeros, &empty))
        return false;
    Conversion kind;
    if (encoding == SettingsEncoding::kUndecided)
        return false;
    if (!NeedsConversion(encoding, zeros, wideValues, &kind))
        return true;
    if (empty) {
        // a new file: the mark and the header the conversion would give it
        ScopedFile target = StreamOver(file, "wb", false);
        bool written =
            target.IsValid() && WriteUtf16Header(target.Get()) && fflush(target.Get()) == 0;
        return target.Close() && written;
    }
    if (SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) != 0)
        return false;
    ScopedFile source = StreamOver(file, "rb", false);
    return source.IsValid() && ReplaceWithConversion(path, std::move(source), kind) == 1;
}

// The settings file at path held open from its check to the last profile
// write: the profile functions open the file by name for every call, and
// while a handle without FILE_SHARE_DELETE is open Windows lets no one
// delete, rename or replace that name (each needs DELETE access to the file,
// refused with a sharing violation), so no call can reach another file. The
// handle reads only, and shares reading and writing, so the profile
// functions' own opens are not refused. Not valid when the name is no longer
// a plain file of one name.
ScopedHandle HoldSettingsFile(const wchar_t* path)
{
    if (path[0] == L'\0')
        return ScopedHandle();
    return OpenPlainFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
}

// Whether the profile functions can write text into a narrow file as it is:
// they write it in the ANSI code page, and a character it lacks becomes
// another ("?" or a look-alike). WC_NO_BEST_FIT_CHARS makes
// WideCharToMultiByte report look-alikes too.
bool FitsAnsiCodePage(const wchar_t* text)
{
    if (GetACP() == CP_UTF8)
        return true;  // holds every character, and takes no lpUsedDefaultChar
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, -1, nullptr, 0, nullptr,
                                     &usedDefault);
    return length > 0 && !usedDefault;
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

// The settings folder with its references expanded, trimmed; empty when
// there is none. A folder that expands to nothing is no folder; one whose
// settings file would not fit, or whose references could not be resolved
// whole, is not used, nothing of it is made or recorded.
int ExpandSettingsFolder(const wchar_t* settingsFolder, PathText& expanded)
{
    if (settingsFolder[0] == L'\0')
        return kSettingsInTargetFolder;
    bool whole = true;
    if (wcschr(settingsFolder, L'%') != nullptr)
        whole = ExpandPercentVariables(settingsFolder, expanded);
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
bool TakeSettingsFolder(PathText& expanded, PathText& activeFile, bool* activeCreated)
{
    DWORD before = GetFileAttributesW(expanded);
    bool usable = MakeFolderPath(expanded) && activeFile.JoinPath(expanded, kFileName) &&
                  PrepareSettingsFile(activeFile, false, activeCreated) &&
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

    PathText skin;
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

int UpdateSettingsFile(const InstallFolder& folder, const wchar_t* settingsFolder,
                       PathText& activeFile)
{
    PathText programFile, expanded;
    // a usable folder leaves room for it, as for every product file
    if (folder.Usable())
        programFile.JoinPath(folder.Path(), kFileName);
    int result = ExpandSettingsFolder(settingsFolder, expanded);
    bool remembered = !expanded.Empty();
    bool activeCreated = false;
    if (remembered && !TakeSettingsFolder(expanded, activeFile, &activeCreated)) {
        remembered = false;
        result = kSettingsFolderTooLong;
    }

    // the settings folder as the user gave it, whatever letters it holds
    bool wideValues = remembered && !FitsAnsiCodePage(settingsFolder);
    bool programCreated = false;
    if (!PrepareSettingsFile(programFile, wideValues, &programCreated))
        programFile.Clear();
    // from here to the last write both names lead to the files checked
    ScopedHandle activeHold = remembered ? HoldSettingsFile(activeFile) : ScopedHandle();
    if (remembered && !activeHold.IsValid()) {
        remembered = false;
        activeCreated = false;
        result = kSettingsFolderTooLong;
    }
    ScopedHandle programHold = HoldSettingsFile(programFile);
    if (!programHold.IsValid())
        programFile.Clear();
    if (remembered) {
        // the viewer expands the references itself, so they stay as written
        WriteKey(programFile, L"Others", L"INI_Folder", settingsFolder);
    } else {
        WriteKey(programFile, L"Others", L"INI_Folder", nullptr);
        activeFile.Assign(programFile);
    }
    bool portable = remembered && (wcsstr(activeFile, L"Photarium32_App") != nullptr ||
                                   wcsstr(activeFile, L"Photarium64_App") != nullptr);
    WriteDefaults(activeFile, programFile, portable);
    // (removing an empty file needs DELETE access, which the holds do not share)
    activeHold.Close();
    programHold.Close();

    // files made here that no write could fill (a full drive) do not stay
    if (programCreated && !programFile.Empty() && DeleteIfEmptyPlainFile(programFile) &&
        !remembered)
        activeFile.Clear();
    if (remembered && activeCreated && !activeFile.Empty() && DeleteIfEmptyPlainFile(activeFile))
        activeFile.Clear();
    return result;
}

ScopedFile OpenSettingsFile(const wchar_t* path)
{
    ScopedHandle file = OpenPlainFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      OPEN_EXISTING);
    return file.IsValid() ? StreamOver(file, "rb", false) : ScopedFile();
}

int ConvertSettingsFileToUtf16(const wchar_t* activeFile, ScopedFile source)
{
    if (BeginsWithUtf16Mark(source.Get()))
        return 1;
    unsigned char head[kUtf8MarkBytes];
    size_t got = fread(head, 1, sizeof(head), source.Get());
    fseek(source.Get(), 0, SEEK_SET);
    Conversion kind = EncodingOfMark(head, got) == SettingsEncoding::kUtf8WithMark
                          ? Conversion::kFromUtf8
                          : Conversion::kFromAnsi;
    int result = ReplaceWithConversion(activeFile, std::move(source), kind);
    // a temporary file that could not be made or filled leaves the original as it was
    return result < 0 ? 1 : result;
}
