#pragma once

#include "cookies/CDomainService.h"

// The deletes of several sites in a row, from construction to End (or destruction): the
// stores stay open for all of them, and their deletes last from the end on.
class CDeleteBatch {
public:
    explicit CDeleteBatch(CDomainService& service) : m_service(service) {
        m_service.BeginDeleteBatch();
    }
    CDeleteBatch(const CDeleteBatch&) = delete;
    CDeleteBatch& operator=(const CDeleteBatch&) = delete;
    ~CDeleteBatch() { End(); }

    // True when every site reported deleted in the batch is gone for good; a failure has
    // been shown. Ends the batch once; later calls repeat the answer.
    bool End() noexcept {
        if (m_open) {
            m_open = false;
            m_committed = m_service.EndDeleteBatch();
        }
        return m_committed;
    }

private:
    CDomainService& m_service;
    bool m_open = true;
    bool m_committed = false;
};
