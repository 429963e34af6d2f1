// What the board and mail tests share: a view and object layer on an
// archive with the board windows' images, a text layer with the test fonts,
// an 800 x 600 screen, the player's login record, and board and mail
// servers on loopback that the view's two sockets connect to.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/TextLayer.h"
#include "fixtures/ArchiveBuilder.h"
#include "support/FakeServer.h"
#include "support/TestWorld.h"

class BoardTest : public ::testing::Test {
public:
    // The board windows' images and buttons.
    static void AddBoardImages(CArchiveBuilder& b);

protected:
    BoardTest();
    ~BoardTest() override;

    CTestWorld& World() { return m_world; }
    plat::CScriptedFormDialogs& Forms() { return m_world.Platform().forms; }
    const std::vector<plat::RecordedBox>& Boxes() { return m_world.Platform().dialogs.boxes; }
    // The character name (slot 1, chosen) and account id of the login.
    void SetPlayer(const char* name, const char* loginId);
    void English(bool on);
    // The fake board and mail servers; the settings point the client at
    // them. Made on first use.
    CFakeServer& BoardServer();
    CFakeServer& MailServer();
    // Loop passes: sockets, servers and posted messages.
    void Pump(int passes = 8);
    bool PumpUntil(const std::function<bool()>& pred, int maxPasses = 5000);
    // Every byte the server has had, as text.
    static std::string Received(const CFakeServer& s);
    // Pops every pending command id.
    std::vector<int32_t> Commands();
    uint8_t* Screen() { return m_screen.data(); }

private:
    static CArchiveBuilder Archive();

    CTestWorld m_world;
    CTextLayer m_text{nullptr};
    std::vector<uint8_t> m_screen;
    std::unique_ptr<CFakeServer> m_board;
    std::unique_ptr<CFakeServer> m_mail;
};
