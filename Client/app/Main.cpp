#include "res/resource.h"
#include "ui/ShowMessage.h"
#include "ui/StringLoader.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ShowMessage(LoadExpandedString(IDS_MAIN_CAPTION), MB_OK | MB_ICONINFORMATION);
    return 0;
}
