// Which widget owns the text layer's one edit line. Minimal form: the
// current and the remembered owner.
#pragma once

class CWidget;

class CInputFocus {
public:
    CWidget* GetFocusWidget() const { return m_pCurrent; }
    // Makes w the owner and remembers it for RestoreFocus.
    void SetFocusWidget(CWidget* w) { m_pCurrent = m_pRemembered = w; }
    void ClearFocus() { m_pCurrent = nullptr; }
    // Gives the input focus back to the remembered widget.
    void RestoreFocus() { m_pCurrent = m_pRemembered; }
    void Reset() { m_pCurrent = m_pRemembered = nullptr; }

private:
    CWidget* m_pCurrent = nullptr;
    CWidget* m_pRemembered = nullptr;
};

extern CInputFocus g_inputFocus;
