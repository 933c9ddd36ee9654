// Times the Delete of sites in every browser store on its own, without the load benchmark's
// window rounds: builds the browsers' stores at the scale given (default 1), loads them with
// the program's manager and deletes the sites that have cookies in all three stores.
// Last line: delete-seconds <x>.

#include "BrowserStoresBench.h"

#include "store/Exceptions.h"
#include "support/RecordedMessages.h"

#include <cstdio>
#include <cwchar>
#include <exception>

int wmain(int argc, wchar_t** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const double scale = argc > 1 ? std::wcstod(argv[1], nullptr) : 1.0;
    try {
        CBrowserStoresBench browsers;
        browsers.Build(scale);
        browsers.Measure();
        browsers.Clear();
        // A failed delete says why in a box, recorded here instead of waiting on a click.
        for (const auto& message : TakeRecordedMessages()) {
            std::printf("message: %ls\n", message.text.c_str());
        }
        return 0;
    } catch (const CException& e) {
        std::printf("failed: %ls\n", e.GetText().c_str());
    } catch (const std::exception& e) {
        std::printf("failed: %s\n", e.what());
    }
    return 1;
}
