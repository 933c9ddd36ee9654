#pragma once

// Shows the exception being handled as "Unhandled Exception:" with its text. Called only from
// inside a catch block; never throws. The application installs it as the framework's
// callback reporter.
void ReportUnhandledException() noexcept;
