// The sample world's fighters use their abilities on the tide slime as a
// player does: the real client on the headless platform and the virtual
// clock, the demo server, the sample world's own archive, nothing replaced,
// driven only by clicks. The battle bar's ATTACK button is right-clicked
// until it stands for the ability and clicked to arm it; a click on the
// slime uses it. Each ability's poses carry colours of their own, and the
// presented frames show them; the server takes the ability byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <set>
#include <vector>

#include "app/QuillonView.h"
#include "core/PaletteManager.h"
#include "fixtures/SampleFigure.h"
#include "rules/AbilitySet.h"
#include "rules/AbilityTable.h"
#include "rules/CalcData.h"
#include "support/DemoBattle.h"
#include "support/FakeServer.h"
#include "support/SampleTown.h"
#include "tools/MonsterBattle.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"

namespace {

using F = CSampleFigure;
using M = DemoMonster;
using R = CharacterRecord;

constexpr uint16_t kMe = CDemoServer::kPlayerId;
// The battle bar's ATTACK button (48 x 40 at (50, 50)).
constexpr int kAttackX = 74, kAttackY = 70;
// What is left of a turn's gauge (1800) when it counts as just begun.
constexpr int kFreshTurn = 1500;
// The rows of the screen the field takes.
constexpr int kFieldRows = 418;
// A pose shows in a frame with at least this many of its pixels.
constexpr int kShown = 8;
// The fire storm's picture stands this far over its cell.
constexpr int kStormLift = 160;
// The sample world's effect rings are drawn in the water's light and middle.
constexpr uint8_t kRingLight = 1 * 36 + 2 * 6 + 5, kRingMid = 0 * 36 + 1 * 6 + 4;

CObjLayer* Layer() { return g_pView->m_pObjLayer; }
CCharacter* Me() { return Layer()->GetMyCharacter(); }
CCharacter* Slime() { return Layer()->FindCharacterById(M::kId); }

Bytes Header(int sub, int length)
{
    Bytes b = {30, 0};
    PutU16(b, static_cast<uint16_t>(Layer()->m_battleNumber));
    b.push_back(static_cast<uint8_t>(sub));
    PutU16(b, static_cast<uint16_t>(length));
    return b;
}

// What my character sends with a dash or the counter, as the other
// clients need it: no equipment, so the sums are the record's.
Bytes Sums(const R& rec, std::initializer_list<size_t> stats)
{
    Bytes b;
    for (size_t off : stats)
        PutU32(b, rec.U32(off));
    return b;
}
Bytes Id(uint16_t id) { return {static_cast<uint8_t>(id), static_cast<uint8_t>(id >> 8)}; }

// The colours a mark of my character's may be drawn in: itself (the flight
// past the target is drawn plainly) and through my look's tint, in the
// light of my cell and of the target's.
std::set<uint8_t> Drawn(uint8_t mark, const CCreature& target)
{
    const int look = static_cast<int>(Me()->GetCharRecord().U32(R::kLook) & 63);
    std::set<uint8_t> out = {mark, g_pPalette->GetTintTable(look)[mark]};
    const CBGLayer* ground = g_pView->m_pBGLayer;
    for (const CCreature* c : {static_cast<const CCreature*>(Me()), &target}) {
        const int light = ground->GetSight(c->GetTileX(), c->GetTileY());
        if (light < CBGLayer::kFullSight)
            out.insert(g_pPalette->GetTintedShadeTable(light, look)[mark]);
    }
    return out;
}

int Count(const plat::PresentRecord& shown, const std::set<uint8_t>& colours, int x0 = 0, int y0 = 0, int x1 = 800,
          int y1 = 600)
{
    std::array<bool, 256> in{};
    for (uint8_t c : colours)
        in[c] = true;
    int n = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, 600); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, 800); ++x)
            n += in[shown.pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]] ? 1 : 0;
    return n;
}

