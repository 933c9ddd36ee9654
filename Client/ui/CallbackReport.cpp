#include "ui/CallbackReport.h"

#include "res/resource.h"
#include "store/Exceptions.h"
#include "ui/ShowMessage.h"
#include "res/StringLoader.h"

#include <string>

void ReportUnhandledException() noexcept {
    try {
        const std::wstring text = CurrentExceptionText();
        ShowMessage(FormatString(LoadExpandedString(IDS_UNHANDLED_EXCEPTION).c_str(), text.c_str()),
                    MB_OK | MB_ICONERROR);
    } catch (...) {
        // Out of memory while reporting: nothing is left to report with.
    }
}
