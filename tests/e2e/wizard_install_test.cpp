// The ready page's Next: the installation through the wizard (compared with
// a silent one of the same choices), the notice while it runs, a folder that
// cannot be created and a running viewer; the pages in a high-contrast theme.
#include "registration_checks.h"
#include "screen_capture.h"
#include "messages.h"
#include "wine_test_util.h"
#include "wizard_fixture.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

const wchar_t kNotice[] = L"Installiere ... bitte warten ...";


std::wstring ShotFolder()
{
    const char* data = std::getenv("PHOTARIUM_TEST_DATA");
    std::wstring folder = (data != nullptr ? UnixToWindowsPath(data) : L"C:\\ptest") + L"\\shots\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::wstring AppDataFolder()
{
    wchar_t path[MAX_PATH] = L"";
    ExpandEnvironmentStringsW(L"%APPDATA%\\Photarium\\", path, MAX_PATH);
    return path;
}

struct Installation {
    std::map<std::wstring, std::string> files;
    std::map<std::wstring, std::string> settings;
    std::wstring registration;
};

Installation Snapshot(const std::wstring& folder)
{
    Installation result;
    result.files = FilesBelow(folder);
    result.settings = FilesBelow(AppDataFolder());
    result.registration = SnapshotRegistration();
    return result;
}

// The rendering of the notice the ready page should show: text in red Arial
// of the weight given, centred on one line, on the button face.
ScreenPixels RenderNotice(int width, int height, int weight)
{
    HDC screen = GetDC(nullptr);
    int resolution = GetDeviceCaps(screen, LOGPIXELSX);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    RECT rect = {0, 0, width, height};
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillRect(memory, &rect, face);
    DeleteObject(face);
    LOGFONTW description = {};
    description.lfHeight = MulDiv(18, resolution, 96);
    description.lfWeight = weight;
    description.lfQuality = ANTIALIASED_QUALITY;
    wcscpy(description.lfFaceName, L"Arial");
    HFONT font = CreateFontIndirectW(&description);
    HGDIOBJ oldFont = SelectObject(memory, font);
    SetTextColor(memory, RGB(255, 0, 0));
    SetBkColor(memory, GetSysColor(COLOR_BTNFACE));
    SetBkMode(memory, OPAQUE);
    DrawTextW(memory, kNotice, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(memory, oldFont);
    DeleteObject(font);

    ScreenPixels result;
    result.width = width;
    result.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            result.pixels.push_back(GetPixel(memory, x, y));
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return result;
}

int DifferentPixels(const ScreenPixels& a, const ScreenPixels& b)
{
    if (a.width != b.width || a.height != b.height)
        return -1;
    int count = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        count += a.pixels[i] != b.pixels[i] ? 1 : 0;
    return count;
}

class WizardInstall : public WizardTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(nullptr, FindWindowW(L"Photarium", nullptr));
        DeleteRegTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Classes\\Photarium");
    }
    std::vector<int> States() const
    {
        std::vector<int> states;
        for (int i = 0; i < ListItemCount(Item(kList)); ++i)
            states.push_back(ListStateImage(Item(kList), i));
        return states;
    }
    // From a new wizard: the folder, the formats of one file-type button (up
    // to lastRow ticked), Next on the ready page and answer to the question.
    void InstallWithFormats(const std::wstring& folder, int button, int lastRow, int answer)
    {
        ASSERT_NE(nullptr, StartWizard());
        SetText(Item(kFolder), folder);
        ASSERT_TRUE(GoTo(1) && GoTo(2));
        Click(Item(button));
        ASSERT_TRUE(WaitUntil([&] { return ListStateImage(Item(kList), lastRow) == 2; }, kLongWait));
        ASSERT_TRUE(GoTo(3));
        PressNext(sheet_);
        ASSERT_TRUE(AnswerMessageBox(Box(), answer));
    }
    // The ready page's notice, wherever the wizard is.
    HWND Notice() const
    {
        HWND ready = reinterpret_cast<HWND>(SendMessageW(sheet_, PSM_INDEXTOHWND, 3, 0));
        return GetDlgItem(ready, kNoticeId);
    }
    bool ButtonsEnabled(bool back, bool next, bool cancel) const
    {
        return (IsWindowEnabled(Button(kBack)) != FALSE) == back &&
               (IsWindowEnabled(Button(kNext)) != FALSE) == next &&
               (IsWindowEnabled(Button(IDCANCEL)) != FALSE) == cancel;
    }
};