void RightClickAt(CSampleTown& town, int x, int y)
{
    town.h.MouseMove(x, y);
    town.h.RunForMs(70);
    town.h.Click(2, x, y);
    town.h.RunForMs(70);
}

// The ATTACK button stands for the ability (right clicks turn it on to the
// next one my character owns) and is armed with a left click.
bool Arm(CSampleTown& town, int id)
{
    CAbilitySet& set = Me()->GetAbilitySet();
    for (int turns = 0; turns < 8 && set.GetCurrentId(1) != id; ++turns)
        RightClickAt(town, kAttackX, kAttackY);
    if (set.GetCurrentId(1) != id)
        return false;
    town.ClickAt(kAttackX, kAttackY);
    return set.GetSelectedCategory() == 1;
}

bool Standing(const CCreature* c) { return c && c->GetAction() == CCreature::orderStand; }

// A battle with the slime that goes on, and my character's turn just begun
// (a counter stance lasts until it ends) with both of us standing; a battle
// that is over is left first and the slime challenged again.
bool ReadyForTurn(CSampleTown& town)
{
    CHarness& h = town.h;
    CObjLayer* layer = Layer();
    auto over = [&] { return layer->m_inBattle && layer->m_battleOver; };
    auto ready = [&] { return Me()->GetMyTurn() && Standing(Me()) && Standing(Slime()); };
    for (int tries = 0; tries < 8; ++tries) {
        if (over()) {
            h.MouseMove(300, 300);
            h.RunForMs(70);
            h.Click(2, 300, 300);
            if (!h.RunUntil([&] { return !layer->m_inBattle && !layer->m_stageChanging && Me(); }, 100000))
                return false;
        }
        if (!layer->m_inBattle && !ChallengeTheTideSlime(town))
            return false;
        if (!h.RunUntil([&] { return over() || (Slime() && !Me()->GetMyTurn()); }, 100000) ||
            !h.RunUntil([&] { return over() || ready(); }, 100000))
            return false;
        if (!over() && Me()->GetCharRecord().I32(R::kTurnTimer) >= kFreshTurn)
            return true;
    }
    return false;
}

// A presented frame, and the scroll of the field it was drawn with.
struct Shown {
    const plat::PresentRecord& present;
    int scrollX, scrollY;
};

// Every frame presented until done() holds (or max frames), handed to see.
void Watch(CSampleTown& town, const std::function<bool()>& done, int max, const std::function<void(const Shown&)>& see)
{
    plat::CHeadlessVideo& video = town.h.Platform().video;
    const CBGLayer* ground = g_pView->m_pBGLayer;
    for (uint64_t last = video.presents, frames = 0; frames < static_cast<uint64_t>(max) && !done();) {
        // The frame scrolls the field at its end, for the next one.
        const int sx = ground->GetScrollX(), sy = ground->GetScrollY();
        town.h.Step();
        if (video.presents != last) {
            last = video.presents;
            ++frames;
            see(Shown{video.lastPresent, sx, sy});
        }
    }
}

// Pixels of a flight: its pictures are drawn half over what is under them
// (blend level 3), so against the same place of the field in the reference
// frame (the camera rides the flight) they show the mix of the mark and the
// field.
int CountBlended(const Shown& now, const Shown& before, uint8_t mark)
{
    const uint8_t* mix = g_pPalette->GetBlendTable(3) + static_cast<size_t>(mark) * 256;
    int n = 0;
    for (int y = 0; y < kFieldRows; ++y) {
        const int ry = y + now.scrollY - before.scrollY;
        for (int x = 0; x < 800; ++x) {
            const int rx = x + now.scrollX - before.scrollX;
            if (rx < 0 || ry < 0 || rx >= 800 || ry >= kFieldRows)
                continue;
            const uint8_t under = before.present.pixels[static_cast<size_t>(ry) * 800 + static_cast<size_t>(rx)];
            const uint8_t p = now.present.pixels[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)];
            n += p == mix[under] && p != under ? 1 : 0;
        }
    }
    return n;
}

