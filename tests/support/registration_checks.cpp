#include "registration_checks.h"
#include "zip_builder.h"

#include "shortcut_util.h"
#include "wine_test_util.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

// Rows 0 to 61 of the format table: extensions in their order, the suffix
// of their program identifier, the icon kind.
const ExpectedExtension kExpectedExtensions[84] = {
    {0, L"ani", L"ani", L"F"},       {1, L"b3d", L"b3d", L"P0"},     {2, L"bmp", L"bmp", L"P0"},
    {2, L"dib", L"bmp", L"P0"},      {3, L"clp", L"clp", L"P0"},     {4, L"crw", L"crw", L"P0"},
    {4, L"cr2", L"cr2", L"P0"},      {5, L"cur", L"cur", L"F"},      {6, L"dcm", L"dcm", L"P0"},
    {6, L"acr", L"dcm", L"P0"},      {6, L"ima", L"dcm", L"P0"},     {7, L"dcx", L"dcx", L"P0"},
    {8, L"dds", L"dds", L"P0"},      {9, L"djvu", L"djvu", L"P0"},   {9, L"iw44", L"djvu", L"P0"},
    {10, L"dxf", L"dxf", L"P0"},     {11, L"ecw", L"ecw", L"P0"},    {12, L"emf", L"emf", L"P0"},
    {13, L"eps", L"eps", L"P0"},     {13, L"ps", L"eps", L"P0"},     {14, L"exr", L"exr", L"P0"},
    {15, L"g3", L"g3", L"P0"},       {16, L"gif", L"gif", L"P0"},    {17, L"hdp", L"hdp", L"P0"},
    {17, L"jxr", L"hdp", L"P0"},     {17, L"wdp", L"hdp", L"P0"},    {18, L"heic", L"heic", L"P0"},
    {19, L"ico", L"ico", L"F"},      {20, L"iff", L"iff", L"P0"},    {20, L"lbm", L"iff", L"P0"},
    {21, L"jls", L"jls", L"P0"},     {22, L"jp2", L"jp2", L"P0"},    {22, L"jpc", L"jp2", L"P0"},
    {22, L"j2k", L"jp2", L"P0"},     {23, L"jpg", L"jpg", L"P0"},    {23, L"jpeg", L"jpg", L"P0"},
    {23, L"jpe", L"jpg", L"P0"},     {24, L"jpm", L"jpm", L"P0"},    {25, L"kdc", L"kdc", L"P0"},
    {26, L"mng", L"mng", L"P0"},     {26, L"jng", L"jng", L"P0"},    {27, L"pbm", L"pbm", L"P0"},
    {28, L"pcd", L"pcd", L"P0"},     {29, L"pcx", L"pcx", L"P0"},    {30, L"pgm", L"pgm", L"P0"},
    {31, L"png", L"png", L"P0"},     {32, L"ppm", L"ppm", L"P0"},    {33, L"psd", L"psd", L"P0"},
    {34, L"psp", L"psp", L"P0"},     {35, L"ras", L"ras", L"P0"},    {35, L"sun", L"ras", L"P0"},
    {36, L"raw", L"raw", L"P0"},     {37, L"rle", L"rle", L"P0"},    {38, L"sff", L"sff", L"P0"},
    {39, L"sgi", L"sgi", L"P0"},     {39, L"rgb", L"sgi", L"P0"},    {40, L"sid", L"sid", L"P0"},
    {41, L"tga", L"tga", L"P0"},     {42, L"tif", L"tif", L"P0"},    {42, L"tiff", L"tif", L"P0"},
    {43, L"wbmp", L"wbmp", L"P0"},   {44, L"webp", L"webp", L"P0"},  {45, L"wmf", L"wmf", L"P0"},
    {46, L"xbm", L"xbm", L"P0"},     {47, L"xpm", L"xpm", L"P0"},    {48, L"swf", L"swf", L"P0"},
    {48, L"flv", L"flv", L"P0"},     {49, L"ttf", L"ttf", L"P0"},    {50, L"asf", L"asf", L"P9"},
    {51, L"avi", L"avi", L"P9"},     {52, L"mpg", L"mpg", L"P9"},    {52, L"mpe", L"mpe", L"P9"},
    {52, L"mpeg", L"mpg", L"P9"},    {53, L"mov", L"mov", L"P9"},    {54, L"wmv", L"wmv", L"P9"},
    {55, L"aif", L"aif", L"P8"},     {56, L"mid", L"mid", L"P8"},    {56, L"rmi", L"rmi", L"P8"},
    {57, L"mp3", L"mp3", L"P8"},     {58, L"ogg", L"ogg", L"P8"},    {59, L"au", L"au", L"P8"},
    {59, L"snd", L"au", L"P8"},      {60, L"wav", L"wav", L"P8"},    {61, L"wma", L"wma", L"P8"},
};