TEST_F(WizardInstall, InstallsWhatTheSilentModeInstalls)
{
    const std::wstring folder = L"C:\\ptest\\same\\";

    // the same choices silently: desktop and group shortcuts for all users,
    // the 48 picture formats, settings in the application-data folder
    RemoveTree(folder);
    RemoveTree(AppDataFolder());
    ResetRegistrationState();
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + folder +
                          L" /desktop=1 /thumbs=0 /group=1 /allusers=1 /assoc=1 /ini=%APPDATA%\\Photarium"));
    Installation silent = Snapshot(folder);
    ASSERT_TRUE(silent.files.count(L"photar64.exe"));
    ASSERT_EQ(1u, silent.settings.count(L"photar64.ini"));

    RemoveTree(folder);
    RemoveTree(AppDataFolder());
    ResetRegistrationState();

    ASSERT_NE(nullptr, StartWizard());
    SetText(Item(kFolder), folder + L"   ");
    Click(Item(kThumbs));
    Click(Item(kAllUsers));
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(Item(kThumbs)) && IsChecked(Item(kAllUsers)); }, kLongWait));
    ASSERT_TRUE(GoTo(1));
    ASSERT_TRUE(GoTo(2));
    Click(Item(kImagesOnly));
    ASSERT_TRUE(WaitUntil([&] { return ListStateImage(Item(kList), 47) == 2; }, kLongWait));
    ASSERT_TRUE(GoTo(3));

    // before: the trimmed folder, the application-data choice, no notice
    EXPECT_EQ(L"Zielverzeichnis: " + folder, WindowText(Item(kReadyFolder)));
    EXPECT_TRUE(IsChecked(Item(kIniInAppData)));
    EXPECT_FALSE(IsChecked(Item(kIniInFolder)));
    EXPECT_FALSE(IsWindowVisible(Notice()));
    Sleep(500);
    EXPECT_TRUE(SaveScreen(ShotFolder() + L"ready-before.bmp"));

    PressNext(sheet_);
    // the installation waits in the association question
    HWND box = Box();
    ASSERT_TRUE(IsProgramBox(box, kMessage9, BoxButtons::kYesNo));

    // meanwhile: the notice in red bold Arial, every wizard button disabled,
    // and the install timer retitles the sheet
    EXPECT_EQ(3, ActiveIndex(sheet_));
    EXPECT_TRUE(IsWindowVisible(Notice()));
    EXPECT_EQ(kNotice, WindowText(Notice()));
    EXPECT_TRUE(ButtonsEnabled(false, false, false));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(sheet_) == kCaption; }, kLongWait)) << WindowText(sheet_);

    // the sheet where nothing covers it and the box out of its way, so that
    // the notice can be read off the screen
    PinToCorner(sheet_, ScreenCorner::kBottomLeft);
    SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // the notice as painted, once the move has been repainted: nearer to the
    // bold rendering than to the normal one (both drawn here in its font)
    ScreenPixels shown = CaptureClient(Notice());
    ASSERT_GT(shown.width, 0);
    ScreenPixels bold = RenderNotice(shown.width, shown.height, FW_BOLD);
    ScreenPixels normal = RenderNotice(shown.width, shown.height, FW_NORMAL);
    ASSERT_GT(DifferentPixels(normal, bold), 50);  // the weights can be told apart
    EXPECT_TRUE(WaitUntil([&] {
        shown = CaptureClient(Notice());
        return shown.Count(RGB(255, 0, 0)) > 100 &&
               DifferentPixels(bold, shown) < DifferentPixels(normal, shown);
    }, kLongWait)) << DifferentPixels(bold, shown) << " " << DifferentPixels(normal, shown);
    EXPECT_TRUE(SaveScreen(ShotFolder() + L"ready-during.bmp"));

    ASSERT_TRUE(AnswerMessageBox(box, IDYES));
    ASSERT_TRUE(WaitForPage(sheet_, 4));
    EXPECT_TRUE(ButtonsEnabled(false, false, true));
    EXPECT_TRUE(NoBox());

    Installation wizard = Snapshot(folder);
    EXPECT_EQ(silent.files.size(), wizard.files.size());
    for (const auto& file : silent.files) {
        auto found = wizard.files.find(file.first);
        ASSERT_NE(wizard.files.end(), found) << file.first;
        EXPECT_TRUE(file.second == found->second) << file.first;
    }
    EXPECT_TRUE(silent.settings == wizard.settings);
    EXPECT_EQ(silent.registration, wizard.registration);
    EXPECT_NE(std::wstring::npos, wizard.registration.find(L"Photarium.jpg")) << "associations";

    Click(Item(kShowFaq));
    Click(Item(kStartViewer));
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(Item(kStartViewer)) && !IsChecked(Item(kShowFaq)); }, kLongWait));
    Click(Button(IDCANCEL));
    EXPECT_TRUE(wizard_->WaitForExit(kLongWait));
}

