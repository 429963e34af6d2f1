#include "social/ChatTestEnv.h"

#include <cstring>

#include "app/FrameClock.h"
#include "app/GameData.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "core/HanCodeConv.h"
#include "intro/IntroLayer.h"
#include "net/PacketAssembler.h"
#include "platform/Settings.h"
#include "social/ChatLine.h"
#include "ui/InputFocus.h"

namespace {

constexpr const char* kMarkLine = "\x01mark";

}  // namespace

std::string Johab(const std::string& cp949)
{
    std::string out(cp949.size() + 1, '\0');
    CHanCodeConv::CP949ToJohab(cp949.c_str(), out.data());
    return out.c_str();
}

std::string Cp949(const std::string& johab)
{
    std::string out(johab.size() + 1, '\0');
    CHanCodeConv::JohabToCP949(johab.c_str(), out.data());
    return out.c_str();
}

Bytes PersonRecord(const std::string& name, uint8_t region, uint16_t x, uint16_t y, uint32_t number)
{
    Bytes b(name.begin(), name.end());
    b.resize(12, 0);
    b.push_back(region);
    PutU16(b, x);
    PutU16(b, y);
    PutU32(b, number);
    return b;
}

Bytes ChatCommand(uint8_t sub, const Bytes& payload)
{
    Bytes b{8, sub, 0, 0};
    PutU16(b, static_cast<uint16_t>(payload.size()));
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

Bytes ChatPacket(uint8_t mode, const std::string& text)
{
    Bytes b{7};
    PutU16(b, CCreatureBed::kMyId);
    Bytes name(12, 0);
    std::memcpy(name.data(), ChatTest::kMe, std::strlen(ChatTest::kMe));
    b.insert(b.end(), name.begin(), name.end());
    b.push_back(mode);
    PutU16(b, static_cast<uint16_t>(text.size() + 1));
    b.insert(b.end(), text.begin(), text.end());
    b.push_back(0);
    return b;
}

Bytes Received(uint16_t sender, const std::string& name, uint8_t mode, const std::string& text)
{
    Bytes b{7};
    PutU16(b, sender);
    Bytes field(name.begin(), name.end());
    field.resize(12, 0);
    b.insert(b.end(), field.begin(), field.end());
    b.push_back(mode);
    PutU16(b, static_cast<uint16_t>(text.size()));
    b.insert(b.end(), text.begin(), text.end());
    return b;
}

Bytes ChatReply(uint8_t sub, uint16_t value, const Bytes& payload, int length)
{
    Bytes b{8, sub};
    PutU16(b, value);
    PutU16(b, static_cast<uint16_t>(length < 0 ? payload.size() : static_cast<size_t>(length)));
    b.insert(b.end(), payload.begin(), payload.end());
    return b;
}

ChatTest::ChatTest()
{
    ResetChatLineState();
    g_gmFlag = 0;
    g_colonyMode = 0;
    English(false);
    me = &bed.Me(20, 20);
    Layer().MyRecord() = me->GetCharRecord();
    uint8_t wire[12] = {'A', 'r', 'i', 'n'};
    Layer().MyRecord().SetWireName(wire);
    me->GetCharRecord().SetWireName(wire);
    Layer().m_inField = 1;
    g_loginRecord.SetSlot(1, 0, kMe, 3);
    g_selectedSlot = 1;
    bed.GoOnline();
    g_layerHolder.SetLayer(&ui);
    ui.CreateWindows();
    SetPacketSource(&src);
    // The layer's start reports the speed field.
    bed.Received();
    bed.ui.log.Clear();
}

ChatTest::~ChatTest()
{
    SetPacketSource(nullptr);
    g_layerHolder.SetLayer(nullptr);
    g_loginRecord.Clear();
    g_selectedSlot = 0;
    g_gmFlag = 0;
    g_colonyMode = 0;
    for (auto& w : g_insultWords)
        w.fill(0);
    ResetChatLineState();
    English(false);
}

CWidgetWindow& ChatTest::Chat()
{
    auto* w = dynamic_cast<CWidgetWindow*>(ui.GetRootContainer()->FindChild(CChatLine::kChatWindow));
    EXPECT_NE(w, nullptr);
    return *w;
}

CWidget& ChatTest::BigChat() { return *ui.GetRootContainer()->FindChild(CChatLine::kBigChatWindow); }

void ChatTest::English(bool on)
{
    plat::Settings().SetString("Control Panel\\International", "Locale", on ? "00000409" : "00000412");
}

void ChatTest::Type(const std::string& cp949)
{
    const std::string line = Johab(cp949);
    char* input = BigChat().GetText();
    std::memset(input, 0, CWidgetWindow::kInputSize);
    std::memcpy(input, line.data(), std::min<size_t>(line.size(), CWidgetWindow::kInputSize - 1));
    g_inputFocus.SetFocusWidget(&BigChat());
    g_inputFocus.SubmitFocused();
}

std::vector<std::string> ChatTest::Shown()
{
    std::vector<std::string> out;
    for (const std::string& call : bed.ui.log.Calls())
        if (call.rfind("ShowNotice(", 0) == 0 || call.rfind("ShowJohabNotice(", 0) == 0 ||
            call.rfind("AddLine(", 0) == 0)
            out.push_back(call);
    bed.ui.log.Clear();
    return out;
}

void ChatTest::Mark() { Chat().AddTextLine(kMarkLine, 0); }

std::vector<std::string> ChatTest::Added()
{
    std::vector<std::string> out;
    char** lines = Chat().GetLines();
    for (int i = 1; i < Chat().GetLineCount() && std::strcmp(lines[i], kMarkLine) != 0; ++i)
        out.insert(out.begin(), Cp949(lines[i]));
    return out;
}

void ChatTest::Receive(const Bytes& b)
{
    src.Append(b);
    DispatchAll(src, [] { g_pView->ReceiveDispatch(); });
}
