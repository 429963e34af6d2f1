// The whole client in Korean against the scripted server: what the player
// types leaves with its Hangul intact (a whisper, a money transfer to a
// Korean name), a relayed wall and the colony's notices show their own
// syllables on the notice line, the stage changes and the battle draw their
// titles, a game time from the server shows its year in the profile, and an
// expelled player reads the box before the game ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/HanCodeConv.h"
#include "core/RleImage.h"
#include "core/TextLayer.h"
#include "fixtures/BattleWire.h"
#include "fixtures/FontBuilder.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/WidgetSprites.h"
#include "platform/Input.h"
#include "support/FakeServer.h"
#include "support/FieldLogIn.h"
#include "support/Harness.h"
#include "ui/Widget.h"
#include "windows/DaradirUzedo.h"
#include "windows/ProfileRecord.h"
#include "windows/WindowTable.h"
#include "world/CharacterRecord.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint16_t kId = 9;
// My cell, two cells up from the banker the first stage places at (186, 314).
constexpr int kX = 184, kY = 312;
constexpr int kMoney = 5000;
constexpr uint8_t kEnter = 28, kShift = 42;
constexpr int kBank = 94, kTransfer = 97;

Bytes Name12(const std::string& name)
{
    Bytes b(12, 0);
    std::copy_n(name.begin(), std::min<size_t>(name.size(), 11), b.begin());
    return b;
}

std::string Johab(std::string cp949)
{
    CHanCodeConv::CP949ToJohab(cp949.data(), cp949.data());
    return cp949;
}

// Command 8 as the server sends it: [8][sub][u16 value][u16 length][payload].
Bytes ChatReply(uint8_t sub, uint16_t value, const Bytes& payload)
{
    Bytes b = {8, sub};
    PutU16(b, value);
    PutU16(b, static_cast<uint16_t>(payload.size()));
    return Concat({b, payload});
}

// A person record: name (12), region, x, y, number.
Bytes Person(const std::string& name, uint8_t region, uint16_t x, uint16_t y, uint32_t number)
{
    Bytes b = Concat({Name12(name), {region}});
    PutU16(b, x);
    PutU16(b, y);
    PutU32(b, number);
    return b;
}

class PlayerTexts : public testing::Test {
protected:
    static CArchiveBuilder Archive()
    {
        // The first stage large enough to hold the banker's cell.
        CArchiveBuilder b = CIntroArchive::Field(320);
        CObrBuilder banker("CHR");
        banker.Character("52", CObrBuilder::CharRecord("52", 3, 52)).AnimSet("52");
        b.Replace("merchant.obr", banker.Build());
        // A window slides only with its picture; the bank, the transfer form
        // and the profile are large enough to hold their controls and texts.
        for (const SWindowRow& row : WindowTable())
            if (row.sprite && row.sprite[0])
                b.Replace(row.sprite, CWidgetSprites::File(4, 32, 32, 7));
        b.Replace("bank.slr", CWidgetSprites::Picture(330, 230, 5));
        b.Replace("ProfileWin.slr", CWidgetSprites::Picture(400, 310, 5));
        b.Replace("Face.slr", CWidgetSprites::File(12, 80, 80, 7));
        b.Replace("Deposit.slr", CWidgetSprites::Picture(330, 230, 6));
        b.Replace("BullTab.slr", CWidgetSprites::File(2, 40, 16, 7));
        for (const char* name : {"depositg", "cabinetg", "okg1", "cancelg1", "rightarrow", "leftarrow", "bars", "button3"})
            b.Replace(std::string(name) + ".slr", CWidgetSprites::File(5, 30, 16, 11));
        return b;
    }

