// The profile, group and hair-colour windows in a client on the creature
// bed with the real UI layer, its dispatcher and the receive dispatcher: a
// character's profile opened from the field, the whisper, invitation and
// duel bytes, the player's own profile text round trip through
// "Profile.sav", and the group members the server names.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "app/CommandRing.h"
#include "app/MouseState.h"
#include "app/ReceiveDispatch.h"
#include "ui/MessageRing.h"
#include "app/StringTable.h"
#include "core/HotKey.h"
#include "core/AnimSpriteSet.h"
#include "core/RleImage.h"
#include "fixtures/TempDir.h"
#include "fixtures/WidgetSprites.h"
#include "platform/Process.h"
#include "rules/CalcData.h"
#include "social/ChatTestEnv.h"
#include "social/FaceButtonBase.h"
#include "social/GroupWin.h"
#include "social/HairColorWin.h"
#include "ui/ButtonWidget.h"
#include "windows/PlayerInfo.h"
#include "windows/ProfileRecord.h"
#include "world/CharacterRecord.h"
#include "world/GroupRecord.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

constexpr uint16_t kKimId = 12;
constexpr uint8_t kF4 = 62;

Bytes Ask(uint16_t id, int field)
{
    Bytes b{52};
    PutU16(b, id);
    b.push_back(static_cast<uint8_t>(field));
    return b;
}


std::string ReadAll(const std::string& path)
{
    std::string out;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, n);
        std::fclose(f);
    }
    return out;
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

class ProfileWindows : public ChatTest {
protected:
    ProfileWindows()
    {
        g_profileRecord.Clear();
        g_commandRing.Reset();
        me->GetCharRecord().SetU32(CharacterRecord::kClass, 1);
        Layer().MyRecord() = me->GetCharRecord();
        Layer().m_groupHeader = AloneGroup(CCreatureBed::kMyId);
    }
    ~ProfileWindows() override
    {
        g_mouseState.Reset();
        std::memset(g_keyState, 0, sizeof g_keyState);
        g_lastKey = 0;
        g_commandRing.Reset();
        g_profileRecord.Clear();
    }
    // The window pictures, read when a window first draws open.
    static CArchiveBuilder Pictures()
    {
        CArchiveBuilder b = CArchiveBuilder::MinimalGame();
        b.Replace("GrpWin.slr", CWidgetSprites::File(1, 672, 410, 5));
        b.Replace("ProfileWin.slr", CWidgetSprites::File(1, 400, 310, 5));
        b.Replace("basic2.slr", CWidgetSprites::File(1, 384, 300, 5));
        b.Replace("Face.slr", CWidgetSprites::File(12, 80, 80, 7));
        b.Replace("group8.slr", CWidgetSprites::File(8, 100, 120, 9));
        return b;
    }
    CWidget* Win(int id) { return ui.GetRootContainer()->FindChild(id); }
    // UI frames of 4 ticks: the windows draw (and slide), then the
    // commands pushed run.
    void UiFrames(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            g_uiFrameTicks = 4;
            ui.GetRootContainer()->Draw(screen.data());
            ui.DispatchCommands();
        }
    }
    bool UntilState(int id, int32_t state)
    {
        for (int i = 0; i < 200 && Win(id)->GetState() != state; ++i)
            UiFrames();
        return Win(id)->GetState() == state;
    }
    void Push(uint32_t id)
    {
        g_commandRing.Push(id);
        UiFrames();
    }
    void PressF4()
    {
        g_keyState[kF4] = 1;
        g_lastKey = kF4;
        ui.HandleHotKeys();
        g_keyState[kF4] = 0;
        g_lastKey = 0;
        UiFrames();
    }
    uint8_t Pixel(int x, int y) const { return screen[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]; }

    CTestArchive pictures{Pictures()};
    std::vector<uint8_t> screen = std::vector<uint8_t>(800 * 600, 0);
};

