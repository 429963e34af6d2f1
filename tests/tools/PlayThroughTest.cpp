// The sample world played through as a new user would, with nothing
// replaced: the real client on the headless platform and the virtual
// clock, the demo's game, board and mail servers on loopback, driven only
// by clicks and keys. Each step checks what the player sees and the bytes
// the servers took.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "colony/SimColony.h"
#include "colony/SimCursor.h"
#include "colony/SimMapObject.h"
#include "colony/SimTerrain.h"
#include "core/ResFile.h"
#include "platform/Settings.h"
#include "social/MailWriteDlg.h"
#include "social/Ranking.h"
#include "support/DemoBattle.h"
#include "support/DemoBoardServer.h"
#include "support/SampleTown.h"
#include "tools/MonsterBattle.h"
#include "ui/MessageRing.h"
#include "ui/WidgetContainer.h"
#include "windows/DaradirUzedo.h"
#include "windows/SystemWindows.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t kCtrl = 29, kAlt = 56, kEnter = 28, kV = 47, kM = 50;
constexpr uint8_t kH = 35, kE = 18, kL = 38, kO = 24, kA = 30, kN = 49, kD = 32, kR = 19, kW = 17, kI = 23;
constexpr uint8_t kSpace = 57, kShift = 42, k1 = 2, kEsc = 1;

Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}
Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes U16(uint16_t v) { return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }
Bytes U32(uint32_t v) { return Concat({U16(static_cast<uint16_t>(v)), U16(static_cast<uint16_t>(v >> 16))}); }
// A name in its 12 bytes.
Bytes Name12(const std::string& s)
{
    Bytes b = Text(s);
    b.resize(12, 0);
    return b;
}

class PlayThrough : public testing::Test, protected CSampleTown {
protected:
    CWidget* Win(int32_t id) { return g_layerHolder.GetLayer()->GetRootContainer()->FindChild(id); }
    bool Opens(int32_t id)
    {
        return h.RunUntil([&] { return Win(id)->GetState() == CWidget::kOpen; }, 20000);
    }
    // The commands of that number the server took since `from` of them.
    std::vector<Bytes> TakenSince(int command, size_t from)
    {
        std::vector<Bytes> all = game.Taken(command);
        return std::vector<Bytes>(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
    }
    // The field-53 reports of one field since `from` reports of any.
    std::vector<Bytes> Fields(int field, size_t from)
    {
        std::vector<Bytes> out;
        for (const Bytes& b : TakenSince(53, from))
            if (b[1] == field)
                out.push_back(b);
        return out;
    }
    CCharacter* Me() { return g_pView->m_pObjLayer->GetMyCharacter(); }
    // Clicks on the ground a few tiles at a time until my character stands
    // on the cell (or the tries run out).
    void WalkTo(int x, int y)
    {
        for (int tries = 0; tries < 40; ++tries) {
            const int mx = Me()->GetTileX(), my = Me()->GetTileY();
            if (mx == x && my == y)
                return;
            const int tx = mx + std::clamp(x - mx, -4, 4), ty = my + std::clamp(y - my, -4, 4);
            int sx = 0, sy = 0;
            CellOnScreen(tx, ty, sx, sy);
            ClickAt(sx, sy);
            h.RunUntil([&] { return Me()->GetTileX() == tx && Me()->GetTileY() == ty; }, 20000);
            h.RunForMs(300);
        }
    }
    void ClickNpc(int x, int y) { EXPECT_TRUE(ClickNpcAt(x, y)) << "no NPC at " << x << "," << y; }
    // A double click on the list's first row: the server is asked for that
    // entry, whose first line the reader shows; then the reader is quit.
    void ReadFirstRow(const CDemoBoardServer& server, const std::string& request, const std::string& line)
    {
        DoubleClickAt(96 + 100, 76 + 65);
        h.MouseMove(780, 590);
        h.RunForMs(1000);
        EXPECT_EQ(server.Requests().back(), request);
        EXPECT_EQ(Shown(line, 94 + 25, 76 + 117, 60), 1.0) << line;
        ClickAt(94 + 420 + 30, 76 + 370 + 12);
        h.RunForMs(1000);
    }
    // Presses on (x0, y0), moves and lets go on (x1, y1).
    void Drag(int x0, int y0, int x1, int y1)
    {
        h.MouseMove(x0, y0);
        h.RunForMs(70);
        h.MouseDown(1, x0, y0);
        h.RunForMs(100);
        h.MouseMove(x1, y1);
        h.RunForMs(100);
        h.MouseUp(1, x1, y1);
        h.RunForMs(200);
    }
};

}  // namespace

