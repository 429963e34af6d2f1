// Arbitrary typed lines, money transfers and command-8 replies through the
// chat line of a headless client whose character stands on the field, with
// the UI layer's chat windows. Each step takes a selector byte: 0 a typed
// line (a length byte, then the line), 1 a reply (sub-code, u16 value, u16
// length taken modulo what is left, then the payload) through the view's
// receive dispatcher, 2 the flags (GM, English, battle, a last whisperer),
// 3 a money transfer (a length byte, the names, a u32 amount). Every line
// of the chat window must stay terminated within its 255 bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/GameData.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/PacketStream.h"
#include "fuzz_seeds.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/Settings.h"
#include "platform/headless/HeadlessPlatform.h"
#include "social/ChatLine.h"
#include "ui/WidgetWindow.h"
#include "windows/DaradirUzedo.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint16_t kMyId = 7;

struct Client {
    plat::CHeadlessPlatform platform;
    CTestArchive archive{CArchiveBuilder::MinimalGame()};
    CQuillonView view;
    CBGLayer ground{nullptr};
    CObjLayer layer{nullptr, &ground};
    CDaradirUzedo ui{nullptr};
    CMemoryByteSource src;
    Client()
    {
        plat::SetDebugSink([](std::string_view) {});
        view.m_pObjLayer = &layer;
        SetPacketSource(&src);
        g_layerHolder.SetLayer(&ui);
        ui.CreateWindows();
        const char* words[] = {"fool", "ab", "\xB9\xD9\xBA\xB8"};
        for (size_t i = 0; i < 3; ++i)
            std::strncpy(g_insultWords[i].data(), words[i], kInsultWordSize - 1);
    }
    // On the field (the dispatcher's gate for chat replies), out of battle.
    void Enter()
    {
        layer.MyRecord() = CharacterRecord{};
        layer.MyRecord().SetU32(CharacterRecord::kHp, 50);
        layer.m_pMyChar = &layer.CharacterSlot(0);
        g_myId = kMyId;
        layer.m_inField = 1;
        layer.m_inBattle = 0;
        layer.m_opponents = {};
        layer.m_jailStartTime = 0;
        layer.StageChange().Finish();
    }
    CWidgetWindow* Chat()
    {
        return dynamic_cast<CWidgetWindow*>(ui.GetRootContainer()->FindChild(CChatLine::kChatWindow));
    }
};

Client& TheClient()
{
    static Client* client = new Client;
    return *client;
}

std::string Typed(const std::string& line) { return std::string(1, '\0') + static_cast<char>(line.size()) + line; }

std::string Reply(uint8_t sub, uint16_t value, const std::string& payload)
{
    std::string s{'\x01', static_cast<char>(sub), static_cast<char>(value & 0xFF), static_cast<char>(value >> 8),
                  static_cast<char>(payload.size() & 0xFF), static_cast<char>(payload.size() >> 8)};
    return s + payload;
}

std::string Person(const std::string& name, char region, uint16_t x)
{
    std::string r = (name + std::string(12, '\0')).substr(0, 12);
    r += region;
    r += static_cast<char>(x & 0xFF);
    r += static_cast<char>(x >> 8);
    return r + std::string(6, '\x01');
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        WriteSeed(dir, "who", Typed("/WHO Kim Lee") + Reply(2, 0, Person("Kim", 1, 0) + Person("Lee", 0, 0)));
        WriteSeed(dir, "where", Typed("/where Kim") + Reply(3, 0, Person("abcdefghijklm", 9, 0xFFFF)));
        WriteSeed(dir, "gm", std::string{'\x02', '\x04'} + Typed("/pk Kim Lee") + Reply(8, 1, "") +
                                 Typed("/\xC0\xCC\xB5\xBF Kim 3 100 200") + Reply(7, 99, Person("", 3, 5)));
        WriteSeed(dir, "chat", Typed("!Bram hi") + Typed("!!hi") + std::string{'\x02', '\x40'} + Typed("!!again") +
                                   Typed("@all") + Typed("you f o o l"));
        WriteSeed(dir, "list", Reply(12, 1, std::string(84, 'n')) + Reply(1, 0, "notice"));
        WriteSeed(dir, "money", std::string{'\x03', '\x08'} + "Kim Arin" + std::string(4, '\x10') +
                                    Reply(13, 99, Person("Kim", 0, 0)) + Reply(13, 1, ""));
    }
    TheClient();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Client& c = TheClient();
    ResetReceiveState();
    ResetExitState();
    ResetChatLineState();
    c.platform.dialogs.boxes.clear();
    c.src.Clear();
    c.Enter();
    g_gmFlag = 0;
    plat::Settings().SetString("Control Panel\\International", "Locale", "00000412");

    size_t pos = 0;
    auto next = [&]() -> uint8_t { return pos < size ? data[pos++] : 0; };
    auto take = [&](size_t n) {
        std::string s;
        while (n-- > 0 && pos < size)
            s += static_cast<char>(data[pos++]);
        return s;
    };
    while (pos < size) {
        const uint8_t sel = next();
        switch (sel & 3) {
        case 0: {
            const std::string line = take(next());
            char text[CChatLine::kLineSize] = {};
            std::memcpy(text, line.data(), std::min(line.size(), sizeof text - 1));
            if (g_chatLine.ParseCommand(text) == 0)
                CChatLine::SendChat(text);
            break;
        }
        case 1: {
            std::vector<uint8_t> packet{8, next(), next(), next()};
            const size_t left = size - pos;
            const uint16_t want = static_cast<uint16_t>(next() | next() << 8);
            const size_t n = std::min<size_t>(want % (left + 1), kPacketBufferSize - 8);
            packet.push_back(static_cast<uint8_t>(n & 0xFF));
            packet.push_back(static_cast<uint8_t>(n >> 8));
            const std::string payload = take(n);
            packet.insert(packet.end(), payload.begin(), payload.end());
            packet.resize(6 + n, 0);
            c.src.Append(packet);
            if (!DispatchAll(c.src, [&] { c.view.ReceiveDispatch(); }))
                std::abort();  // every reply is taken whole
            break;
        }
        case 2: {
            const uint8_t flags = next();
            g_gmFlag = flags & 4 ? 1 : 0;
            plat::Settings().SetString("Control Panel\\International", "Locale", flags & 8 ? "00000409" : "00000412");
            c.layer.m_inBattle = flags & 16 ? 1 : 0;
            c.layer.m_battleNumber = flags & 16 ? 3 : 0;
            g_lastWhisperer.fill(0);
            if (flags & 64)
                std::memcpy(g_lastWhisperer.data(), "abcdefghijkl", g_lastWhisperer.size());
            break;
        }
        default: {
            const std::string names = take(next());
            const uint32_t amount = static_cast<uint32_t>(next() | next() << 8 | next() << 16) | uint32_t{next()} << 24;
            g_chatLine.SendMoneyTransfer(names.c_str(), amount);
            break;
        }
        }
        if (strnlen(g_chatLine.GetTargetName(), 20) >= 20)
            std::abort();
    }
    CWidgetWindow* chat = c.Chat();
    if (!chat)
        std::abort();
    char** lines = chat->GetLines();
    for (int i = 0; i < chat->GetLineCount(); ++i)
        if (strnlen(lines[i], CWidgetWindow::kLineSize) >= CWidgetWindow::kLineSize)
            std::abort();
    return 0;
}
