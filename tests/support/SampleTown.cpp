#include "support/SampleTown.h"

#include "app/QuillonView.h"
#include "core/TextLayer.h"
#include "fixtures/SampleWorld.h"
#include "intro/IntroLayer.h"
#include "platform/Settings.h"
#include "ui/MessageRing.h"
#include "world/BGLayer.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"

namespace {

constexpr uint8_t kShift = 42, kSpace = 57, kTab = 15;
constexpr uint8_t kG = 34, kM = 50;
constexpr uint8_t k1 = 2, k2 = 3, k3 = 4, k4 = 5, k5 = 6;

}  // namespace

CSampleTown::CSampleTown() : CSampleTown(CSampleWorld::Builder()) {}

CSampleTown::CSampleTown(const CArchiveBuilder& world) : archive(world, false)
{
    game.Register();
    plat::ISettings& s = plat::Settings();
    s.SetString(kServerKey, "Host", "127.0.0.1");
    s.SetDword(kServerKey, "Port", game.Port());
}

int CSampleTown::Scene() { return g_pView && g_pView->m_pIntroLayer ? g_pView->m_pIntroLayer->m_sceneState : -1; }

void CSampleTown::UseBoardServers(uint16_t boardPort, uint16_t mailPort)
{
    plat::Settings().SetDword(kServerKey, "BoardPort", boardPort);
    plat::Settings().SetDword(kServerKey, "MailPort", mailPort);
}

void CSampleTown::Key(uint8_t scan)
{
    h.KeyDown(scan);
    h.RunForMs(100);
    h.KeyUp(scan);
    h.RunForMs(100);
}

void CSampleTown::Chord(std::initializer_list<uint8_t> keys)
{
    for (uint8_t k : keys)
        h.KeyDown(k);
    h.RunForMs(150);
    for (uint8_t k : keys)
        h.KeyUp(k);
    h.RunForMs(150);
}

void CSampleTown::ClickAt(int x, int y)
{
    h.MouseMove(x, y);
    h.RunForMs(70);
    h.Click(1, x, y);
    h.RunForMs(70);
}

void CSampleTown::DoubleClickAt(int x, int y)
{
    ClickAt(x, y);
    h.Click(1, x, y);
    h.RunForMs(70);
}

void CSampleTown::Type(const std::vector<uint8_t>& scans, bool latin)
{
    if (latin)
        Chord({kShift, kSpace});
    for (uint8_t scan : scans)
        Key(scan);
}

bool CSampleTown::LogIn(bool gameMaster)
{
    return ToCharacterScreen(gameMaster) && Play(1);
}

bool CSampleTown::ToCharacterScreen(bool gameMaster)
{
    if (!h.Start() || !h.RunUntil([] { return Scene() == kSceneLogin; }, 400000))
        return false;
    if (gameMaster)
        Type({kG, kM, k1, kTab, k4, k5}, true);
    else
        Type({k1, k2, k3, kTab, k4, k5}, false);
    ClickAt(490, 480);
    if (!h.RunUntil([] { return Scene() == kSceneCharacter; }, 400000))
        return false;
    h.RunForMs(200);
    return true;
}

bool CSampleTown::Play(int slot)
{
    // The PLAY buttons under the three cards.
    static constexpr int kPlayX[3] = {158, 400, 641}, kPlayY[3] = {447, 449, 448};
    if (slot < 1 || slot > 3)
        return false;
    ClickAt(kPlayX[slot - 1], kPlayY[slot - 1]);
    if (!h.RunUntil([&] { return Scene() == kSceneInWorld && game.EnteredField(); }, 800000))
        return false;
    h.RunForMs(1000);
    // The entry's messages fade before anything is looked at.
    h.RunUntil([] { return g_messageRing.GetLineCount() == 0; }, 100000);
    return true;
}

void CSampleTown::ClickCell(int x, int y)
{
    int sx = 0, sy = 0;
    CellOnScreen(x, y, sx, sy);
    ClickAt(sx, sy - 8);
}

bool CSampleTown::ClickNpcAt(int x, int y)
{
    CObjLayer* layer = g_pView->m_pObjLayer;
    for (int i = 0; i < CObjLayer::kNpcs; ++i) {
        const CNpc& npc = layer->NpcSlot(i);
        if (npc.IsActive() && npc.GetTileX() == x && npc.GetTileY() == y) {
            int sx = 0, sy = 0;
            layer->GetBackground()->WorldToScreen(npc.GetPixelX(), npc.GetPixelY(), sx, sy);
            ClickAt(sx, sy - 20);
            return true;
        }
    }
    return false;
}

void CSampleTown::CellOnScreen(int x, int y, int& sx, int& sy)
{
    int px = 0, py = 0;
    CBGLayer::TileToPixel(x, y, px, py);
    g_pView->m_pBGLayer->WorldToScreen(px + 32, py + 16, sx, sy);
}

double CSampleTown::Shown(const std::string& text, int x, int y, uint8_t colour)
{
    const plat::PresentRecord& shown = h.Platform().video.lastPresent;
    if (shown.depth != 8 || shown.pixels.size() < 800u * 600u)
        return -1;
    std::vector<uint8_t>& alone = m_scratch;
    alone.assign(800 * 600, 0);
    g_pTextLayer->SetTarget(alone.data(), 800, 600);
    g_pTextLayer->DrawTextColored(x, y, text.c_str(), colour, 255, 1);
    int ink = 0, match = 0;
    for (size_t i = 0; i < alone.size(); ++i)
        if (alone[i] == colour) {
            ++ink;
            match += shown.pixels[i] == colour ? 1 : 0;
        }
    return ink ? static_cast<double>(match) / ink : 0.0;
}
