// The stage-loading object through which stage loading reaches the view's
// layers. Minimal form: it holds the view and loads nothing yet.
#pragma once

class CQuillonView;

class CStageHolder {
public:
    explicit CStageHolder(CQuillonView* view) : m_pView(view) {}
    void SetHandle(CQuillonView* view) { m_pView = view; }
    CQuillonView* GetView() const { return m_pView; }
    // The mouse cursor sprites.
    int LoadCursor() { return 1; }
    // The character and item object files of the entry stage.
    int LoadObjectFiles() { return 1; }

private:
    CQuillonView* m_pView;
};

extern CStageHolder* g_pStageHolder;
