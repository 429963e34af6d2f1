// Typed lines through the chat window's Enter path to the scripted server:
// the slash commands (command 8) and chat (command 7) byte for byte, the
// refusals, the word filter, and the server's replies through the view's
// receive dispatcher into the chat window, the notices and the ring.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "app/GameData.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "rules/CalcData.h"
#include "social/ChatLine.h"
#include "social/ChatTestEnv.h"
#include "world/ObjLayer.h"

namespace {

Bytes Cat(std::initializer_list<Bytes> parts) { return Concat(parts); }
Bytes Text0(const std::string& s)
{
    Bytes b(s.begin(), s.end());
    b.push_back(0);
    return b;
}
std::string Notice(const std::string& text) { return "ShowNotice(\"" + text + "\", 200)"; }
std::string Ring(const std::string& text) { return "AddLine(\"" + text + "\")"; }

const std::string kNoAuthority = Notice("권한이 없습니다.");

struct TypedRow {
    const char* what;
    bool gm;
    std::vector<std::string> lines;  // CP949, typed in turn
    Bytes sent;
    std::vector<std::string> shown;
    std::string target = "";
};

class ChatLineTyped : public ChatTest {};

TEST_F(ChatLineTyped, SlashCommandsSendTheirBytesOrRefuse)
{
    const TypedRow rows[] = {
        {"who, two names, any case", false, {"/WHO Kim Lee"}, ChatCommand(2, Cat({PersonRecord("Kim"), PersonRecord("Lee")})), {}},
        {"who alone", false, {"  /who"}, ChatCommand(2), {}},
        {"Korean who", false, {"/누구 Kim"}, ChatCommand(2, PersonRecord("Kim")), {}},
        {"Korean where, a Korean name in CP949", false, {"/어디 김철수"}, ChatCommand(3, PersonRecord("김철수")), {}},
        {"where", false, {"/where  Kim   Lee  "}, ChatCommand(3, Cat({PersonRecord("Kim"), PersonRecord("Lee")})), {}},
        {"a long name is cut and never spills", false, {"/who abcdefghijklmnop Lee"},
         ChatCommand(2, Cat({PersonRecord("abcdefghijk"), PersonRecord("Lee")})), {}},
        {"a long Korean name is cut on a character", false, {"/who 가나다라마바사"}, ChatCommand(2, PersonRecord("가나다라마")), {}},
        {"an unknown word is swallowed", false, {"/wallpaper hi"}, {}, {}},
        {"wall without the flag", false, {"/wall hi all"}, {}, {kNoAuthority}},
        {"wall: the typed text goes out as it stands", true, {"/wall 점검 합니다"}, ChatCommand(1, Text0(Johab(" 점검 합니다"))),
         {}},
        {"deluser takes one name", true, {"/deluser Kim Lee"}, ChatCommand(4, PersonRecord("Kim")), {}},
        {"delghost", true, {"/DELGHOST Kim"}, ChatCommand(5, PersonRecord("Kim")), {}},
        {"deluser without the flag", false, {"/deluser Kim"}, {}, {kNoAuthority}},
        {"pk without the flag", false, {"/pk Kim"}, {}, {kNoAuthority}},
        {"pk remembers the last name", true, {"/pk Kim Lee"}, ChatCommand(8, Cat({PersonRecord("Kim"), PersonRecord("Lee")})), {}, "Lee"},
        {"unpk", true, {"/unpk Kim"}, ChatCommand(9, PersonRecord("Kim")), {}, "Kim"},
        {"unpk without the flag", false, {"/unpk Kim"}, {}, {kNoAuthority}},
        {"refuse remembers the first name", false, {"/거부 Kim Lee"}, ChatCommand(10, Cat({PersonRecord("Kim"), PersonRecord("Lee")})), {}, "Kim"},
        {"allow", false, {"/허용 김철"}, ChatCommand(11, PersonRecord("김철")), {}, "김철"},
        {"refused list", false, {"/거부자 whatever"}, ChatCommand(12), {}},
        {"teleport with four words", true, {"/이동 Kim 3 100 200"}, ChatCommand(7, PersonRecord("Kim", 3, 100, 200)), {}, "Kim"},
        {"teleport split at commas", true, {"/이동 Kim,3,100,300"}, ChatCommand(7, PersonRecord("Kim", 3, 100, 300)), {}, "Kim"},
        {"teleport with three words", true, {"/이동 Kim 3 100"}, {}, {}},
        {"teleport with five words", true, {"/이동 Kim 3 100 200 9"}, {}, {}},
        {"teleport without the flag", false, {"/이동 Kim 3 100 200"}, {}, {kNoAuthority}},
        {"delsimulx is delsimul: nothing armed, nothing sent", false, {"/delsimulx"}, {}, {}},
    };
    for (const TypedRow& row : rows) {
        SCOPED_TRACE(row.what);
        g_gmFlag = row.gm ? 1 : 0;
        g_chatLine.Reset();
        for (const std::string& line : row.lines)
            Type(line);
        EXPECT_EQ(Sent(), row.sent);
        EXPECT_EQ(Shown(), row.shown);
        EXPECT_EQ(std::string(g_chatLine.GetTargetName()), row.target);
        EXPECT_EQ(Chat().GetText()[0], '\0') << "the input is emptied";
    }
}

TEST_F(ChatLineTyped, PasswordAndRescueActLocally)
{
    g_commandRing.Reset();
    Type("/암호");
    EXPECT_EQ(g_commandRing.Pop(), 111u);
    // Rescue: only in battle, and not from a battle's participant.
    Mark();
    Type("/구조 Kim");
    EXPECT_EQ(Added(), (std::vector<std::string>{"필드 모드에서는 구조신호가 불가능합니다."}));
    Layer().m_inBattle = 1;
    Layer().m_opponents[3].key = 9;
    Layer().m_opponents[3].second[5] = CCreatureBed::kMyId;
    Mark();
    Type("/구조 Kim");
    EXPECT_EQ(Added(), (std::vector<std::string>{"구조 요청할 권한이 없습니다."}));
    EXPECT_EQ(Sent(), Bytes{});
    Layer().m_opponents[3].key = 0;
    Type("/구조 Kim Lee");
    EXPECT_EQ(Sent(), ChatCommand(6, PersonRecord("Kim")));
    EXPECT_STREQ(g_chatLine.GetTargetName(), "Kim");
}

TEST_F(ChatLineTyped, TheColonyResetNeedsTheDirectPairInTheField)
{
    Type("/siminit");
    EXPECT_EQ(Shown(), (std::vector<std::string>{Notice("정말로 초기화하시려면 '/delsimul'을 치십시오")}));
    Type("hello");
    Type("/delsimul");
    Shown();
    EXPECT_EQ(Sent(), ChatPacket(0, "hello")) << "another line between: no reset";

    Type("/siminit");
    Type("/delsimul");
    const Bytes reset = Sent();
    ASSERT_FALSE(reset.empty());
    EXPECT_EQ(reset[0], 100) << "the colony's reset reports its state";
    Shown();
    Type("/delsimul");
    EXPECT_EQ(Sent(), Bytes{}) << "used up";

    g_colonyMode = 1;
    Type("/siminit");
    EXPECT_EQ(Shown(), (std::vector<std::string>{Notice("필드에서만 초기화가 가능합니다.")}));
    Type("/delsimul");
    EXPECT_EQ(Sent(), Bytes{});
}

TEST_F(ChatLineTyped, MoneyTransferRefusesAnyRecordThatIsMine)
{
    g_chatLine.SendMoneyTransfer(Johab("Kim Arin Lee").c_str(), 500);
    EXPECT_EQ(Sent(), Bytes{});
    EXPECT_EQ(Shown(), (std::vector<std::string>{Ring(GetGameString(159))}));
    EXPECT_STREQ(g_chatLine.GetTargetName(), "");

    g_chatLine.SendMoneyTransfer(Johab("Kim 박서").c_str(), 500);
    EXPECT_EQ(Sent(), ChatCommand(13, Cat({PersonRecord("Kim", 0, 0, 0, 500), PersonRecord("박서", 0, 0, 0, 500)})));
    EXPECT_STREQ(g_chatLine.GetTargetName(), "박서");
    EXPECT_EQ(g_chatLine.GetTransferAmount(), 500u);
}

// ---- chat lines -------------------------------------------------------------------

struct ChatRow {
    const char* what;
    std::string line;  // CP949
    bool english;
    std::string whisperer;
    bool inBattle;
    Bytes sent;
    std::vector<std::string> shown;
};

TEST_F(ChatLineTyped, ChatLinesGoOutInTheirModes)
{
    const std::string hello = Johab("안녕 친구");
    const ChatRow rows[] = {
        {"normal, blanks trimmed", "   hi there  ", false, "", false, ChatPacket(0, "hi there"), {}},
        {"Korean chat goes out in Johab", "안녕 친구", false, "", false, ChatPacket(0, hello), {}},
        {"two bytes are sent", "ab", false, "", false, ChatPacket(0, "ab"), {}},
        {"one byte is not", "a", false, "", false, {}, {}},
        {"one byte between blanks is not", "   a   ", false, "", false, {}, {}},
        {"blanks are not", "     ", false, "", false, {}, {}},
        {"whisper with !", "!Bram see you", false, "", false, ChatPacket(1, "Bram see you"), {}},
        {"whisper to a Korean name: the name in CP949", "!김철 안녕 친구", false, "", false,
         ChatPacket(1, "김철 " + hello), {}},
        {"whisper with the Korean suffix", "Bram see you 대화", false, "", false, ChatPacket(1, "Bram see you"), {}},
        {"the English suffix under the English locale", "Bram see you dialog", true, "", false,
         ChatPacket(1, "Bram see you"), {}},
        {"the English suffix is plain chat in Korean", "Bram see you dialog", false, "", false,
         ChatPacket(0, "Bram see you dialog"), {}},
        {"!! to the last whisperer", "!!thanks", false, "Cole", false, ChatPacket(1, "Cole thanks"), {}},
        {"!! keeps a Korean whisperer's CP949 name", "!!thanks", false, "김철", false, ChatPacket(1, "김철 thanks"), {}},
        {"!! with nobody to answer", "!!thanks", false, "", false, {}, {Notice("귓속말을 보낼 사람이 없습니다.")}},
        {"group", "@all here", false, "", false, ChatPacket(3, "all here"), {}},
        {"apostrophe mode", "shout it '", false, "", false, ChatPacket(2, "shout it"), {}},
        {"apostrophe mode in battle is normal", "shout it '", false, "", true, ChatPacket(0, "shout it"), {}},
        {"an apostrophe without the blank is text", "it's'", false, "", false, ChatPacket(0, "it's'"), {}},
    };
    for (const ChatRow& row : rows) {
        SCOPED_TRACE(row.what);
        English(row.english);
        g_lastWhisperer.fill(0);
        std::copy(row.whisperer.begin(), row.whisperer.end(), g_lastWhisperer.begin());
        Layer().m_inBattle = row.inBattle ? 1 : 0;
        Layer().m_battleNumber = row.inBattle ? 4 : 0;
        Type(row.line);
        EXPECT_EQ(Sent(), row.sent);
        EXPECT_EQ(Shown(), row.shown);
    }
}

TEST_F(ChatLineTyped, TheWhisperTextNeverRunsPastTheLine)
{
    // The last whisperer fills its 11 bytes; the typed text fills the input.
    const std::string name = "abcdefghijk";
    std::copy(name.begin(), name.end(), g_lastWhisperer.begin());
    Chat().SetMaxLen(CWidgetWindow::kInputSize);
    Type("!!" + std::string(250, 'x'));
    const Bytes sent = Sent();
    ASSERT_EQ(sent.size(), 18u + 256u);
    EXPECT_EQ(sent[16] | sent[17] << 8, 256);
    EXPECT_EQ(std::string(sent.begin() + 18, sent.begin() + 30), name + " ");
    EXPECT_EQ(sent.back(), 0);
}

TEST_F(ChatLineTyped, AListedWordCostsATenthOfTheHpAndIsNotSent)
{
    auto set = [](int i, const char* w) { std::strncpy(g_insultWords[static_cast<size_t>(i)].data(), w, 11); };
    set(0, "ab");  // two ASCII letters never match
    set(5, "바보");
    set(6, "fool");
    const int maxHp = CalcMaxHp(Layer().MyRecord());
    ASSERT_GE(maxHp, 40);
    const int penalty = maxHp / 10;
    struct Row {
        const char* what;
        std::string line;
        int hp, hpAfter;
        bool sent;
    };
    const Row rows[] = {
        {"ASCII word across blanks", "you f o o l!", maxHp, maxHp - penalty, false},
        {"Korean word across a blank", "이 바 보야", 30, 30 - penalty, false},
        {"never below 3", "FOOL fool", penalty, 3, false},
        {"never healed to 3", "fool", 2, 2, false},
        {"two letters never match", "ab ab ab", 30, 30, true},
        {"case counts", "FOOL", 30, 30, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Layer().MyRecord().SetU32(CharacterRecord::kHp, static_cast<uint32_t>(row.hp));
        Type(row.line);
        const Bytes sent = Sent();
        EXPECT_EQ(!sent.empty(), row.sent);
        EXPECT_EQ(Layer().MyRecord().I32(CharacterRecord::kHp), row.hpAfter);
        EXPECT_EQ(Shown(), row.sent ? std::vector<std::string>{} : std::vector<std::string>{Ring(GetGameString(153))});
    }
    // In battle the new HP is reported: sub 7 with id, HP, MP, constitution, wisdom.
    Layer().m_inBattle = 1;
    Layer().m_battleNumber = 0x0203;
    CharacterRecord& rec = Layer().MyRecord();
    rec.SetU32(CharacterRecord::kHp, 30);
    rec.SetU32(CharacterRecord::kMp, 11);
    rec.SetU32(CharacterRecord::kConstitution, 12);
    rec.SetU32(CharacterRecord::kWisdom, 13);
    const int battlePenalty = CalcMaxHp(rec) / 10;
    ASSERT_LT(battlePenalty, 27);
    Type("fool");
    Bytes status{30, 0, 3, 2, 7, 10, 0, CCreatureBed::kMyId, 0};
    PutU16(status, static_cast<uint16_t>(30 - battlePenalty));
    status.insert(status.end(), {11, 0, 12, 0, 13, 0});
    EXPECT_EQ(Sent(), status);
}

// ---- replies ----------------------------------------------------------------------

struct ReplyRow {
    const char* what;
    std::function<void()> before;
    Bytes reply;
    std::vector<std::string> lines;  // added to the chat window, oldest first
    std::vector<std::string> shown;
    std::function<void()> check;
};

class ChatLineReplies : public ChatTest {};

TEST_F(ChatLineReplies, EveryReplyMakesItsLineAndItsChange)
{
    CObjLayer& layer = Layer();
    auto target = [](const char* line) { return [line] { g_chatLine.ParseCommand(Johab(line).c_str()); }; };
    auto nothing = [] {};
    auto gm = [] { g_gmFlag = 1; };
    std::vector<ReplyRow> rows = {
        {"who: the count", nothing, ChatReply(2, 12), {"현재 12명이 Tolmar에 들어와 있습니다."}, {}, nothing},
        {"who: one line a record", nothing,
         ChatReply(2, 0, Cat({PersonRecord("Kim", 1), PersonRecord("Lee", 0), Bytes(20, 'x')})),
         {"Kim님은 Tolmar을 여행 중입니다.", "Lee님은 Tolmar에 들어오지 않았습니다."}, {}, nothing},
        {"where: my region", nothing, ChatReply(3, 3), {"당신은 지금 유라시아 동부에 있습니다."}, {}, nothing},
        {"where: region, no position", nothing, ChatReply(3, 0, PersonRecord("Kim", 2, 0xFFFF)),
         {"Kim님은 지금 유라시아 서부에 있습니다."}, {}, nothing},
        {"where: a region past the table is Nothing", nothing, ChatReply(3, 0, PersonRecord("Kim", 9, 5, 6)),
         {"Kim님은 지금 Nothing에 있습니다. (5 / 6)"}, {}, nothing},
        {"where: the prison", nothing, ChatReply(3, 0, PersonRecord("Kim", 3, 0, 0, 1)),
         {"Kim님은 지금 감옥에 있습니다."}, {}, nothing},
        {"where: the area", nothing, ChatReply(3, 0, PersonRecord("Kim", 6, 10, 20, 4)),
         {"Kim님은 지금 아비도스에 있습니다. (10 / 20) #4"}, {}, nothing},
        {"where: not in the world", nothing, ChatReply(3, 0, PersonRecord("Kim", 0, 1, 1, 1)),
         {"Kim님은 Tolmar에 들어오지 않았습니다."}, {}, nothing},
        {"where: an unterminated name is cut at 11", nothing, ChatReply(3, 0, PersonRecord("abcdefghijkl", 5, 0xFFFF)),
         {"abcdefghijk님은 지금 쿠스코에 있습니다."}, {}, nothing},
        {"deluser done", nothing, ChatReply(4, 1), {"/deluser 성공"}, {}, nothing},
        {"deluser failed", nothing, ChatReply(4, 0), {"/deluser 실패"}, {}, nothing},
        {"delghost done", nothing, ChatReply(5, 1), {"/delghost 성공"}, {}, nothing},
        {"delghost failed", nothing, ChatReply(5, 0), {"/delghost 실패"}, {}, nothing},
        {"someone asks me for rescue", nothing, ChatReply(6, 1001, PersonRecord("Kim", 2, 10, 20, 77)),
         {"Kim님이 지금 당신에게 구조요청을 보내왔습니다. 유라시아 서부 (10 / 20) #77"}, {},
         [] {
             EXPECT_EQ(g_rescueBattle, 77u);
             EXPECT_EQ(g_rescuerId, CCreatureBed::kMyId);
         }},
        {"my rescue call went out", [&] { layer.m_inBattle = 1; g_chatLine.ParseCommand(Johab("/구조 Kim").c_str()); },
         ChatReply(6, 40), {"Kim님에게 구조요청을 보냈습니다."}, {},
         [&] {
             EXPECT_EQ(g_rescuerId, 40);
             layer.m_inBattle = 0;
         }},
        {"rescue: absent", [&] { layer.m_inBattle = 1; g_chatLine.ParseCommand(Johab("/구조 Kim").c_str()); },
         ChatReply(6, 0), {"Kim님은 Tolmar에 들어오지 않았습니다."}, {}, [&] { layer.m_inBattle = 0; }},
        {"teleported by the managers", nothing, ChatReply(7, 99, PersonRecord("", 3, 10, 20)),
         {"운영자에 의해서 순간이동 되었습니다."}, {},
         [&] {
             EXPECT_EQ(layer.StageChange().GetStage(), 2);
             EXPECT_EQ(layer.StageChange().GetX(), 10);
             EXPECT_EQ(layer.StageChange().GetY(), 20);
             layer.StageChange().Finish();
         }},
        {"teleport to region 0 moves nobody", nothing, ChatReply(7, 99, PersonRecord("", 0, 10, 20)),
         {"운영자에 의해서 순간이동 되었습니다."}, {},
         [&] { EXPECT_EQ(layer.StageChange().GetState(), CStageChange::kIdle); }},
        {"teleport to a stage that does not exist", nothing, ChatReply(7, 99, PersonRecord("", 8, 10, 20)),
         {"운영자에 의해서 순간이동 되었습니다."}, {},
         [&] { EXPECT_EQ(layer.StageChange().GetState(), CStageChange::kIdle); }},
        {"teleport done", [&] { gm(); target("/이동 Kim 1 2 3")(); }, ChatReply(7, 1), {"Kim님을 순간이동 하였습니다."}, {},
         [] { EXPECT_STREQ(g_chatLine.GetTargetName(), ""); }},
        {"made wanted", nothing, ChatReply(8, 99), {"운영자에 의해서 현상범이 되었습니다."}, {},
         [&] {
             EXPECT_EQ(layer.MyRecord().I16(CharacterRecord::kWanted), 3);
             EXPECT_EQ(me->GetCharRecord().I16(CharacterRecord::kWanted), 3);
         }},
        {"pk done", [&] { gm(); target("/pk Kim Lee")(); }, ChatReply(8, 1), {"Lee님을 현상수배 했습니다."}, {}, nothing},
        {"pk: absent", [&] { gm(); target("/pk Kim")(); }, ChatReply(8, 0), {"Kim님은 Tolmar에 들어오지 않았습니다."}, {},
         nothing},
        {"released from jail", [&] { layer.m_jailStartTime = 500; layer.m_wantedStartTime = 9; g_inJail = 1; },
         ChatReply(9, 99), {"운영자에 의해서 수배가 해제되었습니다."}, {},
         [&] {
             EXPECT_EQ(layer.m_jailStartTime, 0);
             EXPECT_EQ(layer.m_wantedStartTime, 0);
             EXPECT_EQ(g_inJail, 0u);
             EXPECT_EQ(layer.MyRecord().I16(CharacterRecord::kWanted), 0);
             EXPECT_EQ(layer.StageChange().GetStage(), 0);
             EXPECT_EQ(layer.StageChange().GetX(), 175);
             EXPECT_EQ(layer.StageChange().GetY(), 298);
             layer.StageChange().Finish();
         }},
        {"unpk done", [&] { gm(); target("/unpk Kim")(); }, ChatReply(9, 1), {"Kim님을 수배 해제했습니다."}, {}, nothing},
        {"someone refuses my whispers", nothing, ChatReply(10, 99, PersonRecord("Kim")),
         {"Kim님이 당신의 귓말을 거부하였습니다."}, {}, nothing},
        {"refuse done", target("/거부 Kim"), ChatReply(10, 1), {"당신은 이제 Kim님의 귓속말을 듣지 않습니다."}, {}, nothing},
        {"refuse: listed", target("/거부 Kim"), ChatReply(10, 2), {"Kim님은 귓속말 거부자 명단에 있습니다."}, {}, nothing},
        {"refuse: full", target("/거부 Kim"), ChatReply(10, 3), {"귀속말 거부자 수가 초과되었습니다."}, {},
         [] { EXPECT_STREQ(g_chatLine.GetTargetName(), ""); }},
        {"refuse: unknown value adds nothing", target("/거부 Kim"), ChatReply(10, 7), {}, {},
         [] { EXPECT_STREQ(g_chatLine.GetTargetName(), "Kim"); }},
        {"someone allows my whispers", nothing, ChatReply(11, 99, PersonRecord("Kim")),
         {"당신은 이제부터 Kim님의 귓속말을 듣습니다."}, {}, nothing},
        {"allow done", target("/허용 Kim"), ChatReply(11, 1), {"당신은 이제부터 Kim님의 귓속말을 듣습니다."}, {}, nothing},
        {"allow: not refused", target("/허용 Kim"), ChatReply(11, 2), {"Kim는 설정되지 않는 ID입니다."}, {}, nothing},
        {"refused list: five of seven names, cut at 11", nothing,
         ChatReply(12, 1, Cat({Bytes{'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, Bytes(12, 'b'), Bytes{'c', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                               Bytes{'d', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, Bytes{'e', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                               Bytes(12, 'f'), Bytes(12, 'g')})),
         {"귓속말 거부자 : a bbbbbbbbbbb c d e "}, {}, nothing},
        {"refused list: none", nothing, ChatReply(12, 0), {"귓속말 거부자가 없습니다."}, {}, nothing},
        {"a wall on the notice line, shown as it came", nothing, ChatReply(1, 0, Text0(Johab(" 점검 합니다"))), {},
         {"ShowJohabNotice(\"" + Johab(" 점검 합니다") + "\", 200)"}, nothing},
        {"an unknown sub-code is read and dropped", nothing, ChatReply(14, 1, Bytes(30, 'z')), {}, {}, nothing},
        {"money received", [&] { layer.MyRecord().SetU32(CharacterRecord::kMoney, 1000); },
         ChatReply(13, 99, PersonRecord("Kim", 0, 0, 0, 300)), {}, {Ring("Kim님이 300 Juno를 보내왔습니다.")},
         [&] { EXPECT_EQ(layer.MyRecord().I32(CharacterRecord::kMoney), 1300); }},
        {"money sent", [&] {
             layer.MyRecord().SetU32(CharacterRecord::kMoney, 1000);
             g_chatLine.SendMoneyTransfer("Bram", 200);
         },
         ChatReply(13, 1), {}, {Ring("Bram님에게 200 Juno를 보냈습니다.")},
         [&] {
             EXPECT_EQ(layer.MyRecord().I32(CharacterRecord::kMoney), 800);
             EXPECT_STREQ(g_chatLine.GetTargetName(), "");
         }},
        {"money: recipient absent", [] { g_chatLine.SendMoneyTransfer("Bram", 200); }, ChatReply(13, 0), {},
         {Ring("Bram님은 Tolmar에 없습니다.")}, nothing},
    };
    for (const ReplyRow& row : rows) {
        SCOPED_TRACE(row.what);
        g_chatLine.Reset();
        row.before();
        Sent();
        Shown();
        Mark();
        Receive(row.reply);
        EXPECT_EQ(src.Available(), 0u);
        EXPECT_EQ(Added(), row.lines);
        EXPECT_EQ(Shown(), row.shown);
        row.check();
        g_gmFlag = 0;
    }
}

TEST_F(ChatLineReplies, ALongReplyIsReadWholeAndOnlyWholeRecordsCount)
{
    // 34 records announced: 32 kept (675 bytes), the rest read and dropped;
    // the next command is read in step.
    Bytes payload;
    for (int i = 0; i < 34; ++i)
        payload = Cat({payload, PersonRecord("p" + std::to_string(i), 1)});
    Mark();
    Receive(Cat({ChatReply(2, 0, payload), ChatReply(2, 5)}));
    EXPECT_EQ(src.Available(), 0u);
    const std::vector<std::string> lines = Added();
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[31], "p31님은 Tolmar을 여행 중입니다.");
    EXPECT_EQ(lines[32], "현재 5명이 Tolmar에 들어와 있습니다.");
}

TEST_F(ChatLineReplies, EnglishTextsFollowTheLanguage)
{
    English(true);
    Mark();
    Receive(Cat({ChatReply(3, 0, PersonRecord("Kim", 4, 7, 8, 2)), ChatReply(12, 0), ChatReply(4, 1)}));
    EXPECT_EQ(Added(), (std::vector<std::string>{"Kim is now in Southen Eurasia (7 / 8) #2",
                                                 "there are no whisper rejectors", "/deluser succeeded"}));
}

}  // namespace