namespace {

const wchar_t kVerb[] = L"Durchsuchen mit &Photarium";
const wchar_t kUninstall[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Photarium64";
const wchar_t kFileExts[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.";
const wchar_t* const kStoreApps[] = {
    L"SOFTWARE\\Classes\\AppXvhc4p7vz4b485xfp46hhk3fq3grkdgjg",
    L"SOFTWARE\\Classes\\AppXk0g4vb8gvt7b93tg50ybcy892pge6jmt",
    L"SOFTWARE\\Classes\\AppX43hnxtbyyps62jhe9sqpdzxn1790zetc",
    L"SOFTWARE\\Classes\\AppX9rkaq77s0jzh1tyccadx9ghba15r6t3h",
    L"SOFTWARE\\Classes\\AppX6eg8h5sxqq90pv53845wmnbewywdqq5h",
};
const wchar_t* const kDesktopNames[] = {L"Photarium 64.lnk", L"Photarium 64 Thumbnails.lnk"};

std::wstring Classes(const std::wstring& key) { return L"SOFTWARE\\Classes\\" + key; }
// clp: no earlier choice, so that a test sees none made
constexpr int kRowWithoutChoice = 3;
std::wstring OpenWith(const std::wstring& extension)
{
    return Classes(L".") + extension + L"\\OpenWithProgids";
}



std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
}

DWORD ValueCount(HKEY root, const std::wstring& key)
{
    HKEY handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return 0;
    DWORD values = 0;
    RegQueryInfoKeyW(handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                     nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(handle);
    return values;
}

std::vector<std::wstring> SubKeys(HKEY root, const std::wstring& key)
{
    std::vector<std::wstring> names;
    HKEY handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &handle) != ERROR_SUCCESS)
        return names;
    wchar_t name[256];
    for (DWORD i = 0; RegEnumKeyW(handle, i, name, 256) == ERROR_SUCCESS; ++i)
        names.push_back(name);
    RegCloseKey(handle);
    std::sort(names.begin(), names.end());
    return names;
}

// Values and subkeys of a key, recursively, as text.
void DumpKey(HKEY root, const std::wstring& key, std::wstring* out)
{
    HKEY handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) {
        *out += key + L" <missing>\n";
        return;
    }
    *out += L"[" + key + L"]\n";
    std::vector<std::wstring> lines;
    wchar_t name[512];
    BYTE data[4096];
    for (DWORD i = 0;; ++i) {
        DWORD nameUnits = 512, type = 0, size = sizeof(data);
        if (RegEnumValueW(handle, i, name, &nameUnits, nullptr, &type, data, &size) !=
            ERROR_SUCCESS)
            break;
        std::wstring line = std::wstring(name) + L" type " + std::to_wstring(type) + L" bytes " +
                            std::to_wstring(size) + L": ";
        if (type == REG_SZ)
            line += std::wstring(reinterpret_cast<wchar_t*>(data), size / 2);
        else if (type == REG_DWORD && size == 4)
            line += std::to_wstring(*reinterpret_cast<DWORD*>(data));
        lines.push_back(line);
    }
    RegCloseKey(handle);
    std::sort(lines.begin(), lines.end());
    for (const std::wstring& line : lines)
        *out += L"  " + line + L"\n";
    for (const std::wstring& child : SubKeys(root, key))
        DumpKey(root, key + L"\\" + child, out);
}

