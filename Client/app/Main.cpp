#include "app/CApplication.h"

#include <windows.h>

// The program's two static objects.
static CApplication application;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    return application.Main(commandLine);
}
