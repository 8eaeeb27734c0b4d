// The what's-new page and the file-type page: the release notes as the
// resource holds them, the 62 format rows, the three buttons, the marks
// across page changes and the column widths.
#include "messages.h"
#include "wine_test_util.h"
#include "wizard_fixture.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

struct Row {
    const wchar_t* label;
    const wchar_t* description;
};

const Row kRows[] = {
    {L"ANI", L"Animated Windows Cursors *"},
    {L"B3D", L"BodyPaint 3D Format *"},
    {L"BMP/DIB", L"Windows Bitmap"},
    {L"CLP", L"Windows Clipboard"},
    {L"CRW/CR2", L"Canon RAW Format *"},
    {L"CUR", L"Windows Cursor"},
    {L"DCM/ACR/IMA", L"DICOM Format *"},
    {L"DCX", L"Multipage Zsoft Paintbrush"},
    {L"DDS", L"Direct Draw Surface *"},
    {L"DJVU/IW44", L"DjVu Format *"},
    {L"DXF", L"Drawing Interchange Format *"},
    {L"ECW", L"Enhanced Compressed Wavelet *"},
    {L"EMF", L"Enhanced Windows Metafile"},
    {L"EPS/PS", L"PostScript Format *"},
    {L"EXR", L"EXR Format *"},
    {L"G3", L"G3 FAX Format *"},
    {L"GIF", L"Compuserve GIF"},
    {L"HDP/JXR/WDP", L"JPEG-XR/HD-Photo Format *"},
    {L"HEIC", L"High Efficiency Image File Format *"},
    {L"ICO", L"Windows Icon"},
    {L"IFF/LBM", L"Amiga Interchange File Format *"},
    {L"JLS", L"JPEG-LS Format *"},
    {L"JP2/JPC/J2K", L"JPEG2000 Format *"},
    {L"JPG/JPEG/JPE", L"JPEG Format"},
    {L"JPM", L"JPM Format *"},
    {L"KDC", L"Kodak Digital Camera Format *"},
    {L"MNG/JNG", L"Multiple Network Graphics *"},
    {L"PBM", L"Portable Bitmap"},
    {L"PCD", L"Kodak Photo CD"},
    {L"PCX", L"Zsoft Paintbrush"},
    {L"PGM", L"Portable Greymap"},
    {L"PNG", L"Portable Network Graphics"},
    {L"PPM", L"Portable Pixelmap"},
    {L"PSD", L"Adobe Photoshop Image"},
    {L"PSP", L"Paint Shop Pro Image *"},
    {L"RAS/SUN", L"Sun Raster Format *"},
    {L"RAW", L"RAW Image Data *"},
    {L"RLE", L"Utah RLE Format *"},
    {L"SFF", L"Structured Fax Format *"},
    {L"SGI/RGB", L"Silicon Graphics Image *"},
    {L"SID", L"LizardTech MrSID Format *"},
    {L"TGA", L"Truevision Targa"},
    {L"TIF/TIFF", L"Tagged Image File Format"},
    {L"WBMP", L"WAP Bitmap *"},
    {L"WEBP", L"Weppy Format *"},
    {L"WMF", L"Windows Metafile"},
    {L"XBM", L"X-Bitmap *"},
    {L"XPM", L"X-Pixmap *"},
    {L"SWF/FLV", L"Macromedia Flash Format *"},
    {L"TTF", L"True Type Font Format *"},
    {L"ASF", L"Advanced Systems Format *"},
    {L"AVI", L"Video for Windows *"},
    {L"MPG/MPE/MPEG", L"MPEG Movie *"},
    {L"MOV", L"Apple QuickTime Movie *"},
    {L"WMV", L"Windows Media Video File *"},
    {L"AIF", L"Audio Interchange Format *"},
    {L"MID/RMI", L"MIDI Sound Format *"},
    {L"MP3", L"MPEG Audio Format *"},
    {L"OGG", L"Ogg Vorbis Audio Format *"},
    {L"AU/SND", L"SUN Audio Format *"},
    {L"WAV", L"Windows Audio Format *"},
    {L"WMA", L"Windows Media Audio File *"},
};

constexpr int kRowCount = 62;
constexpr int kImageRows = 48;


