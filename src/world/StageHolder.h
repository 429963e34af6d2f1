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

// The animation table every character set selects, one name per action
// code: "NAME_d" for the eight directions of a code's base, the bare name
// where one animation serves every direction. Walk (0), stand (8), dash
// (16), "FLY" (24: the caster in flight, one step per 16-step direction),
// counter (25), "FLYPAST" (41: the flight past the target, as "FLY"),
// "HIT" (43: the hit and dying frames, one per direction), attack (44:
// also the attack-type casts), raise (52), hold (60), lower (68) and cast
// (76: the healing-type casts). No code looks up 33..40 and 42; their
// "SLOT_n" names keep every slot named.
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