TEST_F(ProfileWindows, AnotherCharactersProfileFromTheFieldWhispersInvitesAndChallenges)
{
    CCharacter& kim = bed.Add(kKimId, 22, 20);
    const uint8_t wire[12] = {'K', 'i', 'm'};
    kim.GetCharRecord().SetWireName(wire);
    kim.GetCharRecord().SetU32(CharacterRecord::kClass, 2);
    kim.GetCharRecord().SetU16(CharacterRecord::kKills, 4);
    kim.GetCharRecord().SetU16(CharacterRecord::kFame, 77);

    // A right double-click on Kim's picture on the field.
    CRleImage* image = Layer().GetCharSet(0)->GetFrame(0);
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(Layer().AddDrawItem(&kim, 100 + image->GetHotSpot().x, 100 + image->GetHotSpot().y, 0, image, 0, 0), 0);
    Layer().SortDrawList();
    g_mouseState.SetMouseEvent(MOUSE_RDBLCLK, 102, 102);
    Layer().PickAndClick();
    g_mouseState.Reset();
    UiFrames();
    // Kim's colony greeting, then his fields.
    EXPECT_EQ(Sent(), Concat({{'e', 1, kKimId, 0}, Ask(kKimId, 7), Ask(kKimId, 32), Ask(kKimId, 32), Ask(kKimId, 35),
                              Ask(kKimId, 36), Ask(kKimId, 31)}));
    ASSERT_TRUE(UntilState(26, CWidget::kOpen));
    EXPECT_EQ(g_profileRecord.charId, kKimId);
    EXPECT_STREQ(g_profileRecord.name, "Kim");
    EXPECT_EQ(g_profileRecord.portrait, 2);
    EXPECT_STREQ(g_profileRecord.year, "");
    // Portrait frame 2 x 2 of the face list (colour 7 + frame) is drawn at
    // the window's corner.
    const CPoint at = *Win(26)->GetPos();
    EXPECT_EQ(Pixel(at.x + 24 + 40, at.y + 25 + 40), 7 + 4);
    // Someone else's profile text cannot be edited.
    EXPECT_EQ(Win(26)->FindChild(27)->OnLButtonDown(at.x + 130, at.y + 110), 0);

    // The whisper line goes to Kim.
    CWidget* profile = Win(26);
    std::strcpy(profile->GetText(), "hi there");
    profile->SubmitText();
    EXPECT_EQ(Sent(), ChatPacket(1, "Kim hi there"));
    EXPECT_STREQ(profile->GetText(), "");

    // Whispers from or to Kim show in the window; another's go on to the chat.
    auto route = [&](const Bytes& b) { return ui.RouteChatMessage(reinterpret_cast<const char*>(b.data() + 1)); };
    EXPECT_EQ(route(Received(kKimId, "Kim", 1, "Arin hello")), 1);
    EXPECT_EQ(route(Received(CCreatureBed::kMyId, "Arin", 1, "Kim back")), 1);
    EXPECT_EQ(profile->OnChatMessage(Received(40, "Bob", 1, "Arin psst").data() + 1, 30), 0);
    route(Received(40, "Bob", 1, "Arin psst"));
    auto* window = dynamic_cast<CWidgetWindow*>(profile);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(std::string(window->GetLines()[2]).find("hello"), std::string::npos) << window->GetLines()[2];
    EXPECT_NE(std::string(window->GetLines()[1]).find("back"), std::string::npos) << window->GetLines()[1];
    EXPECT_NE(std::string(Chat().GetLines()[1]).find("psst"), std::string::npos) << Chat().GetLines()[1];

    // Invite (26), then challenge (25): level 9 is refused, level 10 sends.
    EXPECT_EQ(dynamic_cast<CButtonWidget*>(profile->FindChild(31))->GetCommandCode(), 26);
    EXPECT_EQ(dynamic_cast<CButtonWidget*>(profile->FindChild(30))->GetCommandCode(), 25);
    Push(26);
    EXPECT_EQ(Sent(), (Bytes{'<', kKimId, 0}));
    Layer().MyRecord().SetU32(CharacterRecord::kLevel, 9);
    Push(25);
    EXPECT_EQ(Sent(), Bytes{});
    Layer().MyRecord().SetU32(CharacterRecord::kLevel, 10);
    Push(25);
    EXPECT_EQ(Sent(), (Bytes{'S', kKimId, 0}));
    // Accepting without a challenge: string 72, and the window toggles.
    Push(27);
    UiFrames();
    EXPECT_EQ(Sent(), Bytes{});
    EXPECT_EQ(Win(26)->GetState() == CWidget::kClosing || Win(26)->GetState() == CWidget::kClosed, true);

    // Closing another's profile sent no profile text and wrote no file.
    ASSERT_TRUE(UntilState(26, CWidget::kClosed));
    EXPECT_EQ(Sent(), Bytes{});
    EXPECT_EQ(ReadAll(ProfileSavPath()), "");
}

