#include "app/CommandRing.h"

#include "platform/Debug.h"

CCommandRing g_commandRing;

uint32_t CCommandRing::Push(uint32_t value)
{
    if (IsFull()) {
        // Taking it would make the ring read as empty and lose every
        // unread entry.
        plat::DebugPrintf("command ring full: %u dropped\n", value);
        return value;
    }
    m_slots[m_write] = value;
    m_write = (m_write + 1) % kSlots;
    return value;
}

uint32_t CCommandRing::Pop()
{
    if (m_read == m_write)
        return kEmpty;
    const uint32_t value = m_slots[m_read];
    m_read = (m_read + 1) % kSlots;
    return value;
}
