// The sample world's monster fought as a new user would: the real client
// on the headless platform and the virtual clock against the in-process
// demo server, nothing replaced, driven only by clicks and keys. What the
// player sees is read off the presented frames and the windows, what the
// server took off its command log.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/QuillonView.h"
#include "core/PaletteManager.h"
#include "fixtures/SampleMonster.h"
#include "rules/CalcData.h"
#include "support/FakeServer.h"
#include "support/DemoBattle.h"
#include "support/SampleTown.h"
#include "tools/MonsterBattle.h"
#include "ui/WidgetContainer.h"
#include "windows/DaradirUzedo.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

namespace {

using M = DemoMonster;
using R = CharacterRecord;

constexpr uint8_t kCtrl = 29, kS = 31, kEscape = 1;
constexpr int kParameterWindow = 59;
constexpr uint16_t kMe = CDemoServer::kPlayerId;
// The battle bar's five buttons (48 x 40, white-framed) stand at x 50 from
// y 50 down, 50 apart; the status window is a side panel at x 528 whose
// values are centred on x 174 in colour 60.
constexpr int kBarX = 50, kBarY = 50, kBarPitch = 50, kBarW = 48;
constexpr uint8_t kWhite = 215;
constexpr int kStatusX = 528, kValueX = 174;
constexpr uint8_t kValueColour = 60;
// The tide slime's body colour, and the rows of the screen the field takes.
constexpr uint8_t kSlimeBody = 1 * 36 + 4 * 6 + 3;
constexpr int kFieldRows = 418;

void Put16(Bytes& b, uint32_t v) { PutU16(b, static_cast<uint16_t>(v)); }

// The battle header of a command the client sends.
Bytes Header(int battle, int sub, int length)
{
    Bytes b = {30, 0};
    Put16(b, static_cast<uint32_t>(battle));
    b.push_back(static_cast<uint8_t>(sub));
    Put16(b, static_cast<uint32_t>(length));
    return b;
}

bool StartsWith(const Bytes& b, const Bytes& prefix)
{
    return b.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), b.begin());
}

CObjLayer* Layer() { return g_pView->m_pObjLayer; }
CCharacter* Me() { return Layer()->GetMyCharacter(); }

// A button's top edge is its white frame (the message lines may cross it).
bool BarButtonShown(const plat::PresentRecord& shown, int i)
{
    const int y = kBarY + kBarPitch * i;
    int white = 0;
    for (int x = kBarX; x < kBarX + kBarW; ++x)
        white += shown.pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)] == kWhite ? 1 : 0;
    return white * 4 >= kBarW * 3;
}

// Pixels of the monster's body colour, in any light, on its 40 x 32
// picture around the foot point at (fx, fy) in the last presented frame.
int SlimeShown(const plat::PresentRecord& shown, int fx, int fy)
{
    std::array<bool, 256> body{};
    body[kSlimeBody] = true;
    for (int light = 0; light < 8; ++light)
        body[g_pPalette->GetShadeTable(light)[kSlimeBody]] = true;
    int n = 0;
    for (int y = std::max(fy - 30, 0); y < std::min(fy + 2, kFieldRows); ++y)
        for (int x = std::max(fx - 20, 0); x < std::min(fx + 20, 800); ++x)
            n += body[shown.pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]] ? 1 : 0;
    return n;
}

// The share of a status value's ink that the status window shows.
double StatusShows(CSampleTown& town, int y, const std::string& text)
{
    return town.Shown(text, kStatusX + kValueX - static_cast<int>(text.size()) * 3, y - 7, kValueColour);
}

}  // namespace

std::vector<Bytes> BattleSubs(const CDemoServer& game, size_t from, int sub)
{
    std::vector<Bytes> out;
    const std::vector<Bytes> all = game.Taken(30);
    for (size_t i = from; i < all.size(); ++i)
        if (all[i].size() >= 7 && all[i][4] == sub)
            out.push_back(all[i]);
    return out;
}

void BodyOnScreen(const CCreature& c, int& sx, int& sy)
{
    Layer()->GetBackground()->WorldToScreen(c.GetPixelX(), c.GetPixelY(), sx, sy);
    sy -= 12;
}

void WalkByRoad(CSampleTown& town, int x, int y)
{
    // Clicks on the ground at most four cells on until my character is on
    // (x, y).
    auto walkTo = [&](int gx, int gy) {
        for (int tries = 0; tries < 20; ++tries) {
            const int dx = gx - Me()->GetTileX(), dy = gy - Me()->GetTileY();
            if (dx == 0 && dy == 0)
                return;
            int sx = 0, sy = 0;
            CSampleTown::CellOnScreen(Me()->GetTileX() + std::clamp(dx, -4, 4),
                                      Me()->GetTileY() + std::clamp(dy, -4, 4), sx, sy);
            town.ClickAt(sx, sy);
            town.h.RunForMs(1500);
        }
    };
    // The road south of the start, which no structure stands on, is the
    // way there and back.
    walkTo(CDemoServer::kStartX, Me()->GetTileY());
    walkTo(CDemoServer::kStartX, y);
    walkTo(x, y);
}

