// The screen transition between stages and into and out of battles.
// Least form: it records the transition asked for; the wipe, the load and
// the re-entry come with the field frame.
#pragma once
#include <cstdint>

class CStageChange {
public:
    enum Type : int32_t { kMove = 0, kEnterBattle = 1, kLeaveBattle = 2 };
    enum State : int32_t { kWipe = 0, kLoad = 1, kIdle = 2 };

    void Init(int type, int stage, int x, int y)
    {
        m_type = type;
        m_state = kWipe;
        m_counter = 0;
        m_stage = stage;
        m_x = x;
        m_y = y;
    }
    void Finish() { m_state = kIdle; }

    int GetType() const { return m_type; }
    int GetState() const { return m_state; }
    int GetStage() const { return m_stage; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }

private:
    int32_t m_type = kMove;
    int32_t m_state = kIdle;
    int32_t m_counter = 0;
    int32_t m_stage = 0;
    int32_t m_x = 0;
    int32_t m_y = 0;
};
