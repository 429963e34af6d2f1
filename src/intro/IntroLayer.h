// The intro and login scenes. Minimal form: a layer that stays in its first
// scene and never reports finished.
#pragma once
#include <cstdint>

#include "core/Layer.h"

class CDisplay;

class CIntroLayer : public CLayer {
public:
    explicit CIntroLayer(CDisplay* display) : m_pDisplay(display) {}
    int Draw() override { return 1; }

    // 0 once the player is in the game.
    uint32_t GetSceneState() const { return m_sceneState; }
    bool IsFinished() const { return m_finished != 0; }
    void ClearFinished() { m_finished = 0; }

    // Replies to the log-in forms' requests (the forms are not built yet).
    void OnLoginReply(int /*result*/, int /*subCode*/) {}
    void OnRegisterReply(int /*result*/) {}
    void OnCharacterNameReply(int /*result*/) {}

    uint32_t m_sceneState = 1;
    uint32_t m_finished = 0;

private:
    [[maybe_unused]] CDisplay* m_pDisplay;
};
