#include "app/CApplication.h"
#include "cookies/CookieManager.h"

#include <windows.h>

// The program's two static objects, made in this order and destroyed the other way round:
// the manager goes first.
static CApplication application;
static CookieManager cookieManager;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    return application.Main(cookieManager, commandLine);
}
