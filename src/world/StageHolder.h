// The stage-loading object through which stage loading reaches the view's
// layers. It holds the view, loads the mouse cursor and, once at start, the
// object files.
#pragma once
#include <array>

class CQuillonView;

// The object files read once at start, in this order, each as "data\" +
// name ("item.obr" is the item file, read from byte 23).
constexpr int kObjectFileCount = 45;
extern const std::array<const char*, kObjectFileCount> kObjectFiles;

// The animation table every character set selects, by the creatures'
// animation codes: "WALK_0".."WALK_7" (0..7, by direction), "STAND_0"..
// "STAND_7" (8..15), "HIT" (43: the hit and dying frames, one per
// direction), "ATTACK_0".."ATTACK_7" (44..51) and "CAST_0".."CAST_7"
// (76..83). The empty slots select nothing.
constexpr int kCharAnimSlots = 84;
extern const char kCharAnimNames[kCharAnimSlots][32];

class CStageHolder {
public:
    explicit CStageHolder(CQuillonView* view) : m_pView(view) {}
    void SetHandle(CQuillonView* view) { m_pView = view; }
    CQuillonView* GetView() const { return m_pView; }
    // Called by the view; does nothing.
    void EmptyHook() {}
    // The same clip rectangle (right and bottom exclusive) on the map layer
    // and the object layer.
    void SetLayersClip(int left, int top, int right, int bottom);
    // The mouse cursor sprites: "data\cursor.tle" into g_cursorTileSet.
    // 1 when loaded; without them the game draws no cursor.
    int LoadCursor();
    // The 45 object files into the object layer, the animation table on
    // every character set, the first character's record as the own record,
    // the effects' resources, the game data and a fresh random value. A file
    // that cannot be read is named in string 38 and ends the game: 0.
    int LoadObjectFiles();
    // The same, showing the loading screen at 75, 80, 90, 95 and 100
    // percent as the steps are done.
    int LoadObjectFilesAlt();

private:
    int LoadObjectFiles(bool showLoading);

    CQuillonView* m_pView;
};

extern CStageHolder* g_pStageHolder;
// The random value drawn when the object files were loaded.
extern int g_objectFilesRand;
// Shows string 38 with the path in a message box and starts the exit.
void ReportUnreadableFile(const char* path);
