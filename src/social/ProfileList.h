// The profile text box of the profile window (27): it takes clicks, and so
// the text input, only while the profile shown is the player's own.
#pragma once
#include "ui/InputBox.h"

class CProfileList : public CInputBox {
public:
    using CInputBox::CInputBox;

    int OnLButtonDown(int32_t x, int32_t y) override;
};
