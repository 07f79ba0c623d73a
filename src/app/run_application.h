// Start-up, the message loop and shutdown.
#pragma once

#include <windows.h>

// The program's main function; its result is the process exit code.
int RunApplication(HINSTANCE instance);
