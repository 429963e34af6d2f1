// The screen transition between stages and into and out of battles: the
// screen is wiped to black row by row, a blinking notice is drawn at the
// bottom right, the stage is loaded when needed and the field is entered
// again with command 3.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

class CObjLayer;

class CStageChange {
public:
    enum Type : int32_t { kMove = 0, kEnterBattle = 1, kLeaveBattle = 2 };
    enum State : int32_t { kWipe = 0, kLoad = 1, kIdle = 2 };
    static constexpr int kRows = 600;
    static constexpr int kColumns = 800;
    static constexpr int kWipeFrames = 25;
    static constexpr int kNoticeRight = 780;
    static constexpr int kNoticeY = 560;

    struct WipeRow {
        int32_t width = 0;
        int32_t speed = 0;
    };

    CStageChange() = default;
    virtual ~CStageChange() = default;
    CStageChange(const CStageChange&) = delete;
    CStageChange& operator=(const CStageChange&) = delete;

    void SetLayer(CObjLayer* layer) { m_pLayer = layer; }
    // Starts a transition of a type to a stage and cell.
    void Init(int type, int stage, int x, int y);
    // One frame on the 800 x 600 back buffer (may be null): 1 once the
    // transition is over, else 0.
    int Update(uint8_t* bits);
    // Idle again; the layer's stage-change flag is cleared.
    void Finish();
    // My character's cell (0 without one).
    int GetMyTileX() const;
    int GetMyTileY() const;

    int GetType() const { return m_type; }
    int GetState() const { return m_state; }
    int GetStage() const { return m_stage; }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    int GetCounter() const { return m_counter; }
    const WipeRow& Row(int i) const { return m_rows[static_cast<size_t>(i)]; }

    // The notice in its blinking colour, right-aligned at x 780 (6 pixels a
    // byte) at y 560; colour 0 on the first 3 of every 16 frames.
    static void DrawNotice(uint8_t* bits, const char* text, int frame);
    static int NoticeX(const char* text);

private:
    void Wipe(uint8_t* bits);
    void LoadFrame();
    void SetMySpeedClass(int value);
    // Loads a stage, sets the entry point and sends command 3; false when
    // the stage could not be loaded (the game is ending).
    bool LoadAndEnter(int stage, int x, int y);

    CObjLayer* m_pLayer = nullptr;
    int32_t m_type = kMove;
    int32_t m_state = kIdle;
    int32_t m_counter = 0;
    int32_t m_stage = 0;
    int32_t m_x = 0;
    int32_t m_y = 0;
    std::array<WipeRow, kRows> m_rows{};
};
