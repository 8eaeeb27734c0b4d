#pragma once
// The application object of the setup program.

#include "framework/win_app.h"

class TheApp : public CWinApp {
public:
    ~TheApp() override;
    BOOL InitInstance() override;

private:
    LOGFONTW m_logFontTitle = {};  // description of the wizard's title font
};
