#pragma once

#include "cookies/CRestartManager.h"

// Restart Manager of the system (rstrtmgr.dll).
class CWin32RestartManager final : public CRestartManager {
public:
    std::unique_ptr<CRestartSession> StartSession() override;
};
