#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/ReceiveDispatch.h"
#include "core/HanCodeConv.h"
#include "social/ChatLine.h"
#include "support/FakeEffects.h"
#include "support/FakeSocial.h"
#include "ui/UiTestEnv.h"
#include "ui/WidgetWindow.h"

namespace {

constexpr uint16_t kMe = 5;

// A received chat record: sender id, 12-byte name, mode, length, text.
std::vector<uint8_t> Record(uint16_t sender, const std::string& name, uint8_t mode, const std::string& text,
                            int length = -1)
{
    std::vector<uint8_t> r{static_cast<uint8_t>(sender & 0xFF), static_cast<uint8_t>(sender >> 8)};
    std::string field = (name + std::string(12, '\0')).substr(0, 12);
    r.insert(r.end(), field.begin(), field.end());
    r.push_back(mode);
    const int n = length < 0 ? static_cast<int>(text.size()) : length;
    r.push_back(static_cast<uint8_t>(n & 0xFF));
    r.push_back(static_cast<uint8_t>(n >> 8));
    r.insert(r.end(), text.begin(), text.end());
    return r;
}

std::string Johab(const std::string& cp949)
{
    std::string out(cp949.size() + 1, '\0');
    CHanCodeConv::CP949ToJohab(cp949.c_str(), out.data());
    return out.c_str();
}

class ChatWindow : public UiTest {
protected:
    ChatWindow() { g_myId = kMe; }
    // The line the record makes, its colour, and what it started.
    struct Shown {
        std::string line;
        int32_t colour;
        std::vector<std::string> effects;
        std::vector<std::string> social;
    };
    Shown Receive(const std::vector<uint8_t>& record)
    {
        fx.log.Clear();
        social.log.Clear();
        EXPECT_EQ(window.OnChatMessage(record.data(), record.size()), 1);
        return Shown{window.GetLines()[1], window.GetLineAttrs()[1], fx.log.Calls(), social.log.Calls()};
    }