TEST_F(WizardInstall, NoToTheQuestionInstallsAsWithoutFormats)
{
    const std::wstring folder = L"C:\\ptest\\no\\";
    auto clear = [&] { RemoveTree(folder); RemoveTree(AppDataFolder()); ResetRegistrationState(); };
    clear();  // the silent installation of the wizard's defaults, without formats
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + folder +
                          L" /desktop=1 /thumbs=1 /group=1 /ini=%APPDATA%\\Photarium"));
    Installation silent = Snapshot(folder);
    clear();
    InstallWithFormats(folder, kSelectAll, 61, IDNO);
    ASSERT_TRUE(WaitForPage(sheet_, 4));
    Installation wizard = Snapshot(folder);
    EXPECT_TRUE(silent.files == wizard.files && silent.settings == wizard.settings);
    EXPECT_EQ(silent.registration, wizard.registration);
    ExpectFormatRows(folder, {});  // every user choice and extension keeps its earlier program
}

TEST_F(WizardInstall, RunningViewerStaysAndFailedFolderGoesBack)
{
    ASSERT_NE(nullptr, StartWizard());
    // a drive that does not exist
    SetText(Item(kFolder), L"Q:\\Nirgendwo\\Photarium");
    ASSERT_TRUE(GoTo(1));
    ASSERT_TRUE(GoTo(2));
    Click(Item(kSelectAll));
    ASSERT_TRUE(WaitUntil([&] { return ListStateImage(Item(kList), 61) == 2; }, kLongWait));
    std::vector<int> marks = States();
    ASSERT_TRUE(GoTo(3));
    Click(Item(kIniInFolder));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(Item(kIniInFolder)); }, kLongWait));

    {
        FakeViewerWindow viewer;
        ASSERT_NE(nullptr, viewer.Get());
        PressNext(sheet_);
        HWND box = Box();
        ASSERT_TRUE(IsProgramBox(box, kMessage10, BoxButtons::kOk));
        // nothing started: no notice, buttons as they were
        EXPECT_FALSE(IsWindowVisible(Notice()));
        EXPECT_TRUE(ButtonsEnabled(true, true, true));
        ASSERT_TRUE(AnswerMessageBox(box, IDOK));
        EXPECT_EQ(3, ActiveIndex(sheet_));
        EXPECT_TRUE(IsChecked(Item(kIniInFolder)));  // the page was not left
    }

    // another installation holds the machine's lock: a box of ours, and the ready page stays
    HANDLE lock = CreateMutexW(nullptr, TRUE, L"Global\\Photarium64SetupInstallation");
    PressNext(sheet_);
    HWND busy = Box();
    ASSERT_TRUE(IsProgramBox(busy, kBusyMessage, BoxButtons::kOk) && AnswerMessageBox(busy, IDOK));
    EXPECT_TRUE(Settle() && ActiveIndex(sheet_) == 3 && ButtonsEnabled(true, true, true) && !IsWindowVisible(Notice()));
    CloseHandle(lock);
    PressNext(sheet_);
    HWND box = Box();
    ASSERT_TRUE(IsProgramBox(box, kMessage11, BoxButtons::kOk));
    EXPECT_TRUE(ButtonsEnabled(false, false, false));
    ASSERT_TRUE(AnswerMessageBox(box, IDOK));
    ASSERT_TRUE(WaitForPage(sheet_, 0));
    EXPECT_TRUE(ButtonsEnabled(false, true, true));
    EXPECT_EQ(L"Q:\\Nirgendwo\\Photarium", WindowText(Item(kFolder)));
    // nothing runs any more: the notice is gone from its page
    EXPECT_FALSE(GetWindowLongW(Notice(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(NoBox());

    // forward again: the marks are kept, the settings choice is proposed anew
    ASSERT_TRUE(GoTo(1));
    ASSERT_TRUE(GoTo(2));
    EXPECT_EQ(marks, States());
    ASSERT_TRUE(GoTo(3));
    EXPECT_TRUE(IsChecked(Item(kIniInAppData)));
    EXPECT_FALSE(IsChecked(Item(kIniInFolder)));
}

// An update whose file another program holds: message 7, the options page
// again, the earlier installation as it was, and the file named in the log.
TEST_F(WizardInstall, HeldFileKeepsTheEarlierInstallationAndGoesBack)
{
    const std::wstring folder = FreshFolder(L"wizardheld") + L"Photarium\\";
    ASSERT_EQ(0, RunSetup(L"/silent /folder=" + folder));
    WriteFileBytes(folder + L"p_about.txt", "alt");
    const auto before = FilesBelow(folder, true);
    HANDLE held = CreateFileW((folder + L"photar64.exe").c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(nullptr, StartWizard());
    SetText(Item(kFolder), folder);
    ASSERT_TRUE(GoTo(1) && GoTo(2) && GoTo(3));
    PressNext(sheet_);
    HWND box = Box();
    ASSERT_TRUE(IsProgramBox(box, kMessage7, BoxButtons::kOk) && AnswerMessageBox(box, IDOK));
    EXPECT_TRUE(WaitForPage(sheet_, 0));
    CloseHandle(held);
    auto after = FilesBelow(folder, true);
    after.erase(L"Photarium_Install.log");
    EXPECT_TRUE(before == after);
    EXPECT_EQ((std::vector<std::string>{Latin1(kNotReplaced + folder + L"photar64.exe\n")}),
              InstallLogTexts(folder));
}

class WizardVersions : public WizardInstall {
protected:
    void TearDown() override
    {
        WizardInstall::TearDown();
        SetWineWindowsVersion(L"win7");
    }
};

TEST_F(WizardVersions, WindowsOwnPageForTheDefaultsOpensOnceAsTheWizardEnds)
{
    const std::wstring folder = L"C:\\ptest\\choice\\";
    // on 10, not on 7 (the choice is written) nor on 8 (no Settings page)
    for (const wchar_t* version : {L"win10", L"win8", L"win7"}) {
        SCOPED_TRACE(version);
        const bool opens = std::wstring(version) == L"win10";
        SetWineWindowsVersion(version);
        RemoveTree(folder);
        ResetRegistrationState();
        RecordOpenedUrls();
        InstallWithFormats(folder, kImagesOnly, 47, IDYES);
        ASSERT_TRUE(WaitForPage(sheet_, 4));
        Click(Item(kStartViewer));
        Click(Item(kShowFaq));
        ASSERT_TRUE(WaitUntil([&] { return !IsChecked(Item(kShowFaq)); }, kLongWait));
        Click(Button(IDCANCEL));
        ASSERT_TRUE(wizard_->WaitForExit(kLongWait));
        std::string opened = WaitForOpenedUrls(opens ? 1 : 0);
        EXPECT_TRUE(WaitUntil([] { return !IsProgramRunning(L"url_recorder.exe"); }, kLongWait));
        EXPECT_EQ(opened, ReadFileBytes(kOpenedUrls));  // nothing came later
        EXPECT_EQ(opens ? 1 : 0, std::count(opened.begin(), opened.end(), '\n')) << opened;
        EXPECT_EQ(opens, opened.find(" \"ms-settings:defaultapps?registeredAppMachine=Photarium\"\n") !=
                             std::string::npos) << opened;
        wizard_.reset();
    }
}

TEST_F(WizardVersions, SettingsChoiceFollowsTheWindowsVersion)
{
    // 6.0 is the first version that proposes the application-data folder
    SetWineWindowsVersion(L"vista");
    ASSERT_NE(nullptr, StartWizard());
    for (int page = 1; page <= 3; ++page)
        ASSERT_TRUE(GoTo(page)) << page;
    EXPECT_TRUE(IsChecked(Item(kIniInAppData)));
    EXPECT_FALSE(IsChecked(Item(kIniInFolder)));
    wizard_.reset();

    // before it, the viewer's own folder, again after every return; the
    // installation then keeps the active settings file in the target folder
    const std::wstring folder = L"C:\\ptest\\xp\\";
    RemoveTree(folder);
    RemoveTree(AppDataFolder());
    SetWineWindowsVersion(L"winxp64");
    ASSERT_NE(nullptr, StartWizard());
    SetText(Item(kFolder), folder);
    for (int page = 1; page <= 3; ++page)
        ASSERT_TRUE(GoTo(page)) << page;
    EXPECT_TRUE(IsChecked(Item(kIniInFolder)));
    EXPECT_FALSE(IsChecked(Item(kIniInAppData)));
    Click(Item(kIniInAppData));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(Item(kIniInAppData)); }, kLongWait));
    ASSERT_TRUE(GoTo(2));
    ASSERT_TRUE(GoTo(3));
    EXPECT_TRUE(IsChecked(Item(kIniInFolder)));
    EXPECT_FALSE(IsChecked(Item(kIniInAppData)));

    // no formats chosen: no question, straight to the finish page
    PressNext(sheet_);
    ASSERT_TRUE(WaitForPage(sheet_, 4));
    EXPECT_TRUE(NoBox());
    std::string ini = ReadFileBytes(folder + L"photar64.ini");
    ASSERT_GE(ini.size(), 2u);
    EXPECT_EQ("\xFF\xFE", ini.substr(0, 2));  // the active file, converted
    EXPECT_FALSE(FileExists(AppDataFolder() + L"photar64.ini"));
}

