// The base of every effect. Minimal form: the active flag that creatures
// read on their speech balloon and the stop.
#pragma once
#include <cstdint>

class CEffect {
public:
    virtual ~CEffect() = default;
    bool IsActive() const { return m_active != 0; }
    void Start() { m_active = 1; }
    // Ends the effect: its pool slot is free again.
    virtual void Stop() { m_active = 0; }

protected:
    uint32_t m_active = 0;
};
