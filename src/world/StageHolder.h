// The stage-loading object through which stage loading reaches the view's
// layers. It holds the view and loads the mouse cursor; the stages and the
// object files are loaded by the field's stage loading, still to come.
#pragma once

class CQuillonView;

class CStageHolder {
public:
    explicit CStageHolder(CQuillonView* view) : m_pView(view) {}
    void SetHandle(CQuillonView* view) { m_pView = view; }
    CQuillonView* GetView() const { return m_pView; }
    // The mouse cursor sprites: "data\cursor.tle" into g_cursorTileSet.
    // 1 when loaded; without them the game draws no cursor.
    int LoadCursor();
    // The character and item object files of the entry stage, then the
    // game data (InitGameData).
    int LoadObjectFiles();

private:
    CQuillonView* m_pView;
};

extern CStageHolder* g_pStageHolder;
