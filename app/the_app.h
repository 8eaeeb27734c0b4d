#pragma once
// The application object of the setup program.

#include "framework/win_app.h"

class TheApp : public CWinApp {
public:
    ~TheApp() override;
    BOOL InitInstance() override;
};
