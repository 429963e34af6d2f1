// The main frame window: the borderless top-level window that holds the
// view, ends the game when the player switches away and closes in order.
#pragma once
#include <cstdint>

#include "platform/Input.h"
#include "platform/Loop.h"

class CQuillonView;
class CQuillonDoc;

class CMainFrame : public plat::IWindowHandler, public plat::IMessageTarget {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Creates the window, the document and the view.
    bool LoadFrame();
    CQuillonView* GetActiveView() const { return m_pView; }
    // Still a window: not destroyed yet.
    bool IsWindow() const { return m_alive; }

    void OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;
    void OnActivateApp(bool active) override;
    // The window was moved or sized: the display records the placement.
    void OnWindowMoved() override;
    void OnClose();
    // Destroys the frame, then the view, then ends the message loop.
    void DestroyWindow();
    void OnDestroy();

private:
    CQuillonView* m_pView = nullptr;
    CQuillonDoc* m_pDoc = nullptr;
    bool m_alive = false;
};
