#include "support/FieldLogIn.h"

#include <algorithm>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "intro/IntroLayer.h"
#include "support/Harness.h"
#include "windows/DaradirUzedo.h"
#include "world/ObjLayer.h"

Bytes EnteredReply(uint16_t id, int x, int y)
{
    Bytes b = U16Packet(3, id);
    b.push_back(0);
    PutU16(b, static_cast<uint16_t>(x));
    PutU16(b, static_cast<uint16_t>(y));
    b.insert(b.end(), {0, 0, 0, 0});
    return b;
}

bool LogInToField(CHarness& h, uint16_t id, int x, int y, const Bytes& record)
{
    if (!h.Start() || !h.RunUntil([] { return g_gameFrameCount >= 2; }, 200))
        return false;
    g_loginRecord.SetSlot(1, 0, "Mira", 5);
    g_selectedSlot = 1;
    auto ask = [id](int f) { return Concat({U16Packet(52, id), {static_cast<uint8_t>(f)}}); };
    Bytes name(12, 0);
    std::copy_n("Mira", 4, name.begin());
    const uint8_t lo = static_cast<uint8_t>(id & 0xFF), hi = static_cast<uint8_t>(id >> 8);
    CFakeServer& server = h.Server();
    server.Expect({1}).Send(U16Packet(1, 336));
    server.Expect(Concat({{2, 1, 6}, name})).Send(U16Packet(2, id));
    server.Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1});
    server.Expect(ask(50)).Send(Concat({ask(50), record}));
    server.Expect(Concat({ask(69), ask(68)}))
        .Send(Concat({ask(69), {0, 0, 0, 0}}))
        .Send(Concat({ask(68), {0, 0, 0, 0}}));
    server.Expect({3, 1, 175, 0, 42, 1})
        .Expect({'e', 3, lo, hi, 'e', 2, lo, hi, 'e', 4, lo, hi})
        .Send(EnteredReply(id, x, y));
    g_pView->m_pIntroLayer->m_sceneState = kSceneConnect;
    const uint32_t last = g_gameFrameCount + 400;
    auto ready = [] { return g_uiCreated != 0 && g_pView->m_pObjLayer->GetMyCharacter() != nullptr; };
    h.RunUntil([&] { return ready() || g_gameFrameCount >= last; }, 400000);
    return ready();
}
