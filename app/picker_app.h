// The application object: one copy of the picker at a time, no arguments, and the main window
// run modally for the life of the process.
#pragma once

#include "platform/framework/framework.h"

class CPickerApp : public CWinApp {
public:
    CPickerApp();

    BOOL InitInstance() override;
};