// The release notes resource of the setup program, as UTF-16 units.
std::wstring ReleaseNotesResource()
{
    HMODULE setup = LoadLibraryExW(SetupExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (setup == nullptr)
        return L"<no module>";
    std::wstring text = L"<no resource>";
    if (HRSRC resource = FindResourceW(setup, MAKEINTRESOURCEW(128), L"TXT")) {
        DWORD bytes = SizeofResource(setup, resource);
        const auto* data = static_cast<const wchar_t*>(LockResource(LoadResource(setup, resource)));
        if (data != nullptr)
            text.assign(data, bytes / 2);
    }
    FreeLibrary(setup);
    return text;
}

class WizardPages : public WizardTest {
protected:
    HWND List() const { return Item(kList); }
    // The state image of every row (1 cleared, 2 ticked)
    std::vector<int> States() const
    {
        std::vector<int> states;
        for (int i = 0; i < ListItemCount(List()); ++i)
            states.push_back(ListStateImage(List(), i));
        return states;
    }
    static std::vector<int> Expected(int tickedFrom, int tickedTo)
    {
        std::vector<int> states(kRowCount, 1);
        for (int i = tickedFrom; i < tickedTo; ++i)
            states[static_cast<size_t>(i)] = 2;
        return states;
    }
    bool Press(int button, const std::vector<int>& expected)
    {
        Click(Item(button));
        return WaitUntil([&] { return States() == expected; }, kLongWait);
    }
};

TEST_F(WizardPages, WhatsNewShowsTheReleaseNotes)
{
    std::wstring notes = ReleaseNotesResource();
    // the resource's form: byte-order mark, 20 lines each ending in CR LF, no NUL
    ASSERT_GT(notes.size(), 2u);
    EXPECT_EQ(L'\xFEFF', notes[0]);
    EXPECT_EQ(L'-', notes[1]);
    EXPECT_EQ(L"\r\n", notes.substr(notes.size() - 2));
    EXPECT_EQ(std::wstring::npos, notes.find(L'\0'));
    size_t lines = 0;
    for (size_t at = notes.find(L"\r\n"); at != std::wstring::npos; at = notes.find(L"\r\n", at + 2))
        ++lines;
    EXPECT_EQ(20u, lines);

    ASSERT_NE(nullptr, StartWizard());
    ASSERT_TRUE(GoTo(1));
    HWND text = Item(kWhatsNewText);
    EXPECT_EQ(notes, WindowText(text));
    EXPECT_TRUE(GetWindowLongW(text, GWL_STYLE) & ES_READONLY);

    // by keys alone: Tab reaches the text, the arrows go down and right
    // through more and longer lines than it shows, Esc still asks
    SetForegroundWindow(sheet_);
    ASSERT_TRUE(TabTo(sheet_, text));
    std::wstring longer;
    for (int line = 0; line < 80; ++line)
        longer += std::wstring(300, static_cast<wchar_t>(L'a' + line % 26)) + L"\r\n";
    SetText(text, longer);
    for (bool column : {false, true}) {
        EXPECT_TRUE(WaitUntil([&] {
            PressKey(column ? VK_RIGHT : VK_DOWN);
            LRESULT corner = SendMessageW(text, EM_CHARFROMPOS, 0, MAKELPARAM(3, 3));
            return column ? LOWORD(corner) > SendMessageW(text, EM_LINEINDEX, HIWORD(corner), 0) : HIWORD(corner) > 0;
        }, kLongWait)) << column;
    }
    PressKey(VK_ESCAPE);
    HWND box = Box();
    EXPECT_TRUE(IsProgramBox(box, kCancelQuestion, BoxButtons::kYesNo));
    EXPECT_TRUE(AnswerMessageBox(box, IDNO));

    // again after coming back from the file-type page
    ASSERT_TRUE(GoTo(2));
    ASSERT_TRUE(GoTo(1));
    EXPECT_EQ(notes, WindowText(Item(kWhatsNewText)));
}

TEST_F(WizardPages, FileTypeListHoldsTheFormatTable)
{
    ASSERT_NE(nullptr, StartWizard());
    ASSERT_TRUE(GoTo(1));
    ASSERT_TRUE(GoTo(2));
    HWND list = List();
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(kRowCount, ListItemCount(list));
    for (int i = 0; i < kRowCount; ++i) {
        EXPECT_EQ(kRows[i].label, ListItemText(wizard_->Handle(), list, i, 0)) << i;
        EXPECT_EQ(kRows[i].description, ListItemText(wizard_->Handle(), list, i, 1)) << i;
    }
    EXPECT_EQ(Expected(0, 0), States());
    EXPECT_EQ(0x24,
              SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));

    RECT rect = {};
    GetWindowRect(list, &rect);
    int width = rect.right - rect.left;
    EXPECT_EQ(width / 3, SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
    EXPECT_EQ((2 * width) / 3 - 25, SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0));
}

