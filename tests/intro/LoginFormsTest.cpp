// The log-in, registration and character forms in the whole client: typed
// text, the packets they send and the replies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/TextLayer.h"
#include "intro/IntroLayer.h"
#include "support/FakeServer.h"
#include "support/Harness.h"
#include "support/SentPackets.h"

namespace {

constexpr uint8_t kTab = 15;
constexpr uint8_t kEnter = 28;

class LoginForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        server = &h.Server();
        ASSERT_TRUE(h.Start());
        ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1; }, 100));
        intro = g_pView->m_pIntroLayer;
        NextFrame();
        ASSERT_EQ(intro->m_sceneState, kSceneLogin);
        TakeSentPackets();
    }
    void NextFrame()
    {
        const uint32_t n = g_gameFrameCount;
        ASSERT_TRUE(h.RunUntil([&] { return g_gameFrameCount > n; }, 1000));
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            NextFrame();
    }
    void Key(uint8_t scan)
    {
        h.KeyDown(scan);
        NextFrame();
        h.KeyUp(scan);
        NextFrame();
    }
    // Typed characters; latin switches the edit line out of Hangul input.
    void Type(const char* text, bool latin = true)
    {
        if (latin && g_pTextLayer->IsHangulMode())
            g_pTextLayer->RequestModeSwitch();
        for (const char* p = text; *p; ++p)
            g_pView->OnChar(static_cast<uint8_t>(*p), 1, 0);
        NextFrame();
    }
    void Click(int x, int y)
    {
        h.MouseDown(1, x, y);
        NextFrame();
        h.MouseUp(1, x, y);
        NextFrame();
    }
    // Server bytes, handled by the client.
    void Serve(const Bytes& bytes)
    {
        server->Send(bytes);
        Frames(3);
    }
    static Bytes LoginAccepted(int level, std::initializer_list<std::pair<int, const char*>> slots = {})
    {
        AccountRecord rec;
        rec.SetI16(AccountRecord::kLevel, level);
        for (const auto& [slot, name] : slots)
            rec.SetSlot(slot, slot - 1, name, 5);
        Bytes b = {120, 5, 0};
        b.insert(b.end(), rec.bytes.begin(), rec.bytes.end());
        return b;
    }
    std::string LastBox() const { return h.Boxes().empty() ? "" : h.Boxes().back().text; }

    CHarness h{5000};
    CFakeServer* server = nullptr;
    CIntroLayer* intro = nullptr;
};

SentPacket Login(const std::string& id, const std::string& pw)
{
    SentPacket p = {120};
    for (size_t i = 0; i < 12; ++i)
        p.push_back(i < id.size() ? static_cast<uint8_t>(id[i]) : 0);
    for (size_t i = 0; i < 10; ++i)
        p.push_back(i < pw.size() ? static_cast<uint8_t>(pw[i]) : 0);
    return p;
}