    // Log-in, character choice and field entry beside the banker, in Korean,
    // with money to send.
    void LogIn()
    {
        h.Platform().settings.SetString("Control Panel\\International", "Locale", "00000412");
        Bytes record(436, 0);
        record[CharacterRecord::kHp] = 90;
        record[CharacterRecord::kMoney] = kMoney & 0xFF;
        record[CharacterRecord::kMoney + 1] = kMoney >> 8;
        ASSERT_TRUE(LogInToField(h, kId, kX, kY, record)) << server.Failure();
        ASSERT_EQ(server.Failure(), "");
        Frame(30);
        // The controls' pictures this archive leaves out said so as the
        // windows were built.
        boxesAtStart = h.Boxes().size();
    }
    // The boxes since the log-in.
    std::vector<plat::RecordedBox> NewBoxes() const
    {
        return {h.Boxes().begin() + static_cast<long>(boxesAtStart), h.Boxes().end()};
    }
    bool Frames(const std::function<bool()>& pred, int n)
    {
        const uint32_t last = g_gameFrameCount + static_cast<uint32_t>(n);
        h.RunUntil([&] { return pred() || g_gameFrameCount >= last; }, 1000 * n);
        return pred();
    }
    void Frame(int n = 1) { Frames([] { return false; }, n); }
    int State(int32_t id) { return g_layerHolder.GetLayer()->GetRootContainer()->FindChild(id)->GetState(); }