TEST_F(PlayThrough, TheSampleWorldPlaysTheWholeGame)
{
    CDemoBoardServer board(CDemoBoardServer::Kind::Board);
    CDemoBoardServer mail(CDemoBoardServer::Kind::Mail);
    ASSERT_TRUE(board.Listening() && mail.Listening());
    board.Register();
    mail.Register();
    UseBoardServers(board.Port(), mail.Port());
    ResClearMissedNames();

    // Log in as the game master (whose Ctrl+M opens the mail), choose the
    // first character, enter stage 0 at the town's crossing.
    ASSERT_TRUE(LogIn(true));
    ASSERT_EQ(game.Taken(120).size(), 1u);
    const Bytes login = game.Taken(120)[0];
    EXPECT_EQ(Bytes(login.begin(), login.begin() + 5), Concat({{120}, Text("gm1"), {0}}));
    EXPECT_EQ(Bytes(login.begin() + 13, login.begin() + 16), Concat({Text("45"), {0}}));
    ASSERT_EQ(game.Taken(2).size(), 1u);
    const Bytes choice = game.Taken(2)[0];
    EXPECT_EQ(Bytes(choice.begin(), choice.begin() + 8), Concat({{2, 1, 6}, Text("Hero"), {0}}));
    EXPECT_EQ(g_lastLoadedStage, 0);
    ASSERT_EQ(game.Taken(3).size(), 1u);
    EXPECT_EQ(game.Taken(3)[0], Concat({{3, 1}, U16(175), U16(298)}));
    ASSERT_NE(Me(), nullptr);
    EXPECT_EQ(std::pair(Me()->GetTileX(), Me()->GetTileY()), std::pair(175, 298));

    // Walk: a click on the road a few cells on; every step is reported.
    WalkTo(178, 298);
    EXPECT_EQ(std::pair(Me()->GetTileX(), Me()->GetTileY()), std::pair(178, 298));
    ASSERT_FALSE(game.Taken(10).empty());
    EXPECT_EQ(game.Taken(10).back(), Concat({{10}, U16(178), U16(298)}));

    // The merchant: his shop, the talk button, his two pages in the message
    // box, and the sword he gives, reported as the first item.
    size_t fields = game.Taken(53).size();
    ClickNpc(179, 292);
    ASSERT_TRUE(Opens(102));
    h.RunForMs(200);
    ClickAt(240 + 181 + 20, 123 + 85 + 10);
    ASSERT_TRUE(h.RunUntil([&] { return game.Items()[0] == 1; }, 800000));
    EXPECT_EQ(Fields(51, fields), std::vector<Bytes>{Concat({{53, 51, 0}, U16(1)})});
    h.RunForMs(200);
    const std::string gift = "Take this sword for the road, and come back when it is blunt.";
    EXPECT_EQ(g_pMessageBoxWin->GetLine(4), gift);
    EXPECT_GT(Shown(gift, 50, 110, 197), 0.9);

    // The shop's items button: the market with the weapon list; the second
    // row (the long sword, 300) bought, the money reported.
    fields = game.Taken(53).size();
    ClickNpc(179, 292);
    ASSERT_TRUE(Opens(102));
    h.RunForMs(200);
    ClickAt(240 + 47 + 20, 123 + 85 + 10);
    ASSERT_TRUE(Opens(58));
    h.RunForMs(300);
    ClickAt(170 + 16 + 60, 100 + 93 + 5 + 14 + 7);
    ClickAt(170 + 25 + 30, 100 + 381 + 10);
    h.RunForMs(300);
    EXPECT_EQ(Fields(51, fields), std::vector<Bytes>{Concat({{53, 51, 1}, U16(4)})});
    EXPECT_EQ(Fields(30, fields), std::vector<Bytes>{Concat({{53, 30}, U32(1700)})});
    EXPECT_EQ(game.Record().I32(CharacterRecord::kMoney), 1700);
    ClickAt(170 + 220 + 30, 100 + 381 + 10);
    h.RunUntil([&] { return Win(58)->GetState() == CWidget::kClosed; }, 200000);

    // Equip it: Ctrl+V, the long sword dragged from the second cell of the
    // grid onto the weapon box.
    fields = game.Taken(53).size();
    Chord({kCtrl, kV});
    ASSERT_TRUE(Opens(9));
    h.RunForMs(2500);
    // The merchant's sword is drawn in the grid's first cell, on the panel's
    // plain ground.
    {
        const std::vector<uint8_t>& shown = h.Platform().video.lastPresent.pixels;
        ASSERT_EQ(shown.size(), 800u * 600u);
        auto at = [&](int x, int y) { return shown[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]; };
        int icon = 0;
        for (int y = 445; y < 445 + 52; ++y)
            for (int x = 528 + 18; x < 528 + 18 + 73; ++x)
                icon += at(x, y) != at(528 + 5, 300) ? 1 : 0;
        EXPECT_GT(icon, 100) << "the sword is drawn in the inventory";
    }
    Drag(528 + 18 + 73 + 36, 445 + 26, 528 + 20 + 30, 165 + 30);
    EXPECT_EQ(Fields(53, fields), std::vector<Bytes>{Concat({{53, 53, 4}, U16(4)})});
    EXPECT_EQ(game.Record().Equip(4), 4);
    EXPECT_EQ(game.Items()[1], 0);
    Chord({kCtrl, kV});

    // A chat line: typed, Enter, and back from the server in the chat
    // window, the newest line lowest; then a whisper to a wanderer, who
    // answers.
    const size_t chats = game.Taken(7).size();
    Type({kH, kE, kL, kL, kO}, false);
    Key(kEnter);
    h.RunForMs(500);
    ASSERT_EQ(TakenSince(7, chats).size(), 1u);
    EXPECT_EQ(TakenSince(7, chats)[0], Concat({{7}, U16(7), Name12("Hero"), {0}, U16(6), Text("hello"), {0}}));
    constexpr int kNewestY = 448 + 21 + 14 * 4;
    EXPECT_EQ(Shown("[Hero] hello", 25, kNewestY, 69), 1.0);
    h.KeyDown(kShift);
    Key(k1);
    h.KeyUp(kShift);
    Type({kA, kN, kD, kR, kE, kW, kSpace, kH, kI}, false);
    Key(kEnter);
    h.RunForMs(500);
    ASSERT_EQ(TakenSince(7, chats).size(), 2u);
    EXPECT_EQ(TakenSince(7, chats)[1], Concat({{7}, U16(7), Name12("Hero"), {1}, U16(10), Text("andrew hi"), {0}}));
    EXPECT_EQ(Shown("From Andrew : Hello! The merchant by the crossing sells blades.", 25, kNewestY, 222), 1.0);
    EXPECT_EQ(Shown("To andrew : hi", 25, kNewestY - 14, 69), 1.0);

    // The battle: the tide slime challenged and beaten, the rewards in the
    // status window, and back on the field.
    FightTheTideSlime(*this);

    // A wanderer's profile (a right double click on him) with his colony
    // greeting in its text box; its invite button: he joins the group, the
    // client asks for the members and the server names them.
    CObjLayer* layer = g_pView->m_pObjLayer;
    CCharacter* celinne = layer->FindCharacterById(101);
    ASSERT_NE(celinne, nullptr);
    int cx = 0, cy = 0;
    layer->GetBackground()->WorldToScreen(celinne->GetPixelX(), celinne->GetPixelY(), cx, cy);
    h.MouseMove(cx, cy - 20);
    h.RunForMs(70);
    h.Click(2, cx, cy - 20);
    h.Click(2, cx, cy - 20);
    ASSERT_TRUE(Opens(26));
    h.RunForMs(300);
    ASSERT_FALSE(game.Taken('e').empty());
    EXPECT_EQ(game.Taken('e').back(), Concat({{'e', 1}, U16(101)}));
    EXPECT_STREQ(Win(26)->FindChild(27)->GetText(), "Celinne of the north road") << "its first 25 bytes";
    ClickAt(200 + 20 + 32, 93 + 135 + 12);
    h.RunForMs(500);
    EXPECT_EQ(game.Taken('<'), std::vector<Bytes>{Concat({{'<'}, U16(101)})});
    EXPECT_EQ(game.Taken('@'), std::vector<Bytes>{Concat({{'@'}, U16(101)})});
    ASSERT_FALSE(game.Taken('R').empty());
    EXPECT_EQ(game.Taken('R').back(), Concat({{'R'}, U16(101), U16(0), U16(0), U16(0), U16(0)}));
    ASSERT_NE(g_messageRing.GetLine(0), nullptr);
    EXPECT_STREQ(g_messageRing.GetLine(0)->text, GetGameString(51));
    ASSERT_NE(layer->GroupMembers().GetRecord(101), nullptr);
    EXPECT_EQ(layer->GroupMembers().GetRecord(101)->Name(), "Celinne");
    Key(kEsc);

    // The ranking board: the first page, the town's best first.
    ClickCell(185, 301);
    ASSERT_TRUE(Opens(67));
    h.RunForMs(500);
    EXPECT_EQ(game.Taken('n'), (std::vector<Bytes>{{'n', 0}}));
    EXPECT_STREQ(GetRankingEntry(0).name, "Arin");
    EXPECT_EQ(GetRankingEntry(0).value, 42);
    Key(kEsc);

    // The free board: its first page, then a post read with a double click.
    ClickCell(172, 301);
    h.MouseMove(780, 590);
    h.RunForMs(1000);
    ASSERT_EQ(board.Requests(), std::vector<std::string>{"BOARD"});
    ASSERT_TRUE(Opens(52));
    ReadFirstRow(board, "18", "Hello from Cora.");

    // The mail (Ctrl+M): the write button, the desktop form typed and sent;
    // the mail server keeps it.
    Chord({kCtrl, kM});
    ASSERT_TRUE(Opens(54));
    h.RunForMs(1000);
    EXPECT_EQ(mail.Requests().front(), "Hero");
    ClickAt(96 + 390, 76 + 382);
    plat::CScriptedFormDialogs& forms = h.Platform().forms;
    const int form = CMailWriteDlg::kTemplateMailEnglish;
    ASSERT_NE(forms.Shown(form), nullptr);
    forms.Type(form, CMailWriteDlg::kIdRecipients, "Andrew");
    forms.Type(form, CMailWriteDlg::kIdTitle, "From the town");
    forms.Type(form, CMailWriteDlg::kIdBody, "The long sword was worth every juno.");
    forms.Press(form, CMailWriteDlg::kIdSend);
    h.MouseMove(780, 590);
    // Long enough for the write button's request cooldown to run out.
    h.RunForMs(1600);
    EXPECT_EQ(mail.Uploads(), 1);
    EXPECT_EQ(forms.Shown(form), nullptr);
    // "W", the upload, "Z": its length, the mail header (sender, login ID,
    // the recipient slots, body length, line count, title) and the body.
    {
        const std::string body = "The long sword was worth every juno.";
        Bytes header = Concat({Bytes(8, 0), Text("Hero"), Bytes(13, 0), Text("gm1"), Bytes(9, 0), Text("Andrew"),
                               Bytes(11, 0), Bytes(9 * 17 + 12 + 13, 0), U32(static_cast<uint32_t>(body.size() + 1)),
                               U32(1), Text("From the town"), Bytes(80 - 13, 0)});
        ASSERT_EQ(header.size(), 320u);
        const Bytes upload = mail.LastUpload();
        ASSERT_EQ(upload.size(), 4u + 328 + body.size() + 1);
        EXPECT_EQ(Bytes(upload.begin(), upload.begin() + 4), Concat({Text("365"), {0}}));
        EXPECT_EQ(Bytes(upload.begin() + 4, upload.begin() + 4 + 320), header);
        EXPECT_EQ(Bytes(upload.begin() + 4 + 328, upload.end()), Concat({Text(body), {0}}));
        const std::vector<std::string>& asked = mail.Requests();
        ASSERT_GE(asked.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(asked.end() - 2, asked.end()), (std::vector<std::string>{"W", "Z"}));
    }
    // The list comes again with the new mail on top; it reads back.
    ReadFirstRow(mail, "2", "The long sword was worth every juno.");
    ClickAt(96 + 420 + 30, 76 + 370 + 12);
    h.RunForMs(1000);

    // The banker south of the town: his bank, the cabinet beside the
    // inventory, the sword dragged from the first cell into the cabinet.
    WalkTo(175, 305);
    WalkTo(175, 312);
    WalkTo(184, 313);
    ClickNpc(186, 314);
    ASSERT_TRUE(Opens(94));
    // Its deposit: a wanderer's name typed, a thousand by the right arrow,
    // sent; the server takes it from the money and the client says so.
    const int32_t money = g_pView->m_pObjLayer->MyRecord().I32(CharacterRecord::kMoney);
    ASSERT_GT(money, 1000);
    const size_t transfers = game.Taken(8).size();
    ClickAt(233 + 47 + 50, 93 + 85 + 12);
    ASSERT_TRUE(Opens(97));
    h.RunForMs(200);
    Type({kA, kN, kD, kR, kE, kW}, false);
    ClickAt(233 + 271 + 10, 93 + 104 + 8);
    ClickAt(233 + 52 + 30, 93 + 191 + 10);
    h.RunForMs(500);
    {
        const std::vector<Bytes> sent = TakenSince(8, transfers);
        ASSERT_EQ(sent.size(), 1u);
        ASSERT_EQ(sent[0].size(), 6u + 21);
        EXPECT_EQ(Bytes(sent[0].begin(), sent[0].begin() + 2), (Bytes{8, 13}));
        EXPECT_EQ(Bytes(sent[0].begin() + 4, sent[0].begin() + 18), Concat({U16(21), Name12("andrew")}));
        EXPECT_EQ(Bytes(sent[0].begin() + 23, sent[0].end()), U32(1000));
    }
    EXPECT_EQ(game.Record().I32(CharacterRecord::kMoney), money - 1000);
    EXPECT_EQ(g_pView->m_pObjLayer->MyRecord().I32(CharacterRecord::kMoney), money - 1000);
    ASSERT_NE(g_messageRing.GetLine(0), nullptr);
    {
        char said[128];
        std::snprintf(said, sizeof said, GetGameString(154), "andrew", 1000);
        EXPECT_STREQ(g_messageRing.GetLine(0)->text, said);
    }
    EXPECT_FALSE(Ui().IsWindowOpen(97));
    ClickNpc(186, 314);
    ASSERT_TRUE(Opens(94));
    fields = game.Taken(53).size();
    ClickAt(233 + 180 + 50, 93 + 85 + 12);
    ASSERT_TRUE(Opens(98));
    ASSERT_TRUE(Opens(9));
    h.RunForMs(2500);
    Drag(528 + 18 + 36, 445 + 26, 133 + 18 + 36, 93 + 18 + 26);
    EXPECT_EQ(Fields(66, fields), std::vector<Bytes>{Concat({{53, 66, 0}, U16(1)})});
    EXPECT_EQ(Fields(57, fields), (std::vector<Bytes>{Bytes{53, 57, 0}}));
    // The battle's potion moves up into the first slot.
    EXPECT_EQ(game.Items()[0], DemoMonster::kItem);
    Key(kEsc);
    h.RunForMs(500);

    // The colony: along the south road to the cherubim, his colony button;
    // the field is left for the colony the server keeps (uploaded new, then
    // asked back). Its headquarters' panel, the build button, a base placed
    // where one may stand.
    WalkTo(200, 312);
    WalkTo(213, 307);
    ClickNpc(215, 309);
    ASSERT_TRUE(Opens(101)) << Me()->GetTileX() << "," << Me()->GetTileY();
    h.RunForMs(200);
    const size_t leaves = game.Taken(5).size();
    ClickAt(240 + 47 + 20, 123 + 85 + 10);
    ASSERT_TRUE(h.RunUntil([] { return g_colonyMode == 1u; }, 20000));
    h.RunForMs(1000);
    EXPECT_EQ(TakenSince(5, leaves), std::vector<Bytes>{Concat({{5}, U16(7)})});
    // The log-in's asks, twice, and the wanderer's greeting.
    ASSERT_EQ(game.Taken('e').size(), 7u);
    EXPECT_EQ(game.Taken('e')[0], Concat({{'e', 3}, U16(7)}));
    EXPECT_EQ(game.Taken('e')[3], Concat({{'e', 3}, U16(7)}));
    ASSERT_FALSE(game.Taken('d').empty());
    EXPECT_EQ(game.Taken('d')[0].size(), 4u + 14 * 8);
    auto clickMap = [&](int x, int y) {
        const ScreenPoint p = g_simTerrain.MapToScreen(x, y);
        ClickAt(p.x, p.y);
        h.RunForMs(100);
    };
    clickMap(0, 0);
    ASSERT_TRUE(Opens(60));
    ClickAt(528 + 15 + 10, 540 + 10);
    ASSERT_EQ(g_simCursor.GetMode(), CSimCursor::kPlace);
    ASSERT_TRUE(h.RunUntil([&] { return Win(60)->GetState() == CWidget::kClosed; }, 50000));
    clickMap(-8, 3);
    h.RunForMs(500);
    EXPECT_EQ(game.Taken('g'), std::vector<Bytes>{Concat({{'g', 45}, U16(0xFFF8), U16(3)})});

    // TO FIELD: stage 0 entered again beside the colony man; then his
    // colony button once more (the field left again), and the base still
    // stands where it was placed.
    const size_t entries = game.Taken(3).size();
    ClickAt(50 + 40, 50 + 12);
    ASSERT_TRUE(h.RunUntil([&] { return g_colonyMode == 0u && game.Taken(3).size() > entries && Me(); }, 50000));
    EXPECT_EQ(game.Taken(3).back(), Concat({{3, 1}, U16(219), U16(314)}));
    h.RunForMs(1000);
    ASSERT_NE(Me(), nullptr);
    EXPECT_EQ(std::pair(Me()->GetTileX(), Me()->GetTileY()), std::pair(219, 314));
    WalkTo(213, 307);
    ClickNpc(215, 309);
    ASSERT_TRUE(Opens(101));
    h.RunForMs(200);
    ClickAt(240 + 47 + 20, 123 + 85 + 10);
    ASSERT_TRUE(h.RunUntil([] { return g_colonyMode == 1u; }, 20000));
    h.RunForMs(1000);
    EXPECT_EQ(TakenSince(5, leaves), (std::vector<Bytes>{Concat({{5}, U16(7)}), Concat({{5}, U16(7)})}));
    {
        const ScreenPoint p = g_simTerrain.MapToScreen(-8, 3);
        const CSimMapObject* base = g_simColony.FindAt(p.x, p.y);
        ASSERT_NE(base, nullptr);
        EXPECT_EQ(base->m_type, 45);
        EXPECT_EQ(std::pair(base->m_x, base->m_y), std::pair(-8, 3));
    }

    // Leave with Ctrl+Alt: the time, HP and MP fields and the log-out,
    // then the connection ends.
    const size_t reports = game.Taken(53).size();
    const CharacterRecord mine = g_pView->m_pObjLayer->MyRecord();
    h.KeyDown(kCtrl);
    h.KeyDown(kAlt);
    h.RunForMs(100);
    EXPECT_TRUE(IsExiting());
    h.RunUntil([&] { return h.Quit(); }, 20000);
    for (int i = 0; i < 100 && !game.ClientGone(); ++i)
        game.Pump();
    EXPECT_TRUE(game.ClientGone());
    std::vector<Bytes> out = TakenSince(53, reports);
    for (const Bytes& b : game.Taken(51))
        out.push_back(b);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0], Concat({{53, 7}, U32(mine.U32(CharacterRecord::kGameTime))}));
    EXPECT_EQ(out[1], Concat({{53, 9}, U32(mine.U32(CharacterRecord::kHp))}));
    EXPECT_EQ(out[2], Concat({{53, 10}, U32(mine.U32(CharacterRecord::kMp))}));
    EXPECT_GE(mine.I32(CharacterRecord::kHp), 100);
    EXPECT_EQ(out[3], (Bytes{51, 'O'}));

    // Names looked up in one archive may be found in the other, and a
    // player's own script ("WepMerc0000.scr") falls back to the plain one:
    // only those in neither are missing.
    std::set<std::string> missing;
    const std::vector<std::string> missed = ResMissedNames();
    for (const std::string& name : missed) {
        const size_t own = name.size() > 8 ? name.size() - 8 : 0;
        const std::string plain = name.substr(0, own) + ".scr";
        if (ResOpen(name.c_str()) < 0 && ResBindOpen(name.c_str()) < 0 &&
            !(name.ends_with(".scr") && ResOpen(plain.c_str()) >= 0))
            missing.insert(name);
    }
    EXPECT_EQ(missing, std::set<std::string>{}) << "every entry the client asked for is there";
    EXPECT_TRUE(h.Boxes().empty());
    EXPECT_EQ(game.Dropped(), 0);
}
