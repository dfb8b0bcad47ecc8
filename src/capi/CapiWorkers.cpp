#include "capi/CapiWorkers.h"

bool CapiWorkers::acquire(const void* owner)
{
    if (m_owner != nullptr && m_owner != owner)
        return false;
    m_owner = owner;
    return true;
}

void CapiWorkers::release(const void* owner)
{
    if (m_owner != owner)
        return;
    m_owner = nullptr;
    emit freed();
}