    // Keys for the text: letters (upper case with Shift), digits, the
    // blank, '/' and '!', in the edit line's Hangul or Latin mode.
    void TypeKeys(const char* keys, bool hangul)
    {
        static constexpr uint8_t kLetters[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                                 49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
        if (g_pTextLayer->IsHangulMode() != hangul)
            h.KeyPress(plat::kScanHangul);
        for (const char* p = keys; *p; ++p) {
            const char c = *p;
            bool shift = false;
            uint8_t scan = 0;
            if (c >= 'a' && c <= 'z') {
                scan = kLetters[c - 'a'];
            } else if (c >= 'A' && c <= 'Z') {
                scan = kLetters[c - 'A'];
                shift = true;
            } else if (c >= '1' && c <= '9') {
                scan = static_cast<uint8_t>(2 + c - '1');
            } else if (c == '0') {
                scan = 11;
            } else if (c == ' ') {
                scan = plat::kScanSpace;
            } else if (c == '/') {
                scan = 53;
            } else if (c == '!') {
                scan = 2;
                shift = true;
            }
            if (shift)
                h.KeyDown(kShift);
            h.KeyPress(scan);
            if (shift)
                h.KeyUp(kShift);
        }
        Frame(2);
    }
    // Held for a frame: the UI reads the key on its frame.
    void Enter()
    {
        h.KeyDown(kEnter);
        Frame(1);
        h.KeyUp(kEnter);
        Frame(1);
    }
    void ClickAt(int x, int y)
    {
        h.RunForMs(300);
        h.MouseMove(x, y);
        Frame(1);
        h.Click(1, x, y);
        Frame(2);
    }
    // Where the field drew the banker; false while it is not on the screen.
    bool Banker(int& x, int& y)
    {
        CObjLayer& layer = *g_pView->m_pObjLayer;
        for (int i = 0; i < layer.DrawList().GetCount(); ++i) {
            const DrawEntry& e = layer.DrawList().GetSorted(i);
            const auto* npc = dynamic_cast<const CNpc*>(e.owner);
            if (!npc || !e.image || npc->GetTileX() != 186 || npc->GetTileY() != 314)
                continue;
            x = static_cast<int16_t>(e.x) - e.image->GetHotSpot().x + e.image->GetSize().cx / 2;
            y = static_cast<int16_t>(e.y) - static_cast<int16_t>(e.z) - e.image->GetHotSpot().y +
                e.image->GetSize().cy / 2;
            return true;
        }
        return false;
    }
    // The bytes the server received from `from` on, once n have come.
    Bytes SentAfter(size_t from, size_t n)
    {
        h.RunUntil([&] { return server.AllReceived().size() >= from + n; }, 20000);
        const Bytes& all = server.AllReceived();
        return Bytes(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
    }
    // Whether the presented frame shows every pixel of the Johab text
    // drawn at (x, y) in the colour.
    bool Shows(const std::string& johab, int x, int y, uint8_t colour)
    {
        const std::vector<uint8_t>& shown = h.Platform().video.lastPresent.pixels;
        if (shown.size() < 800u * 600u)
            return false;
        std::vector<uint8_t> alone(800 * 600, 0);
        g_pTextLayer->SetTarget(alone.data(), 800, 600);
        g_pTextLayer->DrawTextColored(x, y, johab.c_str(), colour, 255, 0);
        int ink = 0;
        for (size_t i = 0; i < alone.size(); ++i) {
            if (alone[i] != colour)
                continue;
            ++ink;
            if (shown[i] != colour)
                return false;
        }
        return ink > 0;
    }

    CHarness h{5000};
    CTestArchive archive{Archive(), false};
    CFakeServer& server = h.Server();
    size_t boxesAtStart = 0;
};

TEST_F(PlayerTexts, HangulKeepsItsSyllablesOnEveryPath)
{
    LogIn();
    // Two-set keys and the name they compose (CP949 here): syllables of the
    // common set, and one only the extended code has.
    struct Row {
        const char* keys;
        const char* name;
    };
    const Row rows[] = {{"rlacjftn", "김철수"}, {"dlsgh", "인호"}, {"Ehaqkd", "똠방"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string name = r.name;

        // A whisper: the name leaves in CP949, the rest as typed.
        size_t from = server.AllReceived().size();
        TypeKeys("!", false);
        TypeKeys(r.keys, true);
        TypeKeys(" hi", false);
        Enter();
        const std::string text = name + " hi";
        Bytes whisper = Concat({U16Packet(7, kId), Name12("Mira"), {1}});
        PutU16(whisper, static_cast<uint16_t>(text.size() + 1));
        whisper.insert(whisper.end(), text.begin(), text.end());
        whisper.push_back(0);
        EXPECT_EQ(SentAfter(from, whisper.size()), whisper);

        // A transfer of 100 Juno to the name, typed into the bank's form.
        int bx = 0, by = 0;
        ASSERT_TRUE(Banker(bx, by));
        ClickAt(bx, by);
        ASSERT_TRUE(Frames([&] { return State(kBank) == CWidget::kOpen; }, 120)) << State(kBank);
        ClickAt(233 + 47 + 15, 93 + 85 + 8);
        ASSERT_TRUE(Frames([&] { return State(kTransfer) == CWidget::kOpen; }, 120)) << State(kTransfer);
        TypeKeys(r.keys, true);
        ClickAt(233 + 151 + 20, 93 + 105 + 10);
        TypeKeys("100", false);
        from = server.AllReceived().size();
        ClickAt(233 + 52 + 15, 93 + 191 + 8);
        const Bytes transfer = Concat({{8, 13, 0, 0, 21, 0}, Person(name, 0, 0, 0, 100)});
        EXPECT_EQ(SentAfter(from, transfer.size()), transfer);
        ASSERT_TRUE(Frames([&] { return State(kTransfer) == CWidget::kClosed; }, 120));

        // A game master's wall naming the player comes as it was typed, in
        // Johab: its syllables on the line.
        const std::string notice = Johab(name + "님이 도착했습니다.");
        Bytes payload(notice.begin(), notice.end());
        payload.push_back(0);
        server.Send(ChatReply(1, 0, payload));
        EXPECT_TRUE(Frames([&] { return Shows(notice, 50, 428, 185); }, 30));
    }

    // The colony's reset, armed and made by typed commands: its notice too.
    TypeKeys("/siminit", false);
    Enter();
    TypeKeys("/delsimul", false);
    Enter();
    EXPECT_TRUE(Frames([&] { return Shows(Johab("시뮬레이션과 이벤트가 초기화되었습니다"), 50, 428, 185); }, 30));
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(PlayerTexts, AStageChangeBlinksItsNoticeAndABattleShowsItsTitle)
{
    LogIn();
    // Moved by an operator: the notice stands right-aligned at 780 on row
    // 560 while the server has not let me in, dark on 3 frames of 16.
    server.Send(ChatReply(7, 99, Person("Mira", 1, 180, 300, 0)));
    const std::string moving = Johab("이동 중입니다...");
    const int x = 780 - static_cast<int>(moving.size()) * 6;
    int lit = 0, dark = 0;
    for (int i = 0; i < 60; ++i) {
        Frame(1);
        lit += Shows(moving, x, 560, 15) ? 1 : 0;
        dark += Shows(moving, x, 560, 0) ? 1 : 0;
    }
    EXPECT_GT(lit, 20);
    EXPECT_GT(dark, 3);
    EXPECT_LT(dark, lit);
    // Let in: the field again.
    server.Send(EnteredReply(kId, 180, 300));
    ASSERT_TRUE(Frames([] { return g_pView->m_pObjLayer->m_stageChanging == 0; }, 60));

    // A battle: its number at (20, 4) of the screen.
    server.Send(CBattleWire()
                    .U8(27).U16(0).U16(501).U16(180).U16(300).U16(30).U8(1)
                    .Participant(30, 183, 300, 0, 30, 12));
    ASSERT_TRUE(Frames([] { return g_pView->m_pObjLayer->m_inBattle != 0; }, 100)) << server.Failure();
    EXPECT_TRUE(Frames([&] { return Shows(Johab("전투#501"), 20, 4, 15); }, 30));

    // Won (the enemy fell by my hand) and left by the right click: the
    // leaving notice at the same place until the server lets me in.
    server.Send(CBattleWire::Packet(6,
                                    CBattleWire().U16(30).U16(kId).U16(0).U16(0).U16(0).U8(0)
                                        .U16(12).U16(0).U16(0).U32(0).U32(0),
                                    501));
    ASSERT_TRUE(Frames([] { return g_pView->m_pObjLayer->m_battleOver == 1; }, 60));
    h.Click(2, 400, 200);
    const std::string leaving = Johab("전투에서 나갑니다...");
    EXPECT_TRUE(Frames([&] { return Shows(leaving, 780 - static_cast<int>(leaving.size()) * 6, 560, 15); }, 60));
    server.Send(EnteredReply(kId, 180, 300));
    ASSERT_TRUE(Frames([] { return g_pView->m_pObjLayer->m_stageChanging == 0; }, 60));
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(PlayerTexts, TheGameTimeFromTheServerWritesItsYearIntoTheOpenProfile)
{
    LogIn();
    constexpr uint8_t kF4 = 62;
    h.KeyDown(kF4);
    Frame(1);
    h.KeyUp(kF4);
    ASSERT_TRUE(Frames([&] { return State(26) == CWidget::kOpen; }, 120)) << State(26);
    // The year's last digit, drawn centred on x 130 of the window's picture
    // (two digits from x 124), row 40; its first two columns take the ink of
    // the digit before it.
    CWidget* profile = g_layerHolder.GetLayer()->GetRootContainer()->FindChild(26);
    auto lastDigit = [&] {
        uint16_t rows[16];
        CFontBuilder::ReadCell(profile->GetSprite()->GetFrame(0) + 8, profile->GetSprite()->GetWidth(), 130, 40, 8,
                               60, rows);
        return CFontBuilder::DecodeAscii(static_cast<uint16_t*>(rows)) & 0x3F;
    };
    EXPECT_STREQ(g_profileRecord.year, "17");
    EXPECT_EQ(lastDigit(), '7' & 0x3F);
    // Field 7 of my id: three years of 2880 and a little.
    Bytes time = Concat({U16Packet(52, kId), {7}});
    PutU32(time, 3 * 2880 + 5);
    server.Send(time);
    EXPECT_TRUE(Frames([&] { return lastDigit() == ('0' & 0x3F); }, 30)) << lastDigit();
    EXPECT_STREQ(g_profileRecord.year, "20");
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(PlayerTexts, AnExpelledPlayerReadsTheBoxThenTheGameEnds)
{
    LogIn();
    EXPECT_FALSE(IsExiting());
    const size_t from = server.AllReceived().size();
    server.Send(ChatReply(4, 99, {}));
    ASSERT_TRUE(h.RunUntil([&] { return !NewBoxes().empty(); }, 20000));
    EXPECT_EQ(NewBoxes()[0].text, "운영자의 명령으로 당신은 퇴장되었습니다.");
    EXPECT_TRUE(IsExiting());
    // The orderly exit: leaving the field, the game time, HP and MP, the
    // log-out, and the connection closed.
    h.RunUntil([&] { return server.ClientClosed(); }, 50000);
    for (int i = 0; i < 100 && !server.ClientClosed(); ++i)
        server.Pump();
    EXPECT_TRUE(server.ClientClosed());
    const Bytes& all = server.AllReceived();
    const Bytes leave = {5, kId, 0, 53, 7, 0, 0, 0, 0, 53, 9, 90, 0, 0, 0, 53, 10, 0, 0, 0, 0, 51, 'O'};
    EXPECT_EQ(Bytes(all.begin() + static_cast<long>(from), all.end()), leave);
    EXPECT_EQ(NewBoxes().size(), 1u);
}

}  // namespace