void ExpectShortcut(const std::wstring& path, const std::wstring& target,
                    const std::wstring& arguments, const std::wstring& iconFile, int iconIndex,
                    const std::wstring& description)
{
    ShortcutFields fields;
    ASSERT_TRUE(ReadShortcut(path, &fields))
        << "cannot load " << std::string(path.begin(), path.end());
    EXPECT_EQ(target, fields.target) << "target of " << std::string(path.begin(), path.end());
    EXPECT_EQ(arguments, fields.arguments);
    EXPECT_EQ(iconFile, fields.iconFile);
    EXPECT_EQ(iconIndex, fields.iconIndex);
    EXPECT_EQ(description, fields.description);
}

}  // namespace

std::wstring ForeignProgId(const std::wstring& extension) { return L"Fremd." + extension; }

void ExpectRegText(HKEY root, const std::wstring& key, const std::wstring& name,
                   const std::wstring& text)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    std::string where(key.begin(), key.end());
    where += " / " + std::string(name.begin(), name.end());
    ASSERT_TRUE(ReadRegValue(root, key, name, &type, &data)) << "missing: " << where;
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type) << where;
    std::wstring withNul = text + L'\0';
    std::vector<BYTE> expected(reinterpret_cast<const BYTE*>(withNul.data()),
                               reinterpret_cast<const BYTE*>(withNul.data()) + withNul.size() * 2);
    EXPECT_EQ(expected, data) << where;
}

void ExpectRegDword(HKEY root, const std::wstring& key, const std::wstring& name, DWORD value)
{
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(ReadRegValue(root, key, name, &type, &data));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    ASSERT_EQ(4u, data.size());
    EXPECT_EQ(value, *reinterpret_cast<DWORD*>(data.data()));
}

std::wstring DesktopFolder(bool allUsers)
{
    return ShellFolder(allUsers ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY);
}

std::wstring GroupFolder(bool allUsers)
{
    return ShellFolder(allUsers ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) + L"Photarium\\";
}

std::wstring UserChoice(const std::wstring& ext) { return kFileExts + ext + L"\\UserChoice"; }

bool PrefixReportsWindows8OrLater()
{
    const std::wstring version = ReadRegText(HKEY_CURRENT_USER, L"Software\\Wine", L"Version");
    return version == L"win8" || version == L"win81" || version == L"win10" || version == L"win11";
}

bool SystemIsWindows8OrLater()
{
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto getVersion = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    getVersion(&info);
    return info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 2);
}

