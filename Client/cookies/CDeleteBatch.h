#pragma once

#include "cookies/CDomainService.h"

// The deletes of several sites in a row, from construction to destruction: the stores stay
// open for all of them.
class CDeleteBatch {
public:
    explicit CDeleteBatch(CDomainService& service) : m_service(service) {
        m_service.BeginDeleteBatch();
    }
    CDeleteBatch(const CDeleteBatch&) = delete;
    CDeleteBatch& operator=(const CDeleteBatch&) = delete;
    ~CDeleteBatch() { m_service.EndDeleteBatch(); }

private:
    CDomainService& m_service;
};
