// The small system windows of the game screen: the timed notice line, the
// scrolling message box that scripts fill, the password-change and
// character-delete forms with their starred input boxes, the small OK/Cancel
// box, four one-button message boxes and the are-you-sure question. Their
// buttons only post command ids; the dispatcher does the work.
#pragma once
#include <array>
#include <cstdint>

#include "ui/ButtonWidget.h"
#include "ui/InputBox.h"
#include "ui/WidgetWindow.h"

// One line of Johab text at (50, 428) for a number of draws.
class CNoticeLine : public CWidget {
public:
    // A notice is one screen line.
    static constexpr int kTextSize = 128;
    static constexpr int32_t kX = 50;
    static constexpr int32_t kY = 428;
    static constexpr uint8_t kColour = 185;

    CNoticeLine() : CWidget(0, nullptr, 0, 0, 0, 0) {}
    // Shows the Johab text for `draws` draws and becomes g_currentNoticeLine.
    void Show(const char* text, int draws);
    // Counts down first, so Show(text, 200) is visible on 199 draws.
    void Draw(uint8_t* surface) override;
    char* GetText() override { return m_text.data(); }
    int GetCountdown() const { return m_countdown; }

private:
    int32_t m_countdown = 0;
    std::array<char, kTextSize> m_text{};
};

// The notice line Show was called on last; null before.
extern CNoticeLine* g_currentNoticeLine;

// Five rotating lines that show a long text 67 bytes at a time, a line every
// two wall-clock seconds.
class CMessageBoxWin : public CWidget {
public:
    static constexpr int kLines = 5;
    static constexpr int kLineSize = 70;
    static constexpr int kTextSize = 2048;
    static constexpr int kLineBytes = 67;

    CMessageBoxWin();
    // At most 2047 bytes; the lines already shown stay.
    void SetText(const char* text) override;
    // Everything has been shown.
    bool IsEmpty() const { return m_text[static_cast<size_t>(m_offset)] == 0; }
    // Rotates the lines; the next piece of text (never half a double-byte
    // character) becomes the last line.
    void NextLine();
    void Draw(uint8_t* surface) override;

    const char* GetLine(int i) const { return m_lines[static_cast<size_t>(i)]; }
    int32_t GetOffset() const { return m_offset; }

private:
    std::array<std::array<char, kLineSize>, kLines> m_lineBuf{};
    std::array<char*, kLines> m_lines{};
    std::array<char, kTextSize> m_text{};
    int32_t m_offset = 0;
    uint32_t m_lastScroll = 0;
};

extern CMessageBoxWin* g_pMessageBoxWin;

// An input box of the two forms: it shows one star a byte (at most nine),
// never the text, and keeps at most maxLen bytes.
class CPasswordInput : public CInputBox {
public:
    CPasswordInput(int32_t id, CWidget* owner, int32_t offsetX, int32_t offsetY, int32_t width, int32_t height,
                   int32_t maxLen);

    void Draw(uint8_t* surface) override;
    void GetInputPos(CPoint* out) override;
    char* GetText() override;
    // The edit line is started for maxLen bytes and its NUL.
    int32_t GetMaxLen() override { return m_fieldLen + 1; }
    void TakeFocus() override;
    void Clear() override;

protected:
    // The form's open position: the stars and the edit line stay there.
    static constexpr int32_t kFormX = 233;
    static constexpr int32_t kFormY = 93;
    static constexpr int kMaxStars = 9;

    int32_t m_fieldLen;
    std::array<char, kInputSize> m_shown{};
};

class CSuicideInput : public CPasswordInput {
public:
    using CPasswordInput::CPasswordInput;
};

// A window of the system boxes: open (233, 93), closed (-328, 93), no lines.
class CSystemBoxWin : public CWidgetWindow {
public:
    CSystemBoxWin(int32_t id, const char* slrName, int32_t openX = 233);
    int OnChatMessage(const uint8_t*, size_t) override { return 0; }
    void SubmitText() override {}

protected:
    CButtonWidget* AddButton(const char* slrName, int32_t x, int32_t y, int32_t command);
};

// The two forms: OK only when every field holds text, Cancel disabled while
// one of the message boxes 90..92 is up, Esc posts Cancel.
class CFormWin : public CSystemBoxWin {
public:
    CFormWin(int32_t id, const char* slrName, int32_t okCommand, int32_t cancelCommand, int32_t buttonY);
    void Draw(uint8_t* surface) override;
    void Refresh() override;
    int32_t OnEscape() override;
    CButtonWidget* GetOk() const { return m_ok; }
    CButtonWidget* GetCancel() const { return m_cancel; }

protected:
    template <class Input>
    void AddInput(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h, int32_t maxLen)
    {
        AddChild(new Input(id, this, x, y, w, h, maxLen));
        m_fieldIds[static_cast<size_t>(m_fieldCount++)] = id;
    }

    CButtonWidget* m_ok;
    CButtonWidget* m_cancel;
    int32_t m_cancelCommand;
    std::array<int32_t, 5> m_fieldIds{};
    int32_t m_fieldCount = 0;
};

class CPasswordChangeWin : public CFormWin {
public:
    CPasswordChangeWin();
    // Closing hands the text input back (with the GM flag only while the
    // chat window is up).
    void SetState(int32_t state) override;
};

class CSuicideWin : public CFormWin {
public:
    CSuicideWin();
};

class CSmallBoxWin : public CSystemBoxWin {
public:
    CSmallBoxWin();
};

// The one-button message boxes 90..93; their texts are in their pictures.
class CMsgBoxWin : public CSystemBoxWin {
public:
    CMsgBoxWin(int32_t id, const char* slrName);
};
class CMsgBoxWin1 : public CMsgBoxWin {
public:
    CMsgBoxWin1() : CMsgBoxWin(90, "data\\win1.slr") {}
};
class CMsgBoxWin2 : public CMsgBoxWin {
public:
    CMsgBoxWin2() : CMsgBoxWin(91, "data\\win2.slr") {}
};
class CMsgBoxWin3 : public CMsgBoxWin {
public:
    CMsgBoxWin3() : CMsgBoxWin(92, "data\\win3.slr") {}
};
class CMsgBoxWin4 : public CMsgBoxWin {
public:
    CMsgBoxWin4() : CMsgBoxWin(93, "data\\win4.slr") {}
};

// Yes and no side by side: frame 0 normal, 1/2 yes/no under the cursor, 3/4
// yes/no pressed. A release on the pressed one posts 19 (yes) or 20 (no).
class CAreYouSureWin : public CWidget {
public:
    CAreYouSureWin();
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    int32_t OnEscape() override;
    // 0 none, 1 yes, 2 no.
    int32_t GetPressed() const { return m_pressed; }

private:
    int32_t m_pressed = 0;
};
