// The talk box (105): the UI layer's talk text wrapped into at most ten
// lines, three of them shown from the layer's top line, with arrows that
// page through it and a mark while more text lies below.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/SlrList.h"
#include "windows/NpcWindow.h"

// A wrapped line holds 42 bytes, or 43 when a double-byte character starts
// at its 42nd, and the terminator.
constexpr int kTalkLines = 10;
constexpr size_t kTalkLineBytes = 42;
using TalkLines = std::array<std::array<char, 45>, kTalkLines>;

// Wraps the first size bytes of text (it ends earlier at a zero byte, also
// one in the second byte of a character) into lines; a blank that starts a
// line is dropped. The line in which the text ends counts; returns the
// number of lines (1..10).
int WrapTalkText(const char* text, size_t size, TalkLines& lines);

class CTalkBoxWin : public CNpcWindow {
public:
    static constexpr int32_t kId = 105;
    static constexpr uint8_t kTextColour = 197;

    CTalkBoxWin();

    void Draw(uint8_t* surface) override;

private:
    CSlrList m_moreMark;
    TalkLines m_shown{};
};