TEST_F(ProfileWindows, GroupAndDuelRequestsKeepTheWantedJailAndBattleRules)
{
    bed.Add(kKimId, 22, 20);
    g_profileRecord.charId = kKimId;
    std::strcpy(g_profileRecord.name, "Kim");
    Layer().MyRecord().SetU32(CharacterRecord::kLevel, 10);
    constexpr uint8_t kMine = CCreatureBed::kMyId;
    struct Row {
        const char* name;
        int command;
        int jailed, wanted, map;
        bool battle, inJail;
        Bytes sent;
        int said;  // the string the ring shows last; 0: nothing added; -1: not looked at
    };
    const Row rows[] = {
        {"a duel asked", 25, 0, 0, 0, false, false, {'S', kKimId, 0}, -1},
        {"a duel asked in jail", 25, 0, 0, 0, false, true, {}, 176},
        {"a duel asked in a battle", 25, 0, 0, 0, true, false, {}, 0},
        {"a duel accepted", 27, 0, 0, 0, false, false, {26, kMine, 0, kKimId, 0, 1, 0, 0}, -1},
        {"a duel accepted in a battle", 27, 0, 0, 0, true, false, {}, 0},
        {"an invitation", 26, 0, 0, 0, false, false, {'<', kKimId, 0}, -1},
        {"wanted: a wanted level of 6 below five terms", 26, 2, 6, 0, false, false, {}, 200},
        {"wanted: any wanted level after five terms", 28, 5, 1, 0, false, false, {}, 200},
        {"not wanted: a wanted level of 4", 26, 0, 4, 0, false, false, {'<', kKimId, 0}, -1},
        {"nobody is wanted on the free-fight map", 26, 0, 3, 3, false, false, {'<', kKimId, 0}, -1},
        {"wanted in a battle", 26, 0, 3, 0, true, false, {}, 200},
        {"an invitation in a battle", 26, 0, 0, 0, true, false, {}, 0},
        {"an invitation accepted", 28, 0, 0, 0, false, false, {'=', kKimId, 0}, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        me->GetCharRecord().SetU16(CharacterRecord::kJailed, static_cast<uint32_t>(row.jailed));
        me->GetCharRecord().SetU16(CharacterRecord::kWanted, static_cast<uint32_t>(row.wanted));
        g_currentMapId = row.map;
        g_inJail = row.inJail ? 1 : 0;
        Layer().m_inBattle = row.battle ? 1 : 0;
        Layer().m_pendingChallenger = kKimId;
        Layer().m_pendingInviter = kKimId;
        Layer().m_groupHeader = AloneGroup(kMine);
        g_messageRing.Clear();
        Push(static_cast<uint32_t>(row.command));
        EXPECT_EQ(Sent(), row.sent);
        if (row.said == 0) {
            EXPECT_EQ(g_messageRing.GetLineCount(), 0);
        } else if (row.said > 0) {
            const auto* line = g_messageRing.GetLine(0);
            EXPECT_STREQ(line ? line->text : "", GetGameString(row.said));
        }
    }
    g_currentMapId = 0;
    g_inJail = 0;
    Layer().m_inBattle = 0;
}

TEST_F(ProfileWindows, TheOwnProfileTextLeavesOnClosingAndComesBackFromProfileSav)
{
    // F4: the player's profile, its request and the four field requests.
    PressF4();
    Bytes expect{'e', 1, CCreatureBed::kMyId, 0};
    for (int f : {32, 35, 36, 31})
        expect = Concat({expect, Ask(CCreatureBed::kMyId, f)});
    EXPECT_EQ(Sent(), expect);
    ASSERT_TRUE(UntilState(26, CWidget::kOpen));
    EXPECT_EQ(g_profileRecord.charId, CCreatureBed::kMyId);
    EXPECT_STREQ(g_profileRecord.name, kMe);
    CWidget* box = Win(26)->FindChild(27);
    EXPECT_STREQ(box->GetText(), "");
    const CPoint at = *Win(26)->GetPos();
    EXPECT_EQ(box->OnLButtonDown(at.x + 130, at.y + 110), 1) << "my own text takes the input";

    // The server's greeting shows in the box; the player types over it.
    Bytes greeting{102, 1};
    const std::string hello = "Hello there";
    greeting.insert(greeting.end(), hello.begin(), hello.end());
    greeting.resize(2 + 100, 0);
    Receive(greeting);
    EXPECT_STREQ(box->GetText(), "Hello there");
    box->SetText("My motto");

    // Closing: 'd' 1 and the text zero-filled to 100 bytes, and the file.
    Push(12);
    Bytes sent{'d', 1, 'M', 'y', ' ', 'm', 'o', 't', 't', 'o'};
    sent.resize(102, 0);
    EXPECT_EQ(Sent(), sent);
    EXPECT_EQ(ReadAll(ProfileSavPath()), "My motto\n\n\n");
    ASSERT_TRUE(UntilState(26, CWidget::kClosed));

    // A later start reads it back: the lines of the file, the box with them.
    WriteAll(ProfileSavPath(), "Second motto\r\nline two\n");
    g_profileRecord.Clear();
    PressF4();
    ASSERT_TRUE(UntilState(26, CWidget::kOpen));
    EXPECT_STREQ(g_profileRecord.lines[0], "Second motto");
    EXPECT_STREQ(g_profileRecord.lines[1], "line two");
    EXPECT_STREQ(g_profileRecord.lines[2], "");
    EXPECT_STREQ(box->GetText(), "Second motto");
}

TEST_F(ProfileWindows, F4ShowsMyProfileWithoutMyCharacterButNotInBattle)
{
    Bytes expect{'e', 1, CCreatureBed::kMyId, 0};
    for (int f : {32, 35, 36, 31})
        expect = Concat({expect, Ask(CCreatureBed::kMyId, f)});
    Layer().m_inBattle = 1;
    PressF4();
    EXPECT_TRUE(Sent().empty());
    EXPECT_EQ(Win(26)->GetState(), CWidget::kClosed);

    // Between stages the object layer holds no character of mine; its copy
    // of my record (here some years on) stands in.
    Layer().m_inBattle = 0;
    Layer().SetMyCharacter(nullptr);
    Layer().MyRecord().SetU32(CharacterRecord::kGameTime, 5000000);
    const std::string year = std::to_string(GetGameYear(Layer().MyRecord()));
    ASSERT_NE(year, std::to_string(GetGameYear(me->GetCharRecord())));
    PressF4();
    EXPECT_EQ(Sent(), expect);
    EXPECT_TRUE(UntilState(26, CWidget::kOpen));
    EXPECT_EQ(g_profileRecord.charId, CCreatureBed::kMyId);
    EXPECT_STREQ(g_profileRecord.name, kMe);
    EXPECT_EQ(std::string(g_profileRecord.year), year);
    Layer().SetMyCharacter(me);
}

TEST_F(ProfileWindows, TheGroupWindowShowsTheMembersTheServerNames)
{
    // Joined: leader 30, members 30, me and 31; then their classes and
    // names (31's fills all 12 bytes) and their stats.
    Bytes joined{61};
    for (uint16_t id : {uint16_t{30}, uint16_t{30}, CCreatureBed::kMyId, uint16_t{31}, uint16_t{0}, uint16_t{0}, uint16_t{0}})
        PutU16(joined, id);
    Receive(joined);
    Bytes info{82};
    auto entry = [&](uint16_t id, uint16_t cls, const char* name) {
        PutU16(info, id);
        PutU16(info, cls);
        Bytes n(name, name + std::strlen(name));
        n.resize(12, 0);
        info.insert(info.end(), n.begin(), n.end());
    };
    entry(30, 2, "Leader");
    entry(31, 4, "ABCDEFGHIJKL");
    info.resize(1 + 5 * 16, 0);
    Receive(info);
    Bytes list{81};
    auto stats = [&](uint16_t id, uint16_t s) {
        PutU16(list, id);
        for (uint16_t v : {uint16_t{50}, uint16_t{10}, s, s, s, s, s})
            PutU16(list, v);
    };
    stats(30, 0);
    stats(31, 2000);
    list.resize(1 + 5 * 16, 0);
    Receive(list);
    Sent();

    Push(7);
    ASSERT_TRUE(UntilState(12, CWidget::kOpen));
    auto face = [&](int id) { return dynamic_cast<CFaceButtonBase*>(Win(12)->FindChild(id)); };
    EXPECT_STREQ(face(20)->GetName(), "Leader");
    EXPECT_EQ(face(20)->GetFaceIndex(), 4);
    EXPECT_STREQ(face(21)->GetName(), kMe);
    EXPECT_EQ(face(21)->GetFaceIndex(), 2);
    EXPECT_STREQ(face(22)->GetName(), "ABCDEFGHIJKL");
    EXPECT_EQ(face(22)->GetFaceIndex(), 8);
    for (int id = 23; id <= 25; ++id) {
        EXPECT_STREQ(face(id)->GetName(), "");
        EXPECT_EQ(face(id)->GetFaceIndex(), -1);
    }

    // The bars on the screen: the weak leader's level bar is 1 pixel, the
    // strong member's 44; an empty slot has none.
    UiFrames();
    const CPoint at = *Win(12)->GetPos();
    auto bar = [&](int slotX, int slotY, int dy) {
        int n = 0;
        for (int x = 0; x < 60; ++x)
            n += Pixel(at.x + slotX + 107 + x, at.y + slotY + dy) == CGroupWin::kBarColour ? 1 : 0;
        return n;
    };
    const CharacterRecord* leader = CGroupWin::MemberRecord(0);
    const CharacterRecord* strong = CGroupWin::MemberRecord(2);
    ASSERT_TRUE(leader && strong);
    EXPECT_EQ(bar(23, 33, 9), 1);
    EXPECT_EQ(bar(360, 33, 9), 44);
    EXPECT_EQ(bar(360, 33, 53), CGroupWin::BarWidths(*strong)[1]);
    EXPECT_EQ(bar(23, 151, 9), 0);

    // A line typed here goes to the group; a slash command runs instead.
    CWidget* group = Win(12);
    std::strcpy(group->GetText(), "hi");
    group->SubmitText();
    EXPECT_EQ(Sent(), ChatPacket(3, "hi"));
    std::strcpy(group->GetText(), "/who Kim");
    group->SubmitText();
    EXPECT_EQ(Sent(), ChatCommand(2, PersonRecord("Kim")));
    // Group chat shows here, other chat is left to the next window.
    EXPECT_EQ(ui.RouteChatMessage(reinterpret_cast<const char*>(Received(30, "Leader", 3, "go").data() + 1)), 1);
    EXPECT_NE(std::string(dynamic_cast<CWidgetWindow*>(group)->GetLines()[1]).find("go"), std::string::npos);
    EXPECT_EQ(group->OnChatMessage(Received(30, "Leader", 0, "all").data() + 1, 20), 0);
}

TEST_F(ProfileWindows, TheHairColourWindowPicksASwatchForTheApplyCommand)
{
    Push(116);
    ASSERT_TRUE(UntilState(87, CWidget::kOpen));
    auto* hair = dynamic_cast<CHairColorWin*>(Win(87));
    ASSERT_NE(hair, nullptr);
    EXPECT_EQ(ui.m_pendingHairColor, -1);
    EXPECT_EQ(hair->GetSelected(), 0);
    struct Row {
        int x, y, colour;
    } rows[] = {{346, 169, 0}, {369, 194, 0}, {381, 180, 1}, {430, 170, 2}, {473, 194, 3},
                {350, 216, 4}, {400, 244, 5}, {437, 230, 6}, {460, 220, 7}};
    for (const Row& r : rows) {
        EXPECT_EQ(hair->OnLButtonDown(r.x, r.y), 1);
        EXPECT_EQ(hair->GetSelected(), r.colour) << r.x << "," << r.y;
        EXPECT_EQ(ui.m_pendingHairColor, r.colour);
    }
    // Between swatches: taken, the colour kept; outside the window: not taken.
    hair->OnLButtonDown(381, 169);
    EXPECT_EQ(hair->OnLButtonDown(375, 200), 1);
    EXPECT_EQ(ui.m_pendingHairColor, 1);
    EXPECT_EQ(hair->OnLButtonDown(100, 100), 0);

    // OK applies it to the appearance word, sends field 23 and closes.
    me->GetCharRecord().SetU32(CharacterRecord::kLook, 0x7);
    Push(117);
    EXPECT_EQ(me->GetCharRecord().U32(CharacterRecord::kLook), (1u << 3) | 0x6);
    EXPECT_EQ(Sent(), (Bytes{53, 23, 0x0E, 0, 0, 0}));
    EXPECT_EQ(ui.m_pendingHairColor, -1);
    ASSERT_TRUE(UntilState(87, CWidget::kClosed));
    // Opening again starts from WHITE with nothing pending.
    hair->OnLButtonDown(460, 220);
    Push(116);
    EXPECT_EQ(hair->GetSelected(), 0);
    EXPECT_EQ(ui.m_pendingHairColor, -1);
}

// "Profile.sav" as it may be found: each line whole, at most 29 bytes kept
// on a character boundary, a CR before the LF dropped, missing lines empty.
TEST(ProfileSav, DamagedFilesGiveWholeShortLines)
{
    const std::string k29(29, 'k');
    const std::string hangul = std::string(27, 'a') + "\xB0\xA1" + "zz";  // a character at bytes 27..28
    const std::string split = std::string(28, 'a') + "\xB0\xA1";          // at 28..29: cut before it
    struct Row {
        const char* what;
        std::string file;
        std::string l1, l2, l3;
    } rows[] = {
        {"empty", "", "", "", ""},
        {"three lines", "one\ntwo\nthree\n", "one", "two", "three"},
        {"CRLF", "one\r\ntwo\r\n", "one", "two", ""},
        {"one line, no LF", "only", "only", "", ""},
        {"a 40-byte line is cut, the next file line is line 2",
         std::string(40, 'x') + "\nsecond\n", std::string(29, 'x'), "second", ""},
        {"29 bytes kept whole", k29 + "\n", k29, "", ""},
        {"a character that fits", hangul + "\n", hangul.substr(0, 29), "", ""},
        {"a character that does not", split + "\n", std::string(28, 'a'), "", ""},
        {"a NUL ends a line", std::string("ab\0cd\nef\n", 9), "ab", "ef", ""},
        {"lone CR and a lone lead byte", "\r\n\xB0\n", "", "", ""},
        {"more than three lines", "1\n2\n3\n4\n", "1", "2", "3"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ProfileRecord rec;
        std::memset(rec.lines, 'Q', sizeof rec.lines);
        rec.ParseLines(reinterpret_cast<const uint8_t*>(r.file.data()), r.file.size());
        EXPECT_EQ(rec.lines[0], r.l1);
        EXPECT_EQ(rec.lines[1], r.l2);
        EXPECT_EQ(rec.lines[2], r.l3);
        for (const auto& line : rec.lines)
            EXPECT_LT(strnlen(line, sizeof line), ProfileRecord::kLineSize);
    }
}

TEST(ProfileSav, TheWorkingDirectoryFileIsReadNeverWrittenAndOnlyMyOwnIsSaved)
{
    CTempDir data, work;
    plat::SetDataDir(data.Path());
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(work.Path().c_str()), 0);
    g_myId = 5;
    WriteAll(work.File("Profile.sav"), "old one\nold two\n");

    ProfileRecord rec;
    rec.LoadProfile();
    EXPECT_EQ(rec.charId, 5u);
    EXPECT_STREQ(rec.lines[0], "old one");
    EXPECT_STREQ(rec.lines[1], "old two");
    std::strcpy(rec.lines[2], "new three");
    EXPECT_TRUE(rec.SaveProfile());
    EXPECT_EQ(ReadAll(data.File("Profile.sav")), "old one\nold two\nnew three\n");
    EXPECT_EQ(ReadAll(work.File("Profile.sav")), "old one\nold two\n");
    // The per-user file wins from now on.
    ProfileRecord again;
    again.LoadProfile();
    EXPECT_STREQ(again.lines[2], "new three");
    // Another character's record writes nothing.
    again.charId = 6;
    std::strcpy(again.lines[0], "not mine");
    EXPECT_FALSE(again.SaveProfile());
    EXPECT_EQ(ReadAll(data.File("Profile.sav")), "old one\nold two\nnew three\n");

    ASSERT_EQ(chdir(cwd), 0);
    plat::SetDataDir("");
    g_myId = 0;
}

}  // namespace
