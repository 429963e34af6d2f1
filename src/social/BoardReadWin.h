// The read windows of the bulletin board (55) and the mailbox (56): the
// header of one entry and its text, 17 lines a page. A read reply is taken
// from the connection one item a frame: the header, then the body.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "social/ListStream.h"
#include "ui/WidgetWindow.h"

class CBoardReadWin : public CWidgetWindow {
public:
    static constexpr int32_t kPageLines = 17;
    static constexpr int32_t kLineX = 25;
    static constexpr int32_t kLineY = 117;
    static constexpr int32_t kLinePitch = 14;
    static constexpr int32_t kHeaderY = 70;
    static constexpr uint8_t kTextColour = 60;

    void Draw(uint8_t* surface) override;
    void Refresh() override;
    void NextPage() override;
    void PrevPage() override;
    void ResetRequest(CMySocket* socket) override;
    // Splits a copy of text into at most lineCount lines at its line feeds.
    void SetPageText(int32_t lineCount, const char* text) override;
    int32_t OnEscape() override;
    // The shown entry's header on the window's image.
    virtual void DrawHeader() = 0;

    // Takes at most one item of a read reply; 1 when one came.
    int ReceiveItem();

    int32_t GetLineCount() const { return m_lineCount; }
    int32_t GetTopLine() const { return m_top; }
    // Line i of the text, null outside it.
    const char* GetLine(int32_t i) const;
    int32_t GetRecordCount() const { return m_recordCount; }
    const uint8_t* GetHeader() const { return m_header.data(); }
    CMySocket* GetSocket() const { return m_socket; }

protected:
    CBoardReadWin(int32_t id, const char* slrName, size_t headerSize, size_t bodySizeAt, size_t lineCountAt);
    // What the body becomes on the window: its lines.
    virtual void ShowBody(const char* body) = 0;
    uint32_t HeaderU32(size_t offset) const;
    // A text field of the header, bounded and terminated.
    std::string HeaderText(size_t offset, size_t size) const;
    static void DrawHeaderText(int32_t x, int32_t y, const char* text);

    std::array<uint8_t, kMailRecordSize> m_header{};
    size_t m_headerSize;
    size_t m_bodySizeAt;
    size_t m_lineCountAt;
    int32_t m_recordCount = 0;
    uint32_t m_bodySize = 0;
    uint32_t m_headerLines = 0;
    CMySocket* m_socket = nullptr;
    std::vector<uint8_t> m_body;
    std::vector<char> m_text;
    std::vector<char*> m_lines;
    int32_t m_lineCount = -1;
    int32_t m_top = 0;
};

// The board's text is wrapped at 80 columns (a double-byte character takes
// two and is never split) by inserting CR LF.
class CBullReadWin : public CBoardReadWin {
public:
    static constexpr int32_t kId = 55;
    static constexpr int32_t kWrapColumns = 80;
    CBullReadWin();
    void DrawHeader() override;
    static std::string Wrap(const char* text);

protected:
    void ShowBody(const char* body) override;
};

// A mail's lines are counted from its body, at most as many as its header
// says.
class CMailReadWin : public CBoardReadWin {
public:
    static constexpr int32_t kId = 56;
    CMailReadWin();
    void DrawHeader() override;

protected:
    void ShowBody(const char* body) override;
};