TEST_F(WizardPages, ButtonsTickGroupsAndMarksSurvivePageChanges)
{
    ASSERT_NE(nullptr, StartWizard());
    ASSERT_TRUE(GoTo(1));
    ASSERT_TRUE(GoTo(2));
    EXPECT_TRUE(Press(kSelectAll, Expected(0, kRowCount)));
    EXPECT_TRUE(Press(kImagesOnly, Expected(0, kImageRows)));
    EXPECT_TRUE(Press(kSelectNone, Expected(0, 0)));

    // "Nur Bilder" after "Alle markieren" clears the other rows
    EXPECT_TRUE(Press(kSelectAll, Expected(0, kRowCount)));
    EXPECT_TRUE(Press(kImagesOnly, Expected(0, kImageRows)));
    std::vector<int> marks = States();

    ASSERT_TRUE(GoTo(1));
    ASSERT_TRUE(GoTo(0));
    ASSERT_TRUE(GoTo(1));
    ASSERT_TRUE(GoTo(2));
    EXPECT_EQ(kRowCount, ListItemCount(List()));
    EXPECT_EQ(marks, States());
    ASSERT_TRUE(GoTo(3));
    ASSERT_TRUE(GoTo(2));
    EXPECT_EQ(marks, States());
}

TEST_F(WizardPages, ReadyPageShowsTrimmedFolderAndResetsTheSettingsChoice)
{
    ASSERT_NE(nullptr, StartWizard());
    SetText(Item(kFolder), L"C:\\Ziel\\Photarium   ");
    for (int page = 1; page <= 3; ++page)
        ASSERT_TRUE(GoTo(page)) << page;
    EXPECT_EQ(L"Zielverzeichnis: C:\\Ziel\\Photarium", WindowText(Item(kReadyFolder)));
    // the prefix reports Windows 7: the application-data folder is proposed
    EXPECT_TRUE(IsChecked(Item(kIniInAppData)));
    EXPECT_FALSE(IsChecked(Item(kIniInFolder)));
    Click(Item(kIniInFolder));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(Item(kIniInFolder)); }, kLongWait));
    ASSERT_TRUE(GoTo(2));
    ASSERT_TRUE(GoTo(3));
    EXPECT_TRUE(IsChecked(Item(kIniInAppData)));
    EXPECT_FALSE(IsChecked(Item(kIniInFolder)));

}

TEST_F(WizardPages, PagesFollowTheResolution)
{
    // the second column; no control reaching past its page (at 144 the file
    // types' buttons would, by a pixel); a folder of 200 characters cut in
    // its middle to fit the ready page's line, keeping drive and last folder
    const std::wstring folder = L"D:\\Alt\\" + std::wstring(184, L'x') + L"\\Letzter\\";
    for (const auto& row : {std::pair<DWORD, int>(144, 38), {192, 50}, {96, 25}}) {
        DWORD dpi = row.first;
        // the setup program reads the resolution when it starts
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", &key));
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
        RegCloseKey(key);

        ASSERT_NE(nullptr, StartWizard());
        RECT rect = {};
        SetText(Item(kFolder), folder);
        for (int page = 1; page <= 3; ++page) {
            ASSERT_TRUE(GoTo(page));
            HWND shown = ActivePage(sheet_);
            RECT inside = {}, both = {};
            GetClientRect(shown, &inside);
            for (HWND child = GetWindow(shown, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                GetWindowRect(child, &rect);
                MapWindowPoints(nullptr, shown, reinterpret_cast<POINT*>(&rect), 2);
                EXPECT_TRUE(IntersectRect(&both, &rect, &inside) && EqualRect(&both, &rect))
                    << dpi << " " << GetDlgCtrlID(child);
            }
        }
        std::wstring line = WindowText(Item(kReadyFolder));
        EXPECT_EQ(0u, line.find(L"Zielverzeichnis: D:\\Alt\\x")) << line;
        EXPECT_EQ(line.size() - 12, line.find(L"...\\Letzter\\")) << line;
        GetClientRect(Item(kReadyFolder), &rect);
        EXPECT_LE(DialogTextSize(109, kReadyFolder, line.c_str(), false).cx, rect.right) << line;
        ASSERT_TRUE(GoTo(2));
        HWND list = List();
        GetWindowRect(list, &rect);
        int width = rect.right - rect.left;
        EXPECT_EQ((2 * width) / 3 - row.second, SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0)) << width;
        wizard_.reset();
    }
}

}  // namespace
