#pragma once
// The application object: one static instance, started by wWinMain.

#include <windows.h>

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Overridables
    // Returns FALSE when no message loop is to follow; the process then ends.
    virtual BOOL InitInstance();
    // The process exit code.
    virtual int ExitInstance();

    // Operations
    void SetExitCode(int code) { m_nExitCode = code; }

private:
    int m_nExitCode = 0;
};

// The one application object.
CWinApp* AfxGetApp();