void ResetRegistrationState()
{
    DeleteRegTree(HKEY_LOCAL_MACHINE, Classes(L"Directory\\shell\\") + kVerb);
    DeleteRegTree(HKEY_LOCAL_MACHINE, Classes(L"Drive\\shell\\") + kVerb);
    DeleteRegTree(HKEY_LOCAL_MACHINE, Classes(L"Photarium"));
    DeleteRegTree(HKEY_LOCAL_MACHINE, Classes(L"Applications\\photar64.exe"));
    DeleteRegTree(HKEY_LOCAL_MACHINE, kUninstall);
    DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Photarium");
    for (const std::wstring& child : SubKeys(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes"))
        if (child.rfind(L"Photarium.", 0) == 0)
            DeleteRegTree(HKEY_LOCAL_MACHINE, Classes(child));
    // an icon an earlier installation left under the application's identifier
    SetRegText(HKEY_LOCAL_MACHINE, Classes(L"Photarium\\DefaultIcon"), L"", L"alt.exe,3");

    HKEY registered;
    if (RegCreateKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications", &registered) ==
        ERROR_SUCCESS) {
        RegDeleteValueW(registered, L"Photarium");
        RegCloseKey(registered);
    }
    for (const wchar_t* key : kStoreApps)
        DeleteRegTree(HKEY_CURRENT_USER, key);

    for (const ExpectedExtension& e : kExpectedExtensions) {
        const std::wstring foreign = ForeignProgId(e.extension);
        SetRegText(HKEY_LOCAL_MACHINE, Classes(L".") + e.extension, L"", foreign);
        DeleteRegTree(HKEY_CURRENT_USER, UserChoice(e.extension));
        if (e.row != kRowWithoutChoice) {
            SetRegText(HKEY_CURRENT_USER, UserChoice(e.extension), L"Progid", foreign);
            SetRegText(HKEY_CURRENT_USER, UserChoice(e.extension), L"Hash", L"alt");
        }
        DeleteRegTree(HKEY_LOCAL_MACHINE, OpenWith(e.extension));
        SetRegText(HKEY_LOCAL_MACHINE, OpenWith(e.extension), foreign, L"");
    }

    for (bool allUsers : {false, true}) {
        RemoveTree(GroupFolder(allUsers));
        for (const wchar_t* name : kDesktopNames)
            RemoveTree(DesktopFolder(allUsers) + name);
    }
}

void ExpectUninstallFacts(const std::wstring& folder, const std::vector<ArchiveEntry>& product)
{
    unsigned long long bytes = 0;
    for (const ArchiveEntry& entry : product)
        bytes += entry.data.size();
    SYSTEMTIME today;
    GetLocalTime(&today);
    wchar_t date[16];
    swprintf(date, 16, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    const HKEY lm = HKEY_LOCAL_MACHINE;
    ExpectRegDword(lm, kUninstall, L"EstimatedSize", static_cast<DWORD>((bytes + 1023) / 1024));
    ExpectRegText(lm, kUninstall, L"InstallDate", date);
    ExpectRegDword(lm, kUninstall, L"NoModify", 1);
    ExpectRegDword(lm, kUninstall, L"NoRepair", 1);
    ExpectRegText(lm, kUninstall, L"URLInfoAbout", L"https://www.photarium.example/");
    ExpectRegText(lm, kUninstall, L"HelpLink", L"https://www.photarium.example/faq.htm");
    ExpectRegText(lm, kUninstall, L"QuietUninstallString", L"\"" + folder + L"pt_uninstall.exe\" /silent");
}

void ExpectApplicationRows(const std::wstring& folder, bool withVerbs)
{
    const std::wstring program = folder + L"photar64.exe";
    const std::wstring open = L"\"" + program + L"\" \"%1\"";
    const std::wstring thumbs = L"\"" + program + L"\" \"%1\" /thumbs";
    const HKEY lm = HKEY_LOCAL_MACHINE;

    if (withVerbs) {
        ExpectRegText(lm, Classes(L"Directory\\shell\\") + kVerb, L"", kVerb);           // 1
        ExpectRegText(lm, Classes(L"Directory\\shell\\") + kVerb + L"\\command", L"", thumbs);
        ExpectRegText(lm, Classes(L"Drive\\shell\\") + kVerb, L"", kVerb);               // 3
        ExpectRegText(lm, Classes(L"Drive\\shell\\") + kVerb + L"\\command", L"", thumbs);
    } else {
        ExpectNoFolderVerbs();
    }
    ExpectRegText(lm, Classes(L"Photarium"), L"", L"Photarium");                          // 5
    ExpectRegText(lm, Classes(L"Photarium\\shell\\open\\command"), L"", open);            // 6
    EXPECT_FALSE(RegKeyExists(lm, Classes(L"Photarium\\DefaultIcon")));                  // 7
    ExpectRegText(HKEY_CLASSES_ROOT, L"Applications\\photar64.exe\\shell\\open\\command", L"",
                  open);                                                                  // 8
    ExpectRegText(HKEY_CLASSES_ROOT, L"Applications\\photar64.exe", L"FriendlyAppName",
                  L"Photarium 64-bit");                                                   // 9
    ExpectRegText(lm, kUninstall, L"", L"");                                              // 10
    ExpectRegText(lm, kUninstall, L"DisplayName", L"Photarium 4.53 (64-bit)");
    ExpectRegText(lm, kUninstall, L"UninstallString", L"\"" + folder + L"pt_uninstall.exe\"");
    ExpectRegText(lm, kUninstall, L"Publisher", L"Calvorn");
    ExpectRegText(lm, kUninstall, L"InstallLocation", folder);
    ExpectRegText(lm, kUninstall, L"DisplayVersion", L"4.53");
    ExpectRegText(lm, kUninstall, L"DisplayIcon", program + L",0");
    ExpectRegDword(lm, kUninstall, L"VersionMajor", 4);
    ExpectRegDword(lm, kUninstall, L"VersionMinor", 53);
    ExpectUninstallFacts(folder, ProductEntries());                                      // 19
    EXPECT_TRUE(RegKeyExists(lm, L"SOFTWARE\\Photarium"));                                // 20
    ExpectRegText(lm, L"SOFTWARE\\Photarium\\shell\\open\\command", L"", L"\"" + program + L"\"");
    ExpectRegText(lm, L"SOFTWARE\\Photarium\\Capabilities", L"ApplicationDescription",
                  L"Picture viewer, editor and converter - one of the most popular viewers "
                  L"worldwide");                                                          // 22
    EXPECT_TRUE(RegKeyExists(lm, L"SOFTWARE\\Photarium\\Capabilities\\FileAssociations"));
    ExpectRegText(lm, L"SOFTWARE\\RegisteredApplications", L"Photarium",
                  L"SOFTWARE\\Photarium\\Capabilities");                                  // 24
    // what the shell reads through the merged view
    ExpectRegText(HKEY_CLASSES_ROOT, L"Photarium\\shell\\open\\command", L"", open);
}

void ExpectNoFolderVerbs()
{
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, Classes(L"Directory\\shell\\") + kVerb));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, Classes(L"Drive\\shell\\") + kVerb));
}

