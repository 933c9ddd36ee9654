#pragma once

#include "support/ProgramDriver.h"

#include <memory>
#include <string>

// A process that stands in for a running browser: it holds `file` (a Chromium cookie database,
// Firefox's "parent.lock") with share mode 0, as the browser does, until it is destroyed.
class CBrowserStandIn {
public:
    explicit CBrowserStandIn(const std::wstring& file);

private:
    std::unique_ptr<CProgramRun> m_run;
};

// Starts the helper that deletes every cookie of `host` in `database` through the program's
// own source, in one batch; `ready` is set just before the delete starts.
std::unique_ptr<CProgramRun> StartDeleting(const std::wstring& database, const std::wstring& host,
                                           const std::wstring& ready);
