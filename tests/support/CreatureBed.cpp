#include "support/CreatureBed.h"

#include "app/ReceiveDispatch.h"
#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "net/MySocket.h"
#include "platform/Clock.h"
#include "support/SentPackets.h"
#include "world/BGLayer.h"
#include "world/MapGrid.h"
#include "world/ObjLayer.h"
#include "world/StageHolder.h"

CCreatureBed::CCreatureBed(int mapSize, const CreatureSetOptions& options, const CArchiveBuilder& archive)
    : world(archive)
{
    fx.layer = &world.Layer();
    g_myId = kMyId;
    CMapFileBuilder map(mapSize, mapSize);
    map.Fill(kFlagGround | kFlagDrawn, 0, 0);
    const Bytes planes = map.Planes();
    CByteReader mr(planes.data(), planes.size());
    Ground().ReadMap(mr);
    Ground().SetViewRect(0, 0, 800, 448);

    struct Kind {
        const char* name;
        uint8_t group;
        uint32_t cls;
    };
    CObrBuilder chr("CHR");
    for (Kind k : {Kind{"0", 0, 0}, {"1", 1, 2}, {"2", 2, 4}, {"1305", 3, 1305}, {"905", 3, 905}}) {
        chr.Character(k.name, CObrBuilder::CharRecord(k.name, k.group, k.cls, 10, std::string("m") + k.name));
        chr.RawSet(CCreatureSet::Section(k.name, options));
    }
    const Bytes file = chr.Build();
    CByteReader r(file.data(), file.size());
    Layer().ReadObr(r);
    for (int i = 0; i < Layer().GetCharSetCount(); ++i)
        Layer().GetCharSet(i)->SetAnimation(kCharAnimNames, kCharAnimSlots);
}

CCreatureBed::~CCreatureBed()
{
    if (server)
        CloseTestMainSocket();
    g_myId = 0;
}

CCharacter& CCreatureBed::Me(int x, int y)
{
    world.MyRecord() = *Layer().GetCharTemplate(0);
    CCharacter* me = Layer().CreateMyCharacter(x, y);
    Layer().SetMyCharacter(me);
    Ground().ScrollTo(me->GetPixelX(), me->GetPixelY());
    return *me;
}

CCharacter& CCreatureBed::Add(int id, int x, int y, int kind, int speed)
{
    return *Layer().AddCharacter(id, x, y, kind, speed, 0);
}

void CCreatureBed::Wall(int x, int y) { Layer().SetObjectCell(x, y, kCellBlocked); }

void CCreatureBed::Frame(int n)
{
    for (int i = 0; i < n; ++i) {
        ++g_frameClock;
        Layer().DrawList().Clear();
        Layer().UpdateObjects();
    }
}

void CCreatureBed::GoOnline()
{
    server = std::make_unique<CFakeServer>();
    OpenTestMainSocket();
    g_pMainSocket->Connect("127.0.0.1", server->Port());
    plat::CRealClock real;
    const uint32_t start = real.NowMs();
    while (!(g_pMainSocket->CanSend() && server->Accepted()) && real.NowMs() - start < 10000) {
        server->Pump();
        g_pMainSocket->Pump();
    }
    m_taken = 0;
}

void CCreatureBed::Pump(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        g_pMainSocket->Pump();
        server->Pump();
    }
}

Bytes CCreatureBed::Received()
{
    if (!server)
        return {};
    // Loopback delivers within a few rounds; wait until the send list is
    // empty and nothing more arrives.
    plat::CRealClock real;
    const uint32_t start = real.NowMs();
    size_t seen = SIZE_MAX;
    while (real.NowMs() - start < 10000) {
        Pump(20);
        if (g_pMainSocket->SendListSize() == 0 && server->AllReceived().size() == seen)
            break;
        seen = server->AllReceived().size();
    }
    const Bytes& all = server->AllReceived();
    Bytes out(all.begin() + static_cast<std::ptrdiff_t>(m_taken), all.end());
    m_taken = all.size();
    return out;
}
