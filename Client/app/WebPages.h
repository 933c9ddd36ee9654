#pragma once

#include <string>

// Opens `url` in Internet Explorer. A failure is shown in a warning box ("Failed displaying
// page ...") and otherwise ignored, so the calling window simply carries on.
void OpenWebPage(const std::wstring& url);

// The product web site's pages, each from its string-table entry.
void OpenHomePage();
void OpenHelpPage();
void OpenNewsPage();
void OpenGettingStartedPage();
