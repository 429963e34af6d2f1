#include "social/BoardTestEnv.h"

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/FontBuilder.h"
#include "fixtures/WidgetSprites.h"
#include "intro/IntroLayer.h"
#include "net/MySocket.h"
#include "platform/Loop.h"
#include "social/ListStream.h"
#include "ui/Widget.h"
#include "ui/WidgetGlobals.h"

namespace {

constexpr const char* kServerKey = "Software\\Brennix\\Quorvel\\Server";

void ResetBoardGlobals()
{
    ResetBoardState();
    ResetWidgetGlobals();
    g_commandRing.Reset();
    g_gmFlag = 0;
    g_loginRecord.Clear();
    g_selectedSlot = 1;
    g_uiFrameTicks = 1;
}

}  // namespace

CArchiveBuilder BoardTest::Archive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CWidgetSprites::AddTo(b);
    AddBoardImages(b);
    return b;
}

void BoardTest::AddBoardImages(CArchiveBuilder& b)
{
    uint32_t seed = 40;
    for (const char* name : {"BullWin.slr", "MailWin.slr", "BullReadWin.slr", "MailReadWin.slr"})
        b.Add(name, CWidgetSprites::Picture(620, 420, seed++));
    b.Add("SearchWin.slr", CWidgetSprites::Picture(240, 140, seed++));
    uint8_t colour = 10;
    for (const char* name : {"MailDn.slr", "MailUp.slr", "MailQuit.slr", "MailWrite.slr", "MailRead.slr",
                             "MailSearch.slr", "MailErase.slr", "BullReLoad.slr", "BullReList.slr", "MailLeft.slr",
                             "MailRight.slr", "SearchDat.slr", "SearchTTL.slr", "SearchID.slr", "Searching.slr"}) {
        b.Add(name, CWidgetSprites::File(4, 40, 20, colour));
        colour = static_cast<uint8_t>(colour + 4);
    }
    b.Add("BullTab.slr", CWidgetSprites::File(4, 80, 30, 200));
}

BoardTest::BoardTest() : m_world(Archive()), m_screen(800 * 600, 0)
{
    ResetBoardGlobals();
    English(false);
    const Bytes han = CFontBuilder::HangulFont(), eng = CFontBuilder::EnglishFont();
    m_text.SetFontData(han.data(), han.size(), eng.data(), eng.size());
    g_pTextLayer = &m_text;
    g_pView->m_pBoardSocket = new CMySocket;
    g_pView->m_pMailSocket = new CMySocket;
    g_pView->m_nonKorean = 0;
    SetPlayer("Arin", "arin01");
}

BoardTest::~BoardTest()
{
    // The dialogs go before the sockets they send on.
    g_pView->m_mailWriteDlg.DestroyWindow();
    g_pView->m_postWriteDlg.DestroyWindow();
    delete g_pView->m_pBoardSocket;
    g_pView->m_pBoardSocket = nullptr;
    delete g_pView->m_pMailSocket;
    g_pView->m_pMailSocket = nullptr;
    m_board.reset();
    m_mail.reset();
    g_pTextLayer = nullptr;
    ResetBoardGlobals();
}

void BoardTest::SetPlayer(const char* name, const char* loginId)
{
    g_loginRecord.SetSlot(1, 0, name, 1);
    g_loginRecord.SetText(AccountRecord::kId, AccountRecord::kIdSize, loginId);
    g_selectedSlot = 1;
}

void BoardTest::English(bool on)
{
    m_world.Platform().settings.SetString("Control Panel\\International", "Locale", on ? "00000409" : "00000412");
}

CFakeServer& BoardTest::BoardServer()
{
    if (!m_board) {
        m_board = std::make_unique<CFakeServer>();
        m_board->Register();
        plat::Settings().SetString(kServerKey, "BoardHost", "127.0.0.1");
        plat::Settings().SetDword(kServerKey, "BoardPort", m_board->Port());
    }
    return *m_board;
}

CFakeServer& BoardTest::MailServer()
{
    if (!m_mail) {
        m_mail = std::make_unique<CFakeServer>();
        m_mail->Register();
        plat::Settings().SetString(kServerKey, "BoardHost", "127.0.0.1");
        plat::Settings().SetDword(kServerKey, "MailPort", m_mail->Port());
    }
    return *m_mail;
}

void BoardTest::Pump(int passes)
{
    for (int i = 0; i < passes; ++i)
        plat::Loop().Step();
}

bool BoardTest::PumpUntil(const std::function<bool()>& pred, int maxPasses)
{
    for (int i = 0; i < maxPasses; ++i) {
        if (pred())
            return true;
        plat::Loop().Step();
    }
    return pred();
}

std::string BoardTest::Received(const CFakeServer& s)
{
    const Bytes& b = s.AllReceived();
    return std::string(b.begin(), b.end());
}

std::vector<int32_t> BoardTest::Commands()
{
    std::vector<int32_t> out;
    while (!g_commandRing.IsEmpty())
        out.push_back(static_cast<int32_t>(g_commandRing.Pop()));
    return out;
}
