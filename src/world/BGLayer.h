// The background map layer. Minimal form: a layer that draws nothing yet.
#pragma once
#include "core/Layer.h"

class CDisplay;

class CBGLayer : public CLayer {
public:
    explicit CBGLayer(CDisplay* display) : m_pDisplay(display) {}
    int Draw() override { return 1; }

private:
    [[maybe_unused]] CDisplay* m_pDisplay;
};