void ExpectFormatRows(const std::wstring& folder, const std::set<int>& selectedRows)
{
    const std::wstring program = folder + L"photar64.exe";
    const std::wstring open = L"\"" + program + L"\" \"%1\"";
    const std::wstring capabilities = L"SOFTWARE\\Photarium\\Capabilities\\FileAssociations";
    std::set<std::wstring> progIds;
    for (const ExpectedExtension& e : kExpectedExtensions) {
        SCOPED_TRACE(std::string("row ") + std::to_string(e.row) + " ." +
                     std::string(e.extension, e.extension + wcslen(e.extension)));
        const std::wstring ext = e.extension;
        const std::wstring progId = std::wstring(L"Photarium.") + e.suffix;
        progIds.insert(progId);
        std::wstring icon = L"%1";
        if (std::wstring(e.icon) == L"P0")
            icon = program + L",0";
        else if (std::wstring(e.icon) == L"P8")
            icon = program + L",8";
        else if (std::wstring(e.icon) == L"P9")
            icon = program + L",9";

        ExpectRegText(HKEY_LOCAL_MACHINE, Classes(progId), L"",
                      L"Photarium " + Upper(e.suffix) + L" File");
        ExpectRegText(HKEY_LOCAL_MACHINE, Classes(progId + L"\\shell\\open\\command"), L"", open);
        ExpectRegText(HKEY_LOCAL_MACHINE, Classes(progId + L"\\DefaultIcon"), L"", icon);
        ExpectRegText(HKEY_LOCAL_MACHINE, capabilities, L"." + ext, progId);

        bool selected = selectedRows.count(e.row) > 0;
        bool forced = ext == L"jpg" || ext == L"png" || ext == L"tif";
        ExpectRegText(HKEY_LOCAL_MACHINE, Classes(L"." + ext), L"",
                      selected || forced ? progId : ForeignProgId(ext));
        ExpectRegText(HKEY_CLASSES_ROOT, L"." + ext, L"",
                      selected || forced ? progId : ForeignProgId(ext));
        // "Open with" gains the viewer beside what it offered; the user's
        // choice is rewritten only where Windows keeps no hash of it
        ExpectRegText(HKEY_LOCAL_MACHINE, OpenWith(ext), ForeignProgId(ext), L"");
        EXPECT_EQ(selected ? 2u : 1u, ValueCount(HKEY_LOCAL_MACHINE, OpenWith(ext)));
        if (selected)
            ExpectRegText(HKEY_LOCAL_MACHINE, OpenWith(ext), progId, L"");
        if (selected && !PrefixReportsWindows8OrLater()) {
            ExpectRegText(HKEY_CURRENT_USER, UserChoice(ext), L"Progid", progId);
            EXPECT_EQ(1u, ValueCount(HKEY_CURRENT_USER, UserChoice(ext)));
        } else if (e.row == kRowWithoutChoice) {
            EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, UserChoice(ext)));
        } else {
            ExpectRegText(HKEY_CURRENT_USER, UserChoice(ext), L"Progid", ForeignProgId(ext));
            ExpectRegText(HKEY_CURRENT_USER, UserChoice(ext), L"Hash", L"alt");
        }
    }
    EXPECT_EQ(67u, progIds.size());
    EXPECT_EQ(84u, ValueCount(HKEY_LOCAL_MACHINE, capabilities));
    size_t written = 0;
    for (const std::wstring& child : SubKeys(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes"))
        if (child.rfind(L"Photarium.", 0) == 0)
            ++written;
    EXPECT_EQ(67u, written);
}

void ExpectStoreAppMarks(bool present)
{
    for (const wchar_t* key : kStoreApps) {
        if (present) {
            ExpectRegText(HKEY_CURRENT_USER, key, L"NoOpenWith", L"");
        } else {
            EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, key))
                << std::string(key, key + wcslen(key));
        }
    }
}

