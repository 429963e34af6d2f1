// The root of the in-game widget family: an id, a sprite list, an open and a
// closed screen position it slides between on the UI clock, a five-valued
// state, a tooltip and the one interface of virtual operations that every
// window and control overrides. Positions are absolute screen pixels, also
// for children.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/SlrList.h"

class CMySocket;

struct CPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const CPoint&) const = default;
};

// Left, top, right, bottom.
struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// UI ticks (60 a second) of the current frame; the UI layer writes it before
// it draws the root container, every slide and countdown reads it.
extern uint32_t g_uiFrameTicks;

class CWidget {
public:
    enum : int32_t { kClosed = 0, kOpening = 1, kOpen = 2, kClosing = 3, kMovingOpen = 4 };
    static constexpr int kLinkedIds = 64;
    // Slide speed in pixels a tick: far moves, short moves, and MoveToOpenPos.
    static constexpr int32_t kFastStep = 32;
    static constexpr int32_t kShortStep = 4;

    CWidget(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY);
    // An id only, at the root's rest position (800, 0); no image.
    explicit CWidget(int32_t id = 0);
    CWidget(const CWidget&) = delete;
    CWidget& operator=(const CWidget&) = delete;

    // ---- the interface, in its order ---------------------------------------
    virtual ~CWidget();
    virtual void Update();
    virtual void Toggle();
    virtual void SetState(int32_t state);
    // Mouse operations take the cursor's screen position; nonzero: taken.
    virtual int OnLButtonDblClk(int32_t x, int32_t y);
    virtual int OnLButtonDown(int32_t x, int32_t y);
    virtual int OnRButtonDown(int32_t x, int32_t y);
    virtual int OnMouseMove(int32_t x, int32_t y);
    virtual int OnRButtonUp(int32_t x, int32_t y);
    virtual int OnLButtonUp(int32_t x, int32_t y);
    virtual void MoveToFront(int32_t page);
    // surface: the 800 x 600 screen.
    virtual void Draw(uint8_t* surface);
    virtual void Refresh();
    virtual void ScrollUp();
    virtual void ScrollDown();
    virtual void MoveToOpenPos();
    virtual void GetInputPos(CPoint* out);
    virtual void SubmitText();
    virtual char** GetLines();
    virtual int32_t* GetLineAttrs();
    // A plain widget holds no children: false, and the child stays the
    // caller's.
    virtual bool AddChild(CWidget* child);
    virtual void ItemCommandA(int32_t value);
    virtual void ItemCommandB(int32_t a, int32_t b);
    virtual void ItemCommandC(int32_t value);
    virtual void ItemCommandDone();
    virtual CWidget* FindChild(int32_t id);
    virtual void SetFace(const char* slrName, const char* text);
    virtual void ReloadData();
    virtual void GetScrollFraction(double* top, double* bottom);
    virtual int32_t GetTopIndex();
    virtual void SetScrollFraction(double fraction);
    virtual void SetTopIndex(int32_t row);
    virtual void NextPage();
    virtual void PrevPage();
    virtual void OnListReply();
    // The board and mail windows: a list window's first request line (null:
    // the mailbox's name line), a read window's connection.
    virtual void OpenConnection(const char* request);
    virtual void CloseConnection();
    virtual void ResetRequest(CMySocket* socket);
    // One 156-byte (list) or 168-byte (text) board record: 1, or 0 when none.
    virtual int ReadListRecord(uint8_t* out);
    virtual int ReadTextRecord(uint8_t* out);
    virtual void RequestEntry(CWidget* entry);
    virtual void SetPageText(int32_t lineCount, const char* text);
    virtual void Search(int32_t mode, const char* text);
    virtual char* GetText();
    virtual int32_t GetSelection();
    virtual int OnReply();
    // A received chat record (as the server sent it, size bytes); nonzero:
    // handled.
    virtual int OnChatMessage(const uint8_t* record, size_t size);
    virtual void DeleteEntry();
    virtual void DrawTooltip(int32_t x, int32_t y, uint8_t* surface);
    virtual void Activate();
    virtual int32_t GetMaxLen();
    virtual int IsInputEnabled();
    virtual void SetInputEnabled(int flag);
    virtual void AddTextLine(const char* text, int32_t attr);
    virtual void SetFaceInfo(int32_t value, const char* text);
    virtual void SetTabFrame(int32_t frame);
    virtual void LoadImageOnDemand();
    virtual void ScheduleImageUnload();
    virtual int32_t OnEscape();
    virtual void SetText(const char* text);
    virtual void TakeFocus();
    virtual void Clear();
    virtual void SetAndDrawText(const char* text);

    // ---- plain members -------------------------------------------------------
    int32_t GetState() const { return m_state; }
    int32_t GetId() const { return m_id; }
    bool IsOpenOrOpening() const { return m_state == kOpening || m_state == kOpen; }
    void SetPinned(int flag) { m_pinned = flag; }
    int IsPinned() const { return m_pinned; }
    CWidget* SetDelays(int32_t openDelay, int32_t closeDelay);
    void SetPos(const CPoint& p) { m_pos = p; }
    const CPoint* GetPos() const { return &m_pos; }
    const CPoint* GetOpenPos() const { return &m_openPos; }
    const CPoint* GetClosedPos() const { return &m_closedPos; }
    const CPoint& GetStep() const { return m_step; }
    int32_t GetY() const { return m_pos.y; }
    CSlrList* GetSprite() { return &m_sprite; }
    const CSlrList* GetSprite() const { return &m_sprite; }
    int32_t GetFrame() const { return m_frame; }
    void SetFrame(int32_t frame) { m_frame = frame; }
    int32_t GetCountdown() const { return m_countdown; }
    const char* GetTooltip() const { return m_tooltip; }
    // The language switch picks one of the two.
    void SetTooltip(const char* korean, const char* english);
    // The windows that close when this one opens; the list ends at the first
    // 0 (at most 64 ids).
    void SetLinkedIds(const uint16_t* ids, int count);

    // Text through the global text layer, when there is one; mode 1: the
    // text is CP949.
    static void DrawText(int32_t x, int32_t y, const char* text, int mode);
    // Centred on x at 6 pixels a byte, y - 7.
    static void DrawTextCentered(int32_t x, int32_t y, const char* text, int mode);

    // The per-axis slide step from open and closed: 32 for long ways, 4 for
    // short ones, 0 on an equal axis. A short way back is +4 as well: such
    // an axis arrives on its first moving tick.
    static int32_t SlideStep(int32_t open, int32_t closed);

protected:
    // The slide of states 4, 1 and 3 (Update's own work), for overrides that
    // add to it.
    void Slide();
    // The parts of the interface a derived class may call non-virtually.
    void BaseSetState(int32_t state);
    void BaseToggle();
    void BaseDraw(uint8_t* surface);

    CPoint m_openPos;
    CPoint m_closedPos;
    CPoint m_pos;
    CPoint m_step;
    CSlrList m_sprite;
    int32_t m_state = kClosed;
    int32_t m_id = 0;
    int32_t m_frame = 0;
    int32_t m_pinned = 0;
    int32_t m_openDelay = 0;
    int32_t m_closeDelay = 0;
    int32_t m_countdown = 0;
    const char* m_tooltip = nullptr;
    std::array<uint16_t, kLinkedIds> m_linkedIds{};
};