    FakeEffects fx;
    FakeSocial social;
    CWidgetWindow window{2, nullptr, 0, 0, 0, 0, 34};
};

TEST_F(ChatWindow, EnglishLinesColoursAndBalloonsFollowTheMode)
{
    English(true);
    struct Case {
        std::vector<uint8_t> record;
        std::string line;
        int32_t colour;
        bool balloon;
    };
    const std::vector<Case> cases = {
        {Record(7, "Arin", 0, "hello there"), "[Arin] hello there", 69, true},
        {Record(kMe, "Me", 0, "hi"), "[Me] hi", 69, true},
        {Record(7, "Arin", 2, "all hear"), "[Arin] all hear", 224, true},
        {Record(7, "Arin", 3, "notice"), "[Arin] notice", 185, false},
        {Record(kMe, "Me", 1, "Bram see you"), "To Bram : see you", 69, true},
        {Record(7, "Arin", 1, "Bram see you"), "From Arin : see you", 222, false},
        {Record(7, "Arin", 1, "Bram"), "From Arin : ", 222, false},
        {Record(0, "Cole", 'e', ""), "Server Message : Cole is not in the game", 198, false},
        {Record(0, "Cole", 'f', ""), "Server Message : Cole's whisper was refused", 198, false},
        {Record(0, "Cole", 0, "maintenance"), "Server Message : [Cole] maintenance", 198, false},
        {Record(9, "", 'n', "Dana fights"), "Dana is Battle mode", 198, false},
    };
    for (const Case& c : cases) {
        const Shown s = Receive(c.record);
        EXPECT_EQ(s.line, c.line);
        EXPECT_EQ(s.colour, c.colour) << c.line;
        const uint16_t sender = static_cast<uint16_t>(c.record[0] | (c.record[1] << 8));
        EXPECT_EQ(s.effects, c.balloon ? std::vector<std::string>{CCallLog::Call("StartChatBalloon", sender,
                                                                                  c.line, c.colour)}
                                       : std::vector<std::string>{})
            << c.line;
    }
    // Only a whisper from someone else is remembered for the reply.
    const Shown s = Receive(Record(7, "Arin", 1, "Bram hi"));
    EXPECT_EQ(s.social, (std::vector<std::string>{CCallLog::Call("SetLastWhisperer", "Arin")}));
    EXPECT_STREQ(window.GetLines()[12], "[Arin] hello there") << "older lines move up";
}

TEST_F(ChatWindow, KoreanLinesAreJohabThroughout)
{
    // The server's names and the game's own texts become Johab; the typed
    // texts come as Johab already.
    const std::string ga = "가나";
    ASSERT_NE(Johab(ga), ga);
    const std::string hi = Johab("안녕");
    Shown s = Receive(Record(7, ga, 1, "Bram " + hi));
    EXPECT_EQ(s.line, Johab(ga + "님에게서 : ") + hi);
    s = Receive(Record(kMe, "Me", 1, ga + " hi"));
    EXPECT_EQ(s.line, Johab(ga + "님에게로 : ") + "hi");
    s = Receive(Record(0, ga, 'e', ""));
    EXPECT_EQ(s.line, Johab("서버 메시지 : " + ga + "님은 접속하고 있지 않습니다."));
    s = Receive(Record(0, ga, 'f', ""));
    EXPECT_EQ(s.line, Johab("서버 메시지 : " + ga + "님의 귓속말을 거부하였습니다."));
    s = Receive(Record(7, "Bram", 'n', ga + " x"));
    EXPECT_EQ(s.line, Johab(ga + "님은 전투중 입니다."));
    s = Receive(Record(7, ga, 0, hi));
    EXPECT_EQ(s.line, "[" + Johab(ga) + "] " + hi);
}

TEST_F(ChatWindow, MalformedRecordsStayInsideTheirBytes)
{
    English(true);
    // A name filling its 12 bytes has no terminator.
    EXPECT_EQ(Receive(Record(7, "ABCDEFGHIJKL", 0, "x")).line, "[ABCDEFGHIJKL] x");
    // A length beyond the packet reads what is there.
    EXPECT_EQ(Receive(Record(7, "Arin", 0, "short", 1000)).line, "[Arin] short");
    // A record cut inside its head changes nothing.
    const std::vector<uint8_t> head = Record(7, "Arin", 0, "x");
    window.OnChatMessage(head.data(), 9);
    EXPECT_EQ(std::string(window.GetLines()[1]), "[Arin] short");
    EXPECT_EQ(window.OnChatMessage(nullptr, 0), 1);
    // A long line is cut at 255 bytes on a character boundary: "[Arin] a"
    // and 123 double-byte characters.
    std::string text;
    for (int i = 0; i < 400; ++i)
        text += "가";
    window.SetMaxLen(254);
    const std::string line = Receive(Record(7, "Arin", 0, "a" + text)).line;
    EXPECT_EQ(line, "[Arin] a" + text.substr(0, 246));
}

TEST_F(ChatWindow, SubmittedLinesGoToTheSlashParserThenOutAsChat)
{
    std::strcpy(window.GetText(), "/who");
    social.parseResult = 1;
    window.SubmitText();
    social.parseResult = 0;
    std::strcpy(window.GetText(), "hello");
    window.SubmitText();
    window.SubmitText();  // empty: nothing
    window.SetMaxLen(5);
    std::strcpy(window.GetText(), "abcdefgh");
    window.SubmitText();
    window.SetMaxLen(400);
    std::memset(window.GetText(), 'x', 254);
    window.SubmitText();
    EXPECT_EQ(social.log.Calls(),
              (std::vector<std::string>{CCallLog::Call("ParseCommand", "/who"), CCallLog::Call("ParseCommand", "hello"),
                                        CCallLog::Call("SendChat", "hello"), CCallLog::Call("ParseCommand", "abcde"),
                                        CCallLog::Call("SendChat", "abcde"),
                                        CCallLog::Call("ParseCommand", std::string(254, 'x')),
                                        CCallLog::Call("SendChat", std::string(254, 'x'))}));
    EXPECT_STREQ(window.GetText(), "");
    EXPECT_EQ(g_pTextLayer->GetInputBuffer(), window.GetText());
}

TEST_F(ChatWindow, EveryLineReachesTheChatOverlay)
{
    CDaradirUzedo* ui = nullptr;
    Root();
    ui = g_layerHolder.GetLayer();
    std::vector<int> shown;
    for (int i = 0; i < 7; ++i) {
        window.AddTextLine("line", 69);
        shown.push_back(ui->m_chatOverlayShown);
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 6, 6}));
    ui->m_chatOverlayExpired = 3;
    ui->m_chatOverlayTimer = 400;
    window.AddTextLine("fresh", 69);
    EXPECT_EQ(ui->m_chatOverlayShown, 2) << "the newest line alone";
    EXPECT_EQ(ui->m_chatOverlayExpired, 0);
    EXPECT_EQ(ui->m_chatOverlayTimer, 0);
    window.SetMaxLen(10);
    window.AddTextLine("0123456789ABCDEF", 69);  // two pieces
    EXPECT_EQ(ui->m_chatOverlayShown, 4);
}

}  // namespace