void ExpectNothingRegistered()
{
    ExpectNoFolderVerbs();
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, Classes(L"Photarium\\shell")));
    EXPECT_EQ(L"alt.exe,3", ReadRegText(HKEY_LOCAL_MACHINE, Classes(L"Photarium\\DefaultIcon")));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, Classes(L"Applications\\photar64.exe")));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kUninstall));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Photarium"));
    EXPECT_EQ(L"<missing>",
              ReadRegText(HKEY_LOCAL_MACHINE, L"SOFTWARE\\RegisteredApplications", L"Photarium"));
    EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, Classes(L"Photarium.jpg")));
    for (const ExpectedExtension& e : kExpectedExtensions)
        EXPECT_EQ(ForeignProgId(e.extension),
                  ReadRegText(HKEY_LOCAL_MACHINE, Classes(L".") + e.extension));
    ExpectStoreAppMarks(false);
    for (bool allUsers : {false, true}) {
        EXPECT_FALSE(FolderExists(GroupFolder(allUsers)));
        for (const wchar_t* name : kDesktopNames)
            EXPECT_FALSE(FileExists(DesktopFolder(allUsers) + name));
    }
}

void ExpectGroupShortcuts(const std::wstring& folder, bool allUsers, bool withUninstall)
{
    const std::wstring group = GroupFolder(allUsers);
    const std::wstring program = folder + L"photar64.exe";
    struct Row {
        const wchar_t* name;
        std::wstring target;
        const wchar_t* arguments;
        std::wstring icon;
        int index;
    };
    std::vector<Row> rows = {
        {L"Photarium 64 4.53.lnk", program, L"", L"", 0},
        {L"Photarium - Thumbnails.lnk", program, L"/thumbs", program, 7},
        {L"\u00DCber Photarium.lnk", folder + L"p_about.txt", L"", L"", 0},
        {L"Was ist neu.lnk", folder + L"p_changes.txt", L"", L"", 0},
        {L"Kommandozeilen-Optionen.lnk", folder + L"p_options.txt", L"", L"", 0},
        {L"Verf\u00FCgbare PlugIns.lnk", folder + L"p_plugins.txt", L"", L"", 0},
        {L"Verf\u00FCgbare Sprachen.lnk", folder + L"p_languages.txt", L"", L"", 0},
        // made with "<folder>\\help\\...": the shell resolves the target when the
        // link is saved, so the doubled separator is not what it keeps or shows
        {L"Photarium Hilfe.lnk", folder + L"help\\photar32_deutsch.chm", L"", L"", 0},
    };
    if (withUninstall)
        rows.push_back(
            {L"Photarium deinstallieren.lnk", folder + L"pt_uninstall.exe", L"", L"", 0});

    std::vector<std::wstring> names;
    for (const Row& row : rows)
        names.push_back(row.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, ListFolder(group));
    for (const Row& row : rows)
        ExpectShortcut(group + row.name, row.target, row.arguments, row.icon, row.index, L"");
}