TEST_F(LoginForms, TypedIdAndPasswordAreSentAndTheEditLineKeepsTheirLimits)
{
    Type("abcdefghijk");  // the eleventh byte does not fit
    EXPECT_STREQ(intro->GetLoginField(1), "abcdefghij");
    Key(kTab);
    Type("123456789");
    EXPECT_STREQ(intro->GetLoginField(2), "12345678");
    Key(kEnter);
    EXPECT_EQ(TakeSentPackets(), std::vector<SentPacket>{Login("abcdefghij", "12345678")});
    EXPECT_EQ(g_requestPending, 1);
    EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(LoginForms, FocusEmptiesTheFieldAndAPressReleasedOutsideStillActs)
{
    Type("someone");
    Key(kTab);
    Key(kTab);  // back to the ID: emptied
    EXPECT_STREQ(intro->GetLoginField(1), "");
    h.MouseDown(1, 490, 480);  // OK
    NextFrame();
    h.MouseUp(1, 10, 10);
    Frames(2);
    EXPECT_EQ(LastBox(), "모든 내용을 빠짐없이 입력하십시요");
    EXPECT_TRUE(TakeSentPackets().empty());
}

TEST_F(LoginForms, PendingEnterWaitsForTheRefusalThenSends)
{
    Type("me");
    Key(kTab);
    Type("pw");
    Key(kEnter);
    ASSERT_EQ(TakeSentPackets().size(), 1u);
    Key(kEnter);  // still pending: kept, retried every frame
    Frames(5);
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(intro->GetLoginAction(), 2);
    server->Send({120, 2, 0});
    ASSERT_TRUE(h.RunUntil([&] { return !h.Boxes().empty(); }, 2000));
    EXPECT_EQ(LastBox(), "Password가 틀립니다.");
    Frames(2);
    EXPECT_EQ(TakeSentPackets(), std::vector<SentPacket>{Login("me", "pw")});
}

TEST_F(LoginForms, AcceptedLoginSetsTheGmFlagFromLevelSeventy)
{
    for (int level : {69, 70}) {
        intro->OnLoginReply(1, 0);
        EXPECT_EQ(LastBox(), "없는 사용자 ID입니다.");
        g_loginRecord.SetI16(AccountRecord::kLevel, level);
        intro->OnLoginReply(6, 0);
        EXPECT_EQ(g_gmFlag, level >= 70 ? 1u : 0u) << level;
    }
    intro->OnLoginReply(8, 0);
    EXPECT_EQ(LastBox(), "로그인 할 수 없습니다.");
    Serve(LoginAccepted(3));
    EXPECT_EQ(g_gmFlag, 0u);
    EXPECT_EQ(intro->m_sceneState, kSceneCharacter);
}

TEST_F(LoginForms, RegistrationSendsTheRecordAndReturnsToTheLogin)
{
    Click(560, 340);  // new ID
    Frames(2);
    ASSERT_EQ(intro->m_sceneState, kSceneRegister);
    const char* texts[9] = {"newid", "pw12", "pw12", "one", "19990101", "99010112345678", "two", "three", "four"};
    for (int i = 0; i < 9; ++i) {
        if (i > 0)
            Key(kTab);
        Type(texts[i]);
    }
    for (int i = 0; i < 9; ++i)
        EXPECT_STREQ(intro->GetRegisterField(i + 1), texts[i]) << i;
    Key(kEnter);
    auto sent = TakeSentPackets();
    ASSERT_EQ(sent.size(), 1u);
    ASSERT_EQ(sent[0].size(), 342u);
    EXPECT_EQ(sent[0][0], 121);
    auto at = [&](size_t off) { return std::string(reinterpret_cast<const char*>(sent[0].data() + 1 + off)); };
    EXPECT_EQ(at(4), "newid");
    EXPECT_EQ(at(33), "pw12");
    EXPECT_EQ(at(43), "99010112345678");
    EXPECT_EQ(at(58), "19990101");
    EXPECT_EQ(at(161), "four");
    Serve({121, 1});
    EXPECT_EQ(LastBox(), "이미 등록된 ID입니다");
    EXPECT_EQ(g_requestPending, 0);
    Serve({121, 0});
    EXPECT_EQ(LastBox(), "등록하셨습니다");
    Frames(2);
    EXPECT_EQ(intro->m_sceneState, kSceneLogin);
}

TEST_F(LoginForms, UnknownSlotKindAndUnterminatedNameAreNotPlayable)
{
    Bytes reply = LoginAccepted(1, {{2, "Celinne"}});
    // Slot 1: kind 9 and a name that fills its 12 bytes.
    reply[3 + AccountRecord::kSlotKinds] = 9;
    reply[3 + AccountRecord::kSlotLevels] = 4;
    std::memset(reply.data() + 3 + AccountRecord::kSlotNames, 'x', 12);
    Serve(reply);
    ASSERT_EQ(intro->m_sceneState, kSceneCharacter);
    Click(150, 440);  // slot 1's OK
    Frames(2);
    EXPECT_EQ(intro->m_sceneState, kSceneCharacter);
    Click(390, 440);  // slot 2's OK
    Frames(1);
    EXPECT_EQ(intro->m_sceneState, kSceneConnect);
    EXPECT_STREQ(g_charName.data(), "Celinne");
    EXPECT_EQ(g_selectedSlot, 2);
}

TEST_F(LoginForms, HangulNameOfFiveSyllablesIsSentInCp949)
{
    Serve(LoginAccepted(1));
    ASSERT_EQ(intro->m_sceneState, kSceneCharacter);
    Click(600, 300);  // slot 3's portrait: the panel
    Frames(1);
    EXPECT_EQ(intro->GetPanelOpen(), 1);
    Type("rkskekfkak", false);  // 가나다라마 on the two-set keyboard
    EXPECT_STREQ(intro->GetNameField(), "가나다라마");
    Click(760, 380);  // yes
    Frames(1);
    SentPacket expected = {125};
    const char* name = "가나다라마";
    expected.insert(expected.end(), name, name + 10);
    expected.insert(expected.end(), 2, 0);
    EXPECT_EQ(TakeSentPackets(), std::vector<SentPacket>{expected});
    Serve({125, 1});
    EXPECT_EQ(LastBox(), "이미 등록된 캐릭터 이름 입니다");
    Serve({125, 0});
    EXPECT_EQ(intro->m_sceneState, kSceneChooser);
    char slotName[12];
    g_loginRecord.SlotName(3, slotName);
    EXPECT_STREQ(slotName, "가나다라마");
}

}  // namespace