// The frames of an ability of mine: from the click that uses it until its
// routine has ended and `after` frames more, each mark's count of frames
// it showed in: the poses' marks, then the flights'.
struct Played {
    std::vector<int> frames;
    bool started = false;
};

Played Use(CSampleTown& town, int id, const CCreature& target, const std::vector<uint8_t>& marks, int after,
           const std::vector<uint8_t>& flights = {}, const std::function<void(const Shown&)>& see = {})
{
    Played p;
    p.frames.assign(marks.size() + flights.size(), 0);
    std::vector<std::set<uint8_t>> drawn;
    for (uint8_t m : marks)
        drawn.push_back(Drawn(m, target));
    for (const std::set<uint8_t>& d : drawn)
        EXPECT_LT(Count(town.h.Platform().video.lastPresent, d), kShown) << "shown before the ability";
    if (!Arm(town, id)) {
        ADD_FAILURE() << "the ATTACK button does not stand for ability " << id;
        return p;
    }
    int sx = 0, sy = 0;
    BodyOnScreen(target, sx, sy);
    town.h.MouseMove(sx, sy);
    town.h.RunForMs(70);
    town.h.Click(1, sx, sy);
    // The frame that takes the click: the ability starts in the next.
    std::vector<uint8_t> reference;
    int refX = 0, refY = 0;
    int tail = -1;
    Watch(town, [&] { return tail == 0; }, 600, [&](const Shown& shown) {
        if (reference.empty()) {
            reference = shown.present.pixels;
            refX = shown.scrollX;
            refY = shown.scrollY;
        }
        if (Me()->GetAction() == CCreature::orderAbility)
            p.started = true;
        else if (p.started && tail < 0)
            tail = after;
        if (tail > 0)
            --tail;
        for (size_t i = 0; i < marks.size(); ++i)
            p.frames[i] += Count(shown.present, drawn[i]) >= kShown ? 1 : 0;
        plat::PresentRecord before;
        for (size_t i = 0; i < flights.size(); ++i) {
            if (before.pixels.empty())
                before.pixels = reference;
            p.frames[marks.size() + i] += CountBlended(shown, Shown{before, refX, refY}, flights[i]) >= kShown;
        }
        if (see)
            see(shown);
    });
    return p;
}

// A dash wants room: my character steps back from the slime first, three
// cells away from it on the side it stands.
void StepBack(CSampleTown& town)
{
    const CCreature* slime = Slime();
    auto away = [](int me, int it) { return me > it ? 1 : me < it ? -1 : 1; };
    const int x = slime->GetTileX() + 3 * away(Me()->GetTileX(), slime->GetTileX());
    const int y = slime->GetTileY() + 3 * away(Me()->GetTileY(), slime->GetTileY());
    int sx = 0, sy = 0;
    CSampleTown::CellOnScreen(x, y, sx, sy);
    town.ClickAt(sx, sy);
    town.h.RunUntil([] { return Standing(Me()) && Me()->GetOrder() == CCreature::orderStand; }, 20000);
}

struct Dash {
    int id;
    int sub;
    std::vector<uint8_t> flights;  // drawn blended; the flight past plainly
};

}  // namespace

