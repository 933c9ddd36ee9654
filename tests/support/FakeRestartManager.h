#pragma once

#include "cookies/CRestartManager.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

// Restart Manager over made-up programs: which files each holds, and whether it closes when
// asked. Every call goes into `calls`.
class CFakeRestartManager final : public CRestartManager {
public:
    struct CProgram {
        CHoldingProgram holding;
        std::vector<std::wstring> files;
        bool refuses = false;
    };

    std::unique_ptr<CRestartSession> StartSession() override {
        calls.push_back(L"start");
        return std::make_unique<CSession>(*this);
    }

    void AddProgram(DWORD id, const std::wstring& name, std::vector<std::wstring> files,
                    bool refuses = false) {
        programs.push_back({{id, {id, 0}, name, false}, std::move(files), refuses});
    }

    std::vector<CProgram> programs;
    std::vector<std::wstring> calls;

private:
    class CSession final : public CRestartSession {
    public:
        explicit CSession(CFakeRestartManager& manager) : m_manager(manager) {}
        ~CSession() override { m_manager.calls.push_back(L"end"); }

        void RegisterFiles(const std::vector<std::wstring>& files) override {
            std::wstring call = L"register";
            for (const std::wstring& file : files) {
                call += L" " + file;
                m_files.push_back(file);
            }
            m_manager.calls.push_back(call);
        }
        std::vector<CHoldingProgram> GetList() override {
            std::vector<CHoldingProgram> list;
            for (const CProgram& program : m_manager.programs) {
                if (std::any_of(program.files.begin(), program.files.end(), [this](auto& file) {
                        return std::find(m_files.begin(), m_files.end(), file) != m_files.end();
                    })) {
                    list.push_back(program.holding);
                }
            }
            return list;
        }
        void Shutdown() override {
            m_manager.calls.push_back(L"shutdown");
            for (CProgram& program : m_manager.programs) {
                program.holding.stopped = !program.refuses;
            }
        }
        void Restart() override { m_manager.calls.push_back(L"restart"); }

    private:
        CFakeRestartManager& m_manager;
        std::vector<std::wstring> m_files;
    };
};