void ExpectDesktopShortcuts(const std::wstring& folder, bool allUsers, bool viewer,
                            bool thumbnails)
{
    const std::wstring desktop = DesktopFolder(allUsers);
    const std::wstring program = folder + L"photar64.exe";
    EXPECT_EQ(viewer, FileExists(desktop + L"Photarium 64.lnk"));
    EXPECT_EQ(thumbnails, FileExists(desktop + L"Photarium 64 Thumbnails.lnk"));
    if (viewer)
        ExpectShortcut(desktop + L"Photarium 64.lnk", program, L"", L"", 0,
                       L"Photarium 64 - Bildbetrachter");
    if (thumbnails)
        ExpectShortcut(desktop + L"Photarium 64 Thumbnails.lnk", program, L"/thumbs", program, 7,
                       L"Photarium - Thumbnails");
}

std::wstring SnapshotRegistration()
{
    std::wstring out;
    const HKEY lm = HKEY_LOCAL_MACHINE;
    DumpKey(lm, Classes(L"Directory\\shell\\") + kVerb, &out);
    DumpKey(lm, Classes(L"Drive\\shell\\") + kVerb, &out);
    DumpKey(lm, Classes(L"Photarium"), &out);
    DumpKey(lm, Classes(L"Applications\\photar64.exe"), &out);
    DumpKey(lm, kUninstall, &out);
    DumpKey(lm, L"SOFTWARE\\Photarium", &out);
    out += L"registered: " + ReadRegText(lm, L"SOFTWARE\\RegisteredApplications", L"Photarium") +
           L"\n";
    for (const std::wstring& child : SubKeys(lm, L"SOFTWARE\\Classes"))
        if (child.rfind(L"Photarium.", 0) == 0)
            DumpKey(lm, Classes(child), &out);
    for (const ExpectedExtension& e : kExpectedExtensions) {
        DumpKey(lm, Classes(L".") + e.extension, &out);
        DumpKey(HKEY_CURRENT_USER, UserChoice(e.extension), &out);
    }
    for (const wchar_t* key : kStoreApps)
        DumpKey(HKEY_CURRENT_USER, key, &out);
    for (bool allUsers : {false, true}) {
        std::vector<std::wstring> files;
        for (const std::wstring& name : ListFolder(GroupFolder(allUsers)))
            files.push_back(GroupFolder(allUsers) + name);
        for (const wchar_t* name : kDesktopNames)
            files.push_back(DesktopFolder(allUsers) + name);
        for (const std::wstring& file : files) {
            ShortcutFields f;
            if (!ReadShortcut(file, &f))
                continue;
            out += file + L": " + f.target + L" | " + f.arguments + L" | " + f.iconFile + L"," +
                   std::to_wstring(f.iconIndex) + L" | " + f.description + L"\n";
        }
    }
    return out;
}
