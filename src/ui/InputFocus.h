// Which widget, or in the login scene which form, owns the text layer's one
// edit line: the focused widget, the home widget that gets the focus back
// when a window closes, and the login form field's owner.
#pragma once
#include <cstdint>

class CWidget;
class CIntroLayer;

class CInputFocus {
public:
    // Where the edit line starts when no widget has placed it.
    static constexpr int32_t kStartX = 100;
    static constexpr int32_t kStartY = 100;

    // w becomes the focus unless it already is or takes no input; its text
    // becomes the edit buffer. Returns the focused widget.
    CWidget* SetFocusWidget(CWidget* w);
    // The widget RestoreFocus goes back to (set once by the UI layer).
    void SetHomeWidget(CWidget* w);
    // Back to the home widget, with its edit line started; nothing without one.
    void RestoreFocus();
    // Places the edit line at the focused widget's input, keeping its text.
    void BeginWidgetInput();
    void ClearFocus() { m_focusWidget = nullptr; }
    CWidget* GetFocusWidget() const { return m_focusWidget; }
    CWidget* GetHomeWidget() const { return m_homeWidget; }
    // The focused widget sends its line, then redraws.
    void SubmitFocused();
    // The focused widget's edit line on the 800 x 600 screen.
    void DrawWidgetInput(uint8_t* surface);

    // The login scene's forms: the same for the form's focused field, which
    // the intro layer describes (buffer, position, maximum length).
    CIntroLayer* SetFocusField(CIntroLayer* owner);
    CIntroLayer* GetFocusField() const { return m_focusField; }
    void BeginFieldInput();
    void DrawFieldInput(uint8_t* surface);
    void DrawFieldPassword(uint8_t* surface);

    int32_t GetX() const { return m_x; }
    int32_t GetY() const { return m_y; }
    // Back to the state at process start (between tests).
    void Reset();

private:
    void DrawField(uint8_t* surface, bool masked);

    int32_t m_x = kStartX;
    int32_t m_y = kStartY;
    CWidget* m_focusWidget = nullptr;
    CWidget* m_homeWidget = nullptr;
    CIntroLayer* m_focusField = nullptr;
};

extern CInputFocus g_inputFocus;
