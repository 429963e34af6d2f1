// The base of every in-game window: a container whose image is loaded only
// while the window is shown (and freed 300 closed frames later), a table of
// text lines with word wrap (the chat and message windows show them), and a
// one-line text entry that hands a finished line to the slash-command parser
// or sends it as chat.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "ui/WidgetContainer.h"

class CTextLayer;

class CWidgetWindow : public CWidgetContainer {
public:
    static constexpr int kInputSize = 255;
    static constexpr int kLineSize = 255;
    // maxLen of a window with lines.
    static constexpr int32_t kLineMaxLen = 80;
    // Closed frames an image is kept after the window was last drawn open.
    static constexpr int32_t kUnloadFrames = 300;
    // Fields of a received chat record: u16 sender id, 12-byte name, u8 mode,
    // u16 text length, then the text.
    static constexpr size_t kChatNameSize = 12;
    static constexpr size_t kChatHeadSize = 2 + kChatNameSize + 1 + 2;

    CWidgetWindow(int32_t id, const char* slrName, int32_t openX, int32_t openY, int32_t closedX, int32_t closedY,
                  int32_t lineCount);
    ~CWidgetWindow() override;

    void Toggle() override;
    void SetState(int32_t state) override;
    int OnLButtonDown(int32_t x, int32_t y) override;
    int OnRButtonDown(int32_t x, int32_t y) override;
    int OnMouseMove(int32_t x, int32_t y) override;
    int OnRButtonUp(int32_t x, int32_t y) override;
    int OnLButtonUp(int32_t x, int32_t y) override;
    void Draw(uint8_t* surface) override;
    void SubmitText() override;
    char** GetLines() override { return m_lines.get(); }
    int32_t* GetLineAttrs() override { return m_lineAttrs.get(); }
    int OnChatMessage(const uint8_t* record, size_t size) override;
    char* GetText() override { return m_input.data(); }
    int32_t GetMaxLen() override { return m_maxLen; }
    int IsInputEnabled() override { return m_inputEnabled; }
    void SetInputEnabled(int flag) override { m_inputEnabled = flag; }
    void AddTextLine(const char* text, int32_t attr) override;
    void LoadImageOnDemand() override;
    void ScheduleImageUnload() override;

    // Sends a typed line as chat (command 7).
    static void SendChat(const char* text);

    int32_t GetLineCount() const { return m_lineCount; }
    void SetMaxLen(int32_t n) { m_maxLen = n; }
    void SetInputRect(const CRect& rc) { m_inputRect = rc; }
    const CSlrList* GetCleanImage() const { return m_cleanImage.get(); }
    int32_t GetUnloadCountdown() const { return m_unloadCountdown; }

protected:
    // The window's own draw: image on demand, itself and the children, the
    // auto-submit of a full line; or, closed, the countdown to unloading.
    void WindowDraw(uint8_t* surface);
    // Mouse handling that ends with the hit test of the window's body.
    int BodyHit(int32_t x, int32_t y) const;
    // The typed line cut at maxLen; null when it is empty or the
    // slash-command parser ran it.
    const char* TypedChatLine();
    // Empties the input and the text layer's edit line.
    void ClearInput();
    // The picture (loaded when needed) becomes a fresh copy of its pristine
    // image and the text target; the text layer, or null when there is no
    // picture or no text layer.
    CTextLayer* RestorePicture();
    // One wrapped piece into entry 0, then the table rotates it to entry 1.
    void StoreLine(const char* text, size_t n, int32_t attr);

    std::unique_ptr<CSlrList> m_cleanImage;
    std::array<char, kInputSize> m_input{};
    std::unique_ptr<char[]> m_lineText;
    std::unique_ptr<char*[]> m_lines;
    std::unique_ptr<int32_t[]> m_lineAttrs;
    int32_t m_lineCount = 0;
    CRect m_inputRect;
    int32_t m_maxLen = 0;
    int32_t m_inputEnabled = 1;
    const char* m_slrName = nullptr;
    int32_t m_unloadCountdown = kUnloadFrames;
    // The image was missing at this opening: not tried again until the
    // window opens again.
    bool m_imageMissing = false;
};