// The warrior, the hero on the first card, uses his counter and his three
// dashes. The counter: in his turn he strikes the slime, then takes the
// stance; the slime's next turn calls its quake on him, and the stance
// strikes back (told with stance value 1). Each dash: back from the slime,
// the flight toward it and the dash drawn, the server told with his sums.
TEST(AbilitiesPlay, TheWarriorsCounterAndDashesPlay)
{
    CSampleTown town;
    CDemoServer& game = town.game;
    ASSERT_TRUE(town.LogIn(false));
    const CAbilitySet& owned = Me()->GetAbilitySet();
    for (int id : {kAbilityPowerBreak, kAbilityGuardBreak, kAbilityCounterBreak, kAbilityPowerBreakII})
        EXPECT_TRUE(owned.IsOwned(id)) << id;
    const R& rec = Me()->GetCharRecord();
    const int mpAtStart = rec.I32(R::kMp);
    EXPECT_GE(mpAtStart, GetAbilityMpCost(kAbilityPowerBreak, rec) + GetAbilityMpCost(kAbilityGuardBreak, rec) +
                             GetAbilityMpCost(kAbilityCounterBreak, rec) + GetAbilityMpCost(kAbilityPowerBreakII, rec));

    // The counter.
    bool struck = false;
    for (int cycle = 0; cycle < 4 && !struck; ++cycle) {
        ASSERT_TRUE(ReadyForTurn(town)) << "cycle " << cycle;
        CCharacter* slime = Slime();
        int sx = 0, sy = 0;
        BodyOnScreen(*slime, sx, sy);
        town.ClickAt(sx, sy);
        ASSERT_TRUE(town.h.RunUntil([] { return Standing(Me()) && Me()->GetOrder() == CCreature::orderStand; }, 20000));
        const size_t from = game.Taken(30).size();
        const int mp = rec.I32(R::kMp), slimeHp = slime->GetCharRecord().I32(R::kHp);
        const Played p = Use(town, kAbilityCounterBreak, *slime, {F::kCounterMark}, 10);
        ASSERT_TRUE(p.started);
        EXPECT_EQ(rec.I32(R::kMp), mp - GetAbilityMpCost(kAbilityCounterBreak, rec));
        const std::vector<Bytes> counters = BattleSubs(game, from, 14);
        if (counters.empty())
            continue;  // a plain attack broke the stance: the quake comes next turn
        struck = true;
        EXPECT_EQ(counters[0], Concat({Header(14, 17), Id(kMe), Id(M::kId),
                                       Sums(rec, {R::kStrength, R::kAgility, R::kCourage}), {1}}));
        EXPECT_TRUE(BattleSubs(game, from, 5).empty()) << "the quake is struck back, not taken";
        EXPECT_LT(slime->GetCharRecord().I32(R::kHp), slimeHp) << "the counter hits";
        EXPECT_GT(p.frames[0], 1) << "the stance and the strike are drawn";
    }
    EXPECT_TRUE(struck) << "the slime's quake met the stance";

    // The dashes, each in a turn of its own.
    const Dash dashes[] = {
        {kAbilityPowerBreak, 11, {F::kFlyMark}},
        {kAbilityGuardBreak, 13, {F::kFlyMark}},
        {kAbilityPowerBreakII, 16, {F::kFlyMark}},
    };
    for (const Dash& d : dashes) {
        SCOPED_TRACE(d.id);
        ASSERT_TRUE(ReadyForTurn(town));
        StepBack(town);
        CCharacter* slime = Slime();
        const int startX = Me()->GetTileX(), startY = Me()->GetTileY();
        const int mp = rec.I32(R::kMp);
        const size_t from = game.Taken(30).size();
        std::vector<uint8_t> marks = {F::kDashMark};
        if (d.id == kAbilityGuardBreak)
            marks.push_back(F::kFlyPastMark);
        const Played p = Use(town, d.id, *slime, marks, 5, d.flights);
        ASSERT_TRUE(p.started);
        for (size_t i = 0; i < p.frames.size(); ++i)
            EXPECT_GT(p.frames[i], 1) << "mark " << i;
        EXPECT_NE(std::pair(Me()->GetTileX(), Me()->GetTileY()), std::pair(startX, startY)) << "dashed to the slime";
        EXPECT_EQ(rec.I32(R::kMp), mp - GetAbilityMpCost(d.id, rec));
        const Bytes sums = Sums(rec, {R::kStrength, R::kAgility, R::kCourage});
        const std::vector<Bytes> sent = BattleSubs(game, from, d.sub);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0], d.sub == 13 ? Concat({Header(13, 16), Id(M::kId), sums, Id(kMe)})
                                       : Concat({Header(d.sub, 16), Id(kMe), Id(M::kId), sums}));
    }
    EXPECT_TRUE(town.h.Boxes().empty());
    EXPECT_EQ(game.Dropped(), 0);
}

