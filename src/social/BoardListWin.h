// The list windows of the bulletin board (52) and the mailbox (54): one page
// of 15 entries taken from the connection one record a frame, a selection,
// nine buttons posting the board commands and a tab showing which board is
// open. Each owns its connection to the board server.
#pragma once
#include <cstdint>

#include "ui/WidgetWindow.h"

class CBoardList;
class CButtonWidget;
class CMySocket;

class CBoardListWin : public CWidgetWindow {
public:
    static constexpr int32_t kRowTop = 60;
    static constexpr int32_t kRowPitch = 19;
    static constexpr int32_t kRowTextX = 15;
    static constexpr int32_t kRowTextY = 62;
    static constexpr uint8_t kSelectedColour = 60;
    static constexpr uint8_t kRowColour = 162;
    static constexpr int32_t kWriteButtonId = 53;
    static constexpr const char* kTabFile = "data\\BullTab.slr";

    ~CBoardListWin() override;

    int OnLButtonDblClk(int32_t x, int32_t y) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;
    void Refresh() override;
    void NextPage() override;
    void PrevPage() override;
    void OnListReply() override;
    void OpenConnection(const char* request) override;
    void CloseConnection() override;
    void ResetRequest(CMySocket* socket) override;
    void RequestEntry(CWidget* reader) override;
    void Search(int32_t mode, const char* text) override;
    int OnReply() override;
    void DeleteEntry() override;
    void SetTabFrame(int32_t frame) override;
    int32_t OnEscape() override;
    void LoadImageOnDemand() override;

    // The row (0..14) under a screen point, or -1 above, below or beside.
    int32_t RowAt(int32_t y) const;
    int32_t GetSelected() const { return m_selected; }
    int32_t GetTabFrame() const { return m_tabFrame; }
    int32_t GetRowsReceived() const { return m_rowsReceived; }
    CBoardList& GetPage() { return *m_page; }
    CButtonWidget* GetReadButton() const { return m_readButton; }
    CButtonWidget* GetEraseButton() const { return m_eraseButton; }
    CButtonWidget* GetWriteButton() const { return m_writeButton; }
    // This window's connection: the board or the mail socket.
    CMySocket* GetSocket() const;
    bool IsMail() const { return m_mail; }
    // The text of row i as Refresh draws it.
    void FormatRow(int i, char* out, size_t size) const;

protected:
    CBoardListWin(int32_t id, const char* slrName, CBoardList* page, bool mail);

private:
    // Selects the entry of the row under y; false on no entry.
    bool SelectAt(int32_t x, int32_t y);
    // Once the connect opened by OpenConnection has failed, a line on the
    // message ring says so; the window stays open with an empty page.
    void WatchConnection();
    void ReportNoConnection() const;
    int SendLine(const char* text) const;

    CBoardList* m_page;
    bool m_mail;
    CSlrList m_tab;
    int32_t m_tabFrame = 0;
    int32_t m_selected = -1;
    int32_t m_rowsReceived = 0;
    bool m_awaitingConnect = false;
    CButtonWidget* m_readButton = nullptr;
    CButtonWidget* m_eraseButton = nullptr;
    CButtonWidget* m_writeButton = nullptr;
};

// The bulletin board's list: 156-byte records on the board connection.
class CBullWin : public CBoardListWin {
public:
    static constexpr int32_t kId = 52;
    CBullWin();
};

// The mailbox's list: 168-byte records on the mail connection.
class CMailWin : public CBoardListWin {
public:
    static constexpr int32_t kId = 54;
    CMailWin();
};
