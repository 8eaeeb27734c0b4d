#include "install/files_in_use.h"

#include "install/names_in_folder.h"
#include "platform/fixed_text.h"
#include "platform/library_search.h"
#include "platform/scoped_handle.h"
#include "platform/scoped_library.h"
#include "resources/product_identity.h"

#include <restartmanager.h>

#include <cwchar>
#include <initializer_list>
#include <memory>
#include <new>

namespace {

using ProcessList = std::unique_ptr<RM_PROCESS_INFO[]>;

// the viewer's program and its libraries, this many in all at most
constexpr UINT kMostFiles = 64;
// more processes than any machine has using a few files
constexpr UINT kMostProcesses = 4096;

// A Restart Manager session over some files, ended when it goes. The library
// is loaded from the system folder when asked, not imported at start; a
// system without it, or whose calls fail, leaves the question unanswered.
class RestartSession {
public:
    RestartSession(const wchar_t** files, UINT count)
        : library_(LoadSystemLibrary(L"rstrtmgr.dll"))
    {
        HMODULE module = library_.Get();
        auto start = LibraryFunction<decltype(&RmStartSession)>(module, "RmStartSession");
        auto add = LibraryFunction<decltype(&RmRegisterResources)>(module, "RmRegisterResources");
        getList_ = LibraryFunction<decltype(&RmGetList)>(module, "RmGetList");
        end_ = LibraryFunction<decltype(&RmEndSession)>(module, "RmEndSession");
        WCHAR key[CCH_RM_SESSION_KEY + 1];
        started_ = start && add && getList_ && end_ && start(&session_, 0, key) == ERROR_SUCCESS;
        // all in one call: each registration is a write to the Restart Manager's own store
        registered_ = started_ && add(session_, count, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS;
    }
    ~RestartSession()
    {
        if (started_)
            end_(session_);
    }
    RestartSession(const RestartSession&) = delete;
    RestartSession& operator=(const RestartSession&) = delete;

    // The processes using the files, into list; their count, 0 when none or
    // when the Restart Manager cannot tell.
    UINT List(ProcessList& list) const
    {
        UINT room = 0;
        // a process starting between two questions lengthens the list: asked again
        for (int attempt = 0; registered_ && attempt < 3; ++attempt) {
            UINT needed = 0, filled = room;
            DWORD reasons = 0;
            DWORD result = getList_(session_, &needed, &filled, list.get(), &reasons);
            if (result == ERROR_SUCCESS)
                return filled <= room ? filled : 0;
            if (result != ERROR_MORE_DATA || needed == 0 || needed > kMostProcesses)
                return 0;
            list.reset(new (std::nothrow) RM_PROCESS_INFO[needed]);
            if (!list)
                return 0;
            room = needed;
        }
        return 0;
    }

private:
    ScopedLibrary library_;
    decltype(&RmGetList) getList_ = nullptr;
    decltype(&RmEndSession) end_ = nullptr;
    DWORD session_ = 0;
    bool started_ = false;
    bool registered_ = false;
};

// The file's volume and index, the same whatever name or link leads to it.
// Attributes only: no data access, so that the sharing mode of the program
// running it or of a holder is not in the way.
bool FileIdentity(const wchar_t* path, BY_HANDLE_FILE_INFORMATION* identity)
{
    ScopedHandle file(CreateFileW(path, FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    return file.IsValid() && GetFileInformationByHandle(file.Get(), identity);
}

// The program file a process runs, into image.
bool ProcessImage(HANDLE process, PathText& image)
{
    DWORD units = image.kUnits;
    return QueryFullProcessImageNameW(process, 0, image.Buffer(), &units) != FALSE;
}

// The viewer's program in folder, then the libraries of its plug-in and
// language folders, kMostFiles in all at most; names point into files.
UINT ProductFiles(const wchar_t* viewer, const wchar_t* folder, PathText* files,
                  const wchar_t** names)
{
    names[0] = viewer;
    UINT count = 1;
    for (const wchar_t* subfolder : {L"Plugins", L"Languages"}) {
        PathText libraries, pattern;
        if (!libraries.JoinPath(folder, subfolder) || !pattern.JoinPath(libraries, L"*.dll"))
            continue;
        WIN32_FIND_DATAW found;
        ScopedFind search(FindFirstFileExW(pattern, FindExInfoBasic, &found, FindExSearchNameMatch,
                                           nullptr, 0));
        for (bool more = search.IsValid(); more && count < kMostFiles;
             more = FindNextFileW(search.Get(), &found) != FALSE) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                files[count].JoinPath(libraries, found.cFileName))
                names[count] = files[count], ++count;
        }
    }
    return count;
}

}  // namespace

bool MayRunProgram(DWORD processId, const FILETIME& started, const wchar_t* program)
{
    HANDLE opened = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    // A process whose security descriptor refuses us (another account's, one
    // of a higher integrity level): listed, it uses the product's files, and
    // may be the viewer.
    if (opened == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;
    ScopedHandle process(opened);
    FILETIME created, exited, kernel, user;
    PathText image;
    BY_HANDLE_FILE_INFORMATION ran, wanted;
    // process ids are reused: the start time tells the one listed
    return GetProcessTimes(opened, &created, &exited, &kernel, &user) &&
           CompareFileTime(&created, &started) == 0 && ProcessImage(opened, image) &&
           FileIdentity(image, &ran) && FileIdentity(program, &wanted) && IsSameFile(ran, wanted);
}

bool IsViewerRunningFrom(const InstallFolder& folder)
{
    PathText viewer;
    BY_HANDLE_FILE_INFORMATION identity;
    // no viewer there (a new installation): nothing to ask
    if (!folder.Usable() || !viewer.JoinPath(folder.Path(), PHOTARIUM_PROGRAM_FILE) ||
        !FileIdentity(viewer, &identity))
        return false;
    PathText files[kMostFiles];
    const wchar_t* names[kMostFiles];
    RestartSession session(names, ProductFiles(viewer, folder.Path(), files, names));
    ProcessList list;
    UINT listed = session.List(list);
    for (UINT i = 0; i < listed; ++i) {
        // services, the shell and the system's own processes are never the viewer
        RM_APP_TYPE type = list[i].ApplicationType;
        if (type != RmService && type != RmExplorer && type != RmCritical &&
            MayRunProgram(list[i].Process.dwProcessId, list[i].Process.ProcessStartTime, viewer))
            return true;
    }
    return false;
}

bool FindFileHolder(const wchar_t* path, PathText& name)
{
    const wchar_t* files[] = {path};
    RestartSession session(files, 1);
    ProcessList list;
    if (session.List(list) == 0)
        return false;
    const RM_PROCESS_INFO& holder = list[0];
    if (holder.strAppName[0] != L'\0')
        return name.Assign(holder.strAppName);
    HANDLE opened = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, holder.Process.dwProcessId);
    if (opened == nullptr)
        return false;
    ScopedHandle process(opened);
    PathText image;
    if (!ProcessImage(opened, image))
        return false;
    const wchar_t* slash = std::wcsrchr(image, L'\\');
    return name.Assign(slash != nullptr ? slash + 1 : image.Get());
}
