// The game layer (the colony-mode layer). Minimal form: draws nothing yet.
#pragma once
#include "core/Layer.h"

class CDisplay;

class CGameLayer : public CLayer {
public:
    explicit CGameLayer(CDisplay* display) : m_pDisplay(display) {}
    int Draw() override { return 1; }

private:
    [[maybe_unused]] CDisplay* m_pDisplay;
};