bool ChallengeTheTideSlime(CSampleTown& town)
{
    CHarness& h = town.h;
    CObjLayer* layer = Layer();
    // Close to it first: it shows as it comes in sight.
    WalkByRoad(town, CDemoServer::kStartX, M::kY - 2);
    if (!h.RunUntil([&] { return layer->FindCharacterById(M::kId) != nullptr; }, 20000))
        return false;
    int sx = 0, sy = 0;
    BodyOnScreen(*layer->FindCharacterById(M::kId), sx, sy);
    town.ClickAt(sx, sy);
    CWidget* bar = g_layerHolder.GetLayer()->GetRootContainer()->FindChild(42)->FindChild(43);
    return h.RunUntil([&] { return layer->m_inBattle != 0 && bar->GetState() == CWidget::kOpen; }, 100000);
}

// The battle step of a play-through: from the field of stage 0, logged in,
// the tide slime is challenged with a click, fought with clicks until it
// falls, its rewards are read in the status window, and the right click
// brings the player back to stage 0, walking. Every packet of the battle
// that the server took is checked.
void FightTheTideSlime(CSampleTown& town)
{
    CHarness& h = town.h;
    CDemoServer& game = town.game;
    CObjLayer* layer = Layer();
    // Close to it first: it shows as it comes in sight.
    const int homeX = Me()->GetTileX(), homeY = Me()->GetTileY();
    WalkByRoad(town, CDemoServer::kStartX, M::kY - 2);
    ASSERT_TRUE(h.RunUntil([&] { return layer->FindCharacterById(M::kId) != nullptr; }, 20000))
        << "the monster stands near the start";
    const CharacterRecord before = Me()->GetCharRecord();
    int freeSlot = 0;
    while (freeSlot < R::kItemSlots && before.Item(freeSlot) != 0)
        ++freeSlot;
    ASSERT_LT(freeSlot, R::kItemSlots);
    const size_t battles = game.Taken(30).size(), fields = game.Taken(53).size();
    const size_t leaves = game.Taken(34).size(), entries = game.Taken(3).size();
    {
        const plat::PresentRecord& field = h.Platform().video.lastPresent;
        ASSERT_EQ(field.pixels.size(), 800u * 600u);
        EXPECT_FALSE(BarButtonShown(field, 0)) << "no battle bar on the field";
    }

    // A click on it: my character goes up to it and challenges it; the
    // server takes the challenge and the battle begins around me.
    CCharacter* monster = layer->FindCharacterById(M::kId);
    int sx = 0, sy = 0;
    BodyOnScreen(*monster, sx, sy);
    town.ClickAt(sx, sy);
    CWidget* bar = g_layerHolder.GetLayer()->GetRootContainer()->FindChild(42)->FindChild(43);
    ASSERT_TRUE(h.RunUntil([&] { return layer->m_inBattle != 0 && bar->GetState() == CWidget::kOpen; }, 100000))
        << "in battle " << layer->m_inBattle;
    const std::vector<Bytes> challenges = game.Taken(24);
    ASSERT_FALSE(challenges.empty());
    EXPECT_EQ(challenges.back(), (Bytes{24, kMe, 0, M::kId & 0xFF, M::kId >> 8}));
    const int battle = static_cast<int>(layer->m_battleNumber);
    EXPECT_GE(battle, M::kFirstBattle);
    h.RunForMs(300);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(BarButtonShown(h.Platform().video.lastPresent, i)) << "battle bar button " << i;
    monster = layer->FindCharacterById(M::kId);
    ASSERT_NE(monster, nullptr);
    int footX = 0, footY = 0;
    Layer()->GetBackground()->WorldToScreen(monster->GetPixelX(), monster->GetPixelY(), footX, footY);
    EXPECT_GT(SlimeShown(h.Platform().video.lastPresent, footX, footY), 100) << "the slime in the battle";

    // My join, my start cell and my status, as the battle's first words.
    const std::vector<Bytes> joins = BattleSubs(game, battles, 1);
    const std::vector<Bytes> moves = game.Taken(32);
    ASSERT_EQ(joins.size(), 1u);
    ASSERT_FALSE(moves.empty());
    const Bytes& move = moves.back();
    ASSERT_EQ(move.size(), 7u);
    EXPECT_EQ(Bytes(move.begin(), move.begin() + 3), (Bytes{32, kMe, 0}));
    {
        const CharacterRecord& rec = layer->MyRecord();
        Bytes join = Header(battle, 1, 20);
        Put16(join, kMe);
        join.insert(join.end(), move.begin() + 3, move.end());
        Put16(join, static_cast<uint32_t>(g_playerInfo.GetClass()));
        join.push_back(static_cast<uint8_t>(rec.U32(R::kSpeedClass)));
        join.push_back(static_cast<uint8_t>(rec.U32(R::kLook)));
        Put16(join, layer->m_groupHeader[kGroupLeader]);
        Put16(join, rec.U32(R::kLevel));
        PutU32(join, 0);
        Put16(join, rec.U16(R::kFame));
        EXPECT_EQ(joins[0], join);
        const std::vector<Bytes> status = BattleSubs(game, battles, 7);
        ASSERT_FALSE(status.empty());
        EXPECT_TRUE(StartsWith(status[0], Concat({Header(battle, 7, 10), {kMe, 0}})));
    }

    // My attacks, a click on it each time my character stands, until it
    // falls: between them it attacks me, and its wave comes.
    int clicks = 0;
    for (; clicks < 40 && layer->m_battleOver == 0; ++clicks) {
        h.RunUntil([&] { return Me()->GetAction() == CCreature::orderStand && monster->GetAction() == CCreature::orderStand; },
                   20000);
        BodyOnScreen(*monster, sx, sy);
        town.ClickAt(sx, sy);
        h.RunForMs(1500);
    }
    ASSERT_TRUE(h.RunUntil([&] { return layer->m_battleOver == 1; }, 20000)) << "after " << clicks << " clicks";
    EXPECT_FALSE(monster->IsAlive());
    // It fades out and stays gone.
    h.RunForMs(2500);
    Layer()->GetBackground()->WorldToScreen(monster->GetPixelX(), monster->GetPixelY(), footX, footY);
    EXPECT_EQ(SlimeShown(h.Platform().video.lastPresent, footX, footY), 0);

    // What the server took: my attacks with my own strength, agility,
    // courage and equipment; its attacks' hits on me; its wave's two
    // relays with its sums.
    {
        const CharacterRecord& rec = layer->MyRecord();
        Bytes attack = Header(battle, 4, 26);
        Put16(attack, kMe);
        Put16(attack, M::kId);
        for (size_t off : {R::kStrength, R::kAgility, R::kCourage})
            Put16(attack, rec.U32(off));
        for (int s = 0; s < R::kEquipSlots; ++s)
            Put16(attack, rec.Equip(s));
        const std::vector<Bytes> attacks = BattleSubs(game, battles, 4);
        ASSERT_GE(attacks.size(), static_cast<size_t>(M::kHits));
        for (const Bytes& a : attacks)
            EXPECT_EQ(a, attack);
        const std::vector<Bytes> hits = BattleSubs(game, battles, 5);
        ASSERT_FALSE(hits.empty());
        for (const Bytes& hit : hits) {
            EXPECT_EQ(hit.size(), 19u);
            EXPECT_TRUE(StartsWith(hit, Concat({Header(battle, 5, 12), {kMe, 0, M::kId & 0xFF, M::kId >> 8}})));
        }
        const std::vector<Bytes> relays = BattleSubs(game, battles, 154), quakes = BattleSubs(game, battles, 20);
        ASSERT_FALSE(relays.empty()) << "the wave came before the end";
        ASSERT_EQ(quakes.size(), relays.size());
        Bytes sums;
        for (int v : {M::kStrength, M::kAgility, M::kCourage})
            PutU32(sums, static_cast<uint32_t>(v));
        Bytes cells;
        for (uint32_t v : {CSampleMonster::kStat, CSampleMonster::kStat, static_cast<uint32_t>(M::kCourage)})
            PutU32(cells, v);
        cells.resize(cells.size() + 16, 0);
        for (size_t i = 0; i < relays.size(); ++i) {
            const Bytes id = {M::kId & 0xFF, M::kId >> 8};
            ASSERT_EQ(relays[i].size(), 7u + 22u);
            EXPECT_TRUE(StartsWith(relays[i], Concat({Header(battle, 154, 22), id})));
            EXPECT_EQ(Bytes(relays[i].end() - 12, relays[i].end()), sums);
            ASSERT_EQ(quakes[i].size(), 7u + 38u);
            EXPECT_TRUE(StartsWith(quakes[i], Concat({Header(battle, 20, 38), id})));
            EXPECT_EQ(Bytes(quakes[i].begin() + 9, quakes[i].begin() + 17), Bytes(relays[i].begin() + 9, relays[i].begin() + 17))
                << "the quake at the wave's cell";
            EXPECT_EQ(Bytes(quakes[i].end() - 28, quakes[i].end()), cells);
        }
    }

    // The rewards: a potion in my first free slot, the money and the
    // experience, reported to the server field by field.
    const CharacterRecord& after = Me()->GetCharRecord();
    EXPECT_EQ(after.Item(freeSlot), M::kItem);
    EXPECT_EQ(after.I32(R::kMoney), before.I32(R::kMoney) + M::kMoney);
    const int remains = after.I32(R::kRemain) - before.I32(R::kRemain);
    EXPECT_GE(remains, 0);
    if (remains == 0) {
        EXPECT_EQ(after.I32(R::kExperience), before.I32(R::kExperience) + M::kExperience);
    }
    h.RunForMs(500);
    EXPECT_EQ(game.Record().I32(R::kMoney), after.I32(R::kMoney));
    EXPECT_EQ(game.Record().I32(R::kExperience), after.I32(R::kExperience));
    EXPECT_EQ(game.Items()[static_cast<size_t>(freeSlot)], M::kItem);
    EXPECT_GT(game.Taken(53).size(), fields);

    // Ctrl+S: the status window shows the new experience and money.
    town.Chord({kCtrl, kS});
    CWidget* status = g_layerHolder.GetLayer()->GetRootContainer()->FindChild(6);
    ASSERT_TRUE(h.RunUntil([&] { return status->GetState() == CWidget::kOpen; }, 20000));
    h.RunForMs(300);
    char text[32];
    std::snprintf(text, sizeof text, "%d", after.I32(R::kMoney));
    EXPECT_GT(StatusShows(town, 523, text), 0.95) << text;
    std::snprintf(text, sizeof text, "%d/%d", after.I32(R::kExperience), CalcNextRemainExp(after));
    EXPECT_GT(StatusShows(town, 196, text), 0.95) << text;
    town.Key(kEscape);
    ASSERT_TRUE(h.RunUntil([&] { return !Ui().IsWindowOpen(6); }, 20000));

    // The right click leaves: the area is left, then stage 0 entered where
    // I stood, and the monster is back at its place.
    const int mx = Me()->GetTileX(), my = Me()->GetTileY();
    h.MouseMove(300, 300);
    h.RunForMs(70);
    h.Click(2, 300, 300);
    ASSERT_TRUE(h.RunUntil([&] { return layer->m_inBattle == 0 && layer->m_stageChanging == 0 && Me(); }, 100000));
    EXPECT_EQ(g_currentMapId, 0);
    EXPECT_EQ(g_lastLoadedStage, 0);
    const std::vector<Bytes> left = game.Taken(34), entered = game.Taken(3);
    ASSERT_EQ(left.size(), leaves + 1);
    EXPECT_EQ(left.back(), (Bytes{34, kMe, 0}));
    ASSERT_EQ(entered.size(), entries + 1);
    EXPECT_EQ(entered.back(), (Bytes{3, 1, static_cast<uint8_t>(mx), static_cast<uint8_t>(mx >> 8),
                                     static_cast<uint8_t>(my), static_cast<uint8_t>(my >> 8)}));
    ASSERT_TRUE(h.RunUntil([&] { return layer->FindCharacterById(M::kId) != nullptr; }, 20000));
    EXPECT_FALSE(BarButtonShown(h.Platform().video.lastPresent, 0));
    // The experience bought free points: back on the field their window
    // asks to spend them; Escape puts it away.
    if (remains > 0) {
        ASSERT_TRUE(h.RunUntil([&] { return Ui().IsWindowOpen(kParameterWindow); }, 20000));
        town.Key(kEscape);
        ASSERT_TRUE(h.RunUntil([&] { return !Ui().IsWindowOpen(kParameterWindow); }, 20000));
    }

    // And walks back to where the step began: the steps reach the server.
    const size_t steps = game.Steps().size();
    WalkByRoad(town, homeX, homeY);
    EXPECT_EQ(Me()->GetTileX(), homeX);
    EXPECT_EQ(Me()->GetTileY(), homeY);
    EXPECT_GT(game.Steps().size(), steps);
    EXPECT_EQ(game.Steps().back(), std::make_pair(homeX, homeY));
    EXPECT_EQ(game.Dropped(), 0);
}

TEST(SampleWorldBattle, TheTideSlimeIsChallengedFoughtAndLeftByClicks)
{
    CSampleTown town;
    ASSERT_TRUE(town.LogIn(false));
    // Up the road out of its sight first: the client lets it go, and the
    // server shows it again as the player comes back.
    for (int tries = 0; tries < 8 && Me()->GetTileY() > M::kY - 15; ++tries) {
        int sx = 0, sy = 0;
        CSampleTown::CellOnScreen(Me()->GetTileX(), Me()->GetTileY() - 4, sx, sy);
        town.ClickAt(sx, sy);
        town.h.RunForMs(1500);
    }
    ASSERT_LE(Me()->GetTileY(), M::kY - 15);
    EXPECT_EQ(Layer()->FindCharacterById(M::kId), nullptr);
    FightTheTideSlime(town);
    EXPECT_TRUE(town.h.Boxes().empty());
}


