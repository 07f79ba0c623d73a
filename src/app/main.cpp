// The platform's entry point: the command line and the show command are not used.
#include <windows.h>

#include "app/run_application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return RunApplication(instance);
}