// A high-contrast theme in the prefix (white text on black, yellow links),
// and the setup program built to read the setting from the registry, where
// Windows keeps it: Wine reports none.
class WizardContrast : public WizardInstall {
protected:
    void SetUp() override { WizardInstall::SetUp(), saved_ = Theme({L"0 0 0", L"255 255 255", L"255 255 0"}); }
    void TearDown() override { WizardInstall::TearDown(), Theme(saved_); }
    // The colours of the page, its text and links; the earlier ones.
    static std::vector<std::wstring> Theme(const std::vector<std::wstring>& colours)
    {
        std::vector<std::wstring> earlier;
        for (const wchar_t* name : {L"ButtonFace", L"WindowText", L"HotTrackingColor"}) {
            earlier.push_back(ReadRegText(HKEY_CURRENT_USER, L"Control Panel\\Colors", name));
            SetRegText(HKEY_CURRENT_USER, L"Control Panel\\Colors", name, colours[earlier.size() - 1]);
        }
        SetRegText(HKEY_CURRENT_USER, kSetting, L"Flags", L"126");
        return earlier;
    }
    static constexpr const wchar_t* kSetting = L"Control Panel\\Accessibility\\HighContrast";
    std::vector<std::wstring> saved_;
};

TEST_F(WizardContrast, LinkAndNoticeTakeTheThemesColours)
{
    const COLORREF yellow = RGB(255, 255, 0);
    wizard_ = std::make_unique<WizardProcess>();
    ASSERT_TRUE(wizard_->Start(L"", TestDataPath("contrast/photar64_setup.exe")));
    ASSERT_TRUE((sheet_ = wizard_->Sheet()) != nullptr && WaitForPage(sheet_, 0));
    PinToCorner(sheet_, ScreenCorner::kBottomLeft);
    auto shows = [](HWND control, COLORREF colour) {
        return WaitUntil([&] { return CaptureClient(control).Count(colour) > 10; }, kLongWait);
    };
    // the theme's page, the link's own blue; then the setting is switched on
    // (127 has HCF_HIGHCONTRASTON) and the wizard hears of it as every
    // top-level window does
    EXPECT_EQ(RGB(0, 0, 0), CaptureClient(Item(kLink)).At(0, 0));
    EXPECT_TRUE(shows(Item(kLink), RGB(0, 0, 238)));
    SetRegText(HKEY_CURRENT_USER, kSetting, L"Flags", L"127");
    SendMessageTimeoutW(sheet_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG, kLongWait, nullptr);
    EXPECT_TRUE(shows(Item(kLink), yellow) && CaptureClient(Item(kLink)).HasLineOf(yellow));
    EXPECT_EQ(0, CaptureClient(Item(kLink)).Count(RGB(0, 0, 238)));
    EXPECT_TRUE(SaveScreen(ShotFolder() + L"contrast-options.bmp"));

    // the notice in the theme's text colour while the installation asks
    SetText(Item(kFolder), L"C:\\ptest\\contrast\\");
    ASSERT_TRUE(GoTo(1) && GoTo(2));
    Click(Item(kImagesOnly));
    ASSERT_TRUE(WaitUntil([&] { return ListStateImage(Item(kList), 0) == 2; }, kLongWait));
    ASSERT_TRUE(GoTo(3));
    PressNext(sheet_);
    HWND box = Box();
    ASSERT_TRUE(IsProgramBox(box, kMessage9, BoxButtons::kYesNo));
    SetWindowPos(box, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return CaptureClient(Notice()).Count(RGB(255, 255, 255)) > 100; }, kLongWait));
    EXPECT_EQ(0, CaptureClient(Notice()).Count(RGB(255, 0, 0)));
    EXPECT_TRUE(SaveScreen(ShotFolder() + L"contrast-ready.bmp"));
    ASSERT_TRUE(AnswerMessageBox(box, IDYES));
    ASSERT_TRUE(WaitForPage(sheet_, 4));
    EXPECT_TRUE(SaveScreen(ShotFolder() + L"contrast-finish.bmp"));
}

}  // namespace
