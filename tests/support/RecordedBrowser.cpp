#include "support/RecordedBrowser.h"

#include "app/BrowserLauncher.h"

#include <utility>

namespace {

struct CBrowserRecord {
    INT_PTR result = 42;
    std::vector<std::wstring> requests;
};

CBrowserRecord& Record() {
    static CBrowserRecord record;
    return record;
}

} // namespace

INT_PTR StartBrowser(const std::wstring& url) {
    Record().requests.push_back(url);
    return Record().result;
}

void SetBrowserResult(INT_PTR result) {
    Record().result = result;
}

std::vector<std::wstring> TakeBrowserRequests() {
    return std::exchange(Record().requests, {});
}