// The mage, on the third card, calls the fire storm and the quake on the
// slime: the raise, hold and lower drawn; the storm's picture stands over
// the slime's cell and strikes it; the quake shakes the field while the
// mage stands, and strikes it too. The server is told the cell and the
// mage's constitution, wisdom and courage.
TEST(AbilitiesPlay, TheMagesStormAndQuakePlay)
{
    CSampleTown town;
    CDemoServer& game = town.game;
    ASSERT_TRUE(town.ToCharacterScreen(false));
    ASSERT_TRUE(town.Play(CDemoServer::kMageSlot));
    EXPECT_EQ(game.Record().Name(), CDemoServer::kMageName);
    const CAbilitySet& owned = Me()->GetAbilitySet();
    EXPECT_TRUE(owned.IsOwned(kAbilityFireStorm));
    EXPECT_TRUE(owned.IsOwned(kAbilityEarthQuake));
    const R& rec = Me()->GetCharRecord();

    for (int id : {kAbilityFireStorm, kAbilityEarthQuake}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(ReadyForTurn(town));
        CCharacter* slime = Slime();
        const int gx = slime->GetTileX(), gy = slime->GetTileY();
        const int mp = rec.I32(R::kMp), slimeHp = slime->GetCharRecord().I32(R::kHp);
        const size_t from = game.Taken(30).size();
        // The storm's rings over the ground's own colours there.
        int storm = 0, ground0 = -1;
        std::set<std::pair<int, int>> scrolls;
        const CBGLayer* ground = g_pView->m_pBGLayer;
        const Played p = Use(town, id, *slime, {F::kRaiseMark, F::kHoldMark, F::kLowerMark}, 70, {},
                             [&](const Shown& frame) {
                                 const plat::PresentRecord& shown = frame.present;
                                 int px = 0, py = 0, sx = 0, sy = 0;
                                 CBGLayer::TileToPixel(gx, gy, px, py);
                                 ground->WorldToScreen(px + 32, py + 16, sx, sy);
                                 const int rings = Count(shown, {kRingLight, kRingMid}, sx - 24,
                                                         sy - kStormLift - 24, sx + 24, sy - kStormLift + 24);
                                 if (ground0 < 0)
                                     ground0 = rings;
                                 storm += rings > ground0 + kShown;
                                 scrolls.insert({ground->GetScrollX(), ground->GetScrollY()});
                             });
        ASSERT_TRUE(p.started);
        for (size_t i = 0; i < p.frames.size(); ++i)
            EXPECT_GT(p.frames[i], 1) << "phase " << i;
        EXPECT_EQ(rec.I32(R::kMp), mp - GetAbilityMpCost(id, rec));
        EXPECT_LT(slime->GetCharRecord().I32(R::kHp), slimeHp) << "struck";
        if (id == kAbilityFireStorm)
            EXPECT_GT(storm, 1) << "the storm over the slime";
        else
            EXPECT_GT(scrolls.size(), 2u) << "the quake shakes the field";
        const int sub = id == kAbilityFireStorm ? 17 : 20;
        Bytes cell;
        PutU32(cell, static_cast<uint32_t>(gx));
        PutU32(cell, static_cast<uint32_t>(gy));
        const std::vector<Bytes> sent = BattleSubs(game, from, sub);
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_EQ(sent[0], Concat({Header(sub, 38), Id(kMe), cell,
                                   Sums(rec, {R::kConstitution, R::kWisdom, R::kCourage}), Bytes(16, 0)}));
    }
    EXPECT_TRUE(town.h.Boxes().empty());
    EXPECT_EQ(game.Dropped(), 0);
}
