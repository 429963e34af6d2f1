#include "support/FieldLogIn.h"

#include <algorithm>

#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/WidgetSprites.h"
#include "intro/IntroLayer.h"
#include "windows/WindowTable.h"
#include "world/MapGrid.h"

CArchiveBuilder FieldArchive(int size)
{
    CArchiveBuilder b = CIntroArchive::Game();
    CObrBuilder eric("CHR");
    eric.Character("eric", CObrBuilder::CharRecord("0", 0, 0, 12)).AnimSet("eric");
    b.Replace("eric.obr", eric.Build());
    CMapFileBuilder map(size, size);
    map.Fill(kFlagGround | kFlagDrawn, 0, 0).MapName("stage 1");
    b.Replace("1stage.map", map.Build());
    return b;
}

void AddWindowPictures(CArchiveBuilder& b)
{
    for (const SWindowRow& row : WindowTable())
        if (row.sprite && row.sprite[0])
            b.Replace(row.sprite, CWidgetSprites::File(4, 32, 32, 7));
}

void StartFieldLogIn(CFakeServer& server, uint16_t id, uint16_t x, uint16_t y, const Bytes& record)
{
    g_loginRecord.SetSlot(1, 0, "Mira", 5);
    g_selectedSlot = 1;
    auto ask = [id](int f) { return Concat({U16Packet(52, id), {static_cast<uint8_t>(f)}}); };
    auto field = [&](int f, const Bytes& payload) { return Concat({ask(f), payload}); };
    Bytes name(12, 0);
    std::copy_n("Mira", 4, name.begin());
    // [3][u16 id][u8][u16 x][u16 y][u16 type][u8 speed][u8 look]
    Bytes entered = U16Packet(3, id);
    entered.push_back(0);
    PutU16(entered, x);
    PutU16(entered, y);
    entered.insert(entered.end(), {0, 0, 0, 0});
    const auto lo = static_cast<uint8_t>(id & 0xFF), hi = static_cast<uint8_t>(id >> 8);
    server.Expect({1}).Send(U16Packet(1, 336));
    server.Expect(Concat({{2, 1, 6}, name})).Send(U16Packet(2, id));
    server.Expect({50, 'W', 106}).Send({50, 1}).Send({106, 1});
    server.Expect(ask(50)).Send(field(50, record));
    server.Expect(Concat({ask(69), ask(68)})).Send(field(69, {0, 0, 0, 0})).Send(field(68, {0, 0, 0, 0}));
    server.Expect({3, 1, 175, 0, 42, 1}).Expect({'e', 3, lo, hi, 'e', 2, lo, hi, 'e', 4, lo, hi}).Send(entered);
    g_pView->m_pIntroLayer->m_sceneState = kSceneConnect;
}
