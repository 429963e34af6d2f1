// The queue of command ids that windows, hot keys, field clicks, network
// handlers and scripts push and the UI layer drains once per frame.
#pragma once
#include <array>
#include <cstdint>

class CCommandRing {
public:
    static constexpr uint32_t kSlots = 256;
    // What Pop gives for an empty ring.
    static constexpr uint32_t kEmpty = 0xFFFFFFFFu;

    CCommandRing() = default;

    // Queues a command id or an argument; returns the value. -1 is queued
    // like any value: popped, it reads as the empty marker and ends the
    // dispatcher's pass there. A full ring (255 unread entries) refuses the
    // push with a debug trace.
    uint32_t Push(uint32_t value);
    // The oldest unread entry, or -1 when the ring is empty.
    uint32_t Pop();

    bool IsEmpty() const { return m_read == m_write; }
    bool IsFull() const { return (m_write + 1) % kSlots == m_read; }
    uint32_t Count() const { return (m_write + kSlots - m_read) % kSlots; }
    // Back to the state at process start (between tests).
    void Reset() { m_read = m_write = 0; }

private:
    std::array<uint32_t, kSlots> m_slots{};
    uint32_t m_write = 0;
    uint32_t m_read = 0;
};

extern CCommandRing g_commandRing;
