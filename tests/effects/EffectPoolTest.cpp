// The effect manager's pools and the starts that take from them, with
// arguments from packets and from other code that may be anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <typeindex>
#include <vector>

#include "EffectBed.h"
#include "core/AnimSpriteSet.h"
#include "effects/AreaHit.h"
#include "fixtures/SpellSprites.h"
#include "platform/Crt.h"
#include "world/BGLayer.h"
#include "world/Character.h"

namespace {

CRleImage* AnyImage(CEffectBed& b) { return b.Layer().GetCharSet(0)->GetFrame(0); }

}  // namespace

TEST(EffectPools, EveryKindRefusesTheThirteenthStartAndReusesTheLowestIdleSlot)
{
    CEffectBed b;
    CCharacter& me = b.bed.Me(20, 20);
    CRleImage* image = AnyImage(b);
    using Start = std::function<CEffect*()>;
    const std::vector<std::pair<const char*, Start>> kinds = {
        {"damage", [&] { return b.fx.StartDamage(10, 10, -3, 0, &me); }},
        {"death man", [&] { return b.fx.StartDeathMan(10, 10, 0); }},
        {"fire storm cast", [&] { return b.fx.StartFireStomMain(10, 10, &me); }},
        {"fire storm", [&] { return b.fx.StartFireStom(10, 10, 0); }},
        {"use item", [&] { return b.fx.StartUseItem(10, 10, 0); }},
        {"used item", [&] { return b.fx.StartUsedItem(10, 10); }},
        {"yellow use item", [&] { return b.fx.StartUseItemColor(CEffectManager::colourYellow, 1, 1); }},
        {"blue used item 1", [&] { return b.fx.StartUsedItemColor(CEffectManager::usedBlue1, 1, 1); }},
        {"use item wave", [&] { return b.fx.StartUseItemWave(1, 1); }},
        {"red wave", [&] { return b.fx.StartUseItemWaveColor(CEffectManager::colourRed, 1, 1); }},
        {"poseidon", [&] { return b.fx.StartPoseidon(1, 1, 0); }},
        {"poseidon wave", [&] { return b.fx.StartPoseidonWave(1, 1, 0); }},
        {"quake", [&] { return b.fx.StartDeathManSub(1, 1, 16, 30, &me); }},
        {"earthquake", [&] { return b.fx.StartEarthquake(1, 1); }},
        {"ghosts", [&] { return b.fx.StartGhostCalling(1, 1, 0); }},
        {"missile", [&] { return b.fx.StartGeneric108(0, 0, 100, 0, image); }},
        {"two-image missile", [&] { return b.fx.StartGeneric108b(0, 0, 100, 0, 50, image, image); }},
        {"bolt pool 9", [&] { return b.fx.StartBigEffect(9, 0, 0, 100, 0, 0, 0); }},
        {"hinotori", [&] { return b.fx.StartHinotori(1, 1, 0); }},
        {"hellion", [&] { return b.fx.StartHellion(1, 1, 0); }},
        {"salamander", [&] { return b.fx.StartSalamander(1, 1); }},
        {"screen shake", [&] { return b.fx.StartScreenShake(1, 1, 8, 52); }},
        {"fire birds", [&] { return b.fx.StartEffectFire(1, 1); }},
    };
    for (const auto& [name, start] : kinds) {
        SCOPED_TRACE(name);
        // Kinds may share a pool.
        b.fx.ClearAll();
        std::vector<CEffect*> taken;
        for (int i = 0; i < CEffectManager::kPoolSize; ++i) {
            CEffect* e = start();
            ASSERT_NE(e, nullptr);
            EXPECT_TRUE(e->IsActive());
            for (CEffect* t : taken)
                EXPECT_NE(t, e);
            taken.push_back(e);
        }
        EXPECT_EQ(start(), nullptr) << "a full pool";
        for (CEffect* t : taken)
            EXPECT_TRUE(t->IsActive());
        taken[5]->Stop();
        taken[8]->Stop();
        EXPECT_EQ(start(), taken[5]) << "the lowest idle slot";
        EXPECT_EQ(start(), taken[8]);
        EXPECT_EQ(start(), nullptr);
    }
    for (const auto& [name, start] : kinds)
        start();
    b.fx.StartChatBalloon(&me, "hello", 15);
    EXPECT_GT(b.fx.CountActive(), 21);
    b.fx.ClearAll();
    EXPECT_EQ(b.fx.CountActive(), 0);
    EXPECT_EQ(me.GetBalloon(), nullptr) << "a stopped balloon is forgotten by its speaker";
    b.Frame();
    EXPECT_EQ(std::count(b.screen.begin(), b.screen.end(), CEffectBed::kBlank), 800 * 600) << "nothing drawn";
}

TEST(EffectPools, StartsWithArgumentsOutsideTheirRangesStartNothing)
{
    CEffectBed b;
    CCharacter& me = b.bed.Me(20, 20);
    CRleImage* image = AnyImage(b);
    for (int pool : {INT_MIN, -1, 0, 10, INT_MAX})
        EXPECT_EQ(b.fx.StartBigEffect(pool, 0, 0, 10, 10, 0, 0), nullptr) << pool;
    for (int colour : {INT_MIN, -1, int{CEffectManager::colourBase}, 99}) {
        EXPECT_EQ(b.fx.StartUseItemColor(colour, 0, 0), nullptr) << colour;
        EXPECT_EQ(b.fx.StartUseItemWaveColor(colour, 0, 0), nullptr) << colour;
    }
    for (int colour : {INT_MIN, -1, int{CEffectManager::kUsedItemPools}})
        EXPECT_EQ(b.fx.StartUsedItemColor(colour, 0, 0), nullptr) << colour;
    // Bolts of 16 segments or more are refused, and the slot stays idle.
    EXPECT_EQ(b.fx.StartBigEffect(1, 0, 0, 480, 0, 0, 0), nullptr);
    EXPECT_EQ(b.fx.StartBigEffect(1, INT_MIN, INT_MIN, INT_MAX, INT_MAX, 0, 0), nullptr);
    EXPECT_EQ(b.fx.StartGeneric108(0, 0, 10, 10, nullptr), nullptr);
    EXPECT_EQ(b.fx.StartGeneric108b(0, 0, 10, 10, 5, image, nullptr), nullptr);
    EXPECT_EQ(b.fx.StartGeneric108b(0, 0, 10, 10, 5, nullptr, image), nullptr);
    EXPECT_EQ(b.fx.StartChatBalloon(nullptr, "x", 1), nullptr);
    EXPECT_EQ(b.fx.StartChatBalloon(&me, nullptr, 1), nullptr);
    b.fx.StartChatBalloon(uint16_t{999}, "nobody says this", 15);
    for (int index : {INT_MIN, INT_MAX}) {
        b.Layer().m_deathMarkFlag = 1;
        b.Layer().m_deathMarkIndex = index;
        b.fx.ResetDeathMan();
    }
    EXPECT_EQ(b.fx.CountActive(), 0);
    // Far-out positions draw nothing and end as usual.
    CLightningEffect* bolt = b.fx.StartBigEffect(3, INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX, 7, 9);
    ASSERT_NE(bolt, nullptr);
    b.fx.StartDamage(INT_MAX, INT_MIN, INT_MIN, 0, &me);
    b.fx.StartGeneric108(INT_MIN, INT_MIN, INT_MAX, INT_MAX, image);
    b.fx.StartFireStomMain(INT_MIN, INT_MAX, &me);
    b.fx.StartDeathManSub(INT_MAX, INT_MIN, INT_MAX, 30, &me);
    b.fx.StartUseItem(INT_MIN, INT_MIN, 0);
    for (int i = 0; i < 200 && b.fx.CountActive() > 0; ++i)
        b.Frame();
    EXPECT_EQ(b.fx.CountActive(), 0);
}

TEST(ResetDeathMan, ClearsTheCurrentPairAndCureFlagOnlyWhileTheFlagIsSetAndTheFlagWithTheLastEntry)
{
    struct Row {
        const char* name;
        uint32_t flag;
        std::vector<int> entries;
        int index;
        std::vector<int> left;
        uint32_t flagAfter;
    };
    const Row rows[] = {
        {"flag clear", 0, {3}, 3, {3}, 0},
        {"one of two", 1, {3, 7}, 3, {7}, 1},
        {"the last one", 1, {7}, 7, {}, 0},
        {"index 40", 1, {7}, 40, {7}, 1},
        {"index -1", 1, {7}, -1, {7}, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CEffectBed b;
        CCharacter& me = b.bed.Me(20, 20);
        CCharacter& other = b.bed.Add(100, 22, 20, 1);
        CObjLayer& layer = b.Layer();
        layer.m_deathMarkFlag = r.flag;
        layer.m_cureReceived = 1;
        for (int e : r.entries)
            layer.m_deathMarks[static_cast<size_t>(e)] = {&other, &me};
        b.fx.StartDeathMan(0, 0, 0);
        b.fx.StartDeathMan(0, 0, 0);
        b.fx.StartDamage(0, 0, 5, 0, &me);
        layer.m_deathMarkIndex = r.index;
        b.fx.ResetDeathMan();
        EXPECT_EQ(b.fx.CountActive(), 1) << "the death marks stop, nothing else";
        for (int i = 0; i < CObjLayer::kDeathMarkPairs; ++i) {
            const bool kept = std::find(r.left.begin(), r.left.end(), i) != r.left.end();
            EXPECT_EQ(layer.m_deathMarks[static_cast<size_t>(i)].first, kept ? &other : nullptr) << i;
        }
        EXPECT_EQ(layer.m_deathMarkFlag, r.flagAfter);
        // With the flag set, the word beside it (the Cure flag) is cleared
        // and the current pair's flag set.
        EXPECT_EQ(layer.m_cureReceived, r.flag ? 0u : 1u);
        for (int i = 0; i < CObjLayer::kDeathMarkPairs; ++i)
            EXPECT_EQ(layer.m_deathMarkMarked[static_cast<size_t>(i)], r.flag && i == r.index ? 1u : 0u) << i;
    }
}

TEST(ChatBalloons, AreDrawnLowerOnTheScreenFirstAmongTheActiveOnes)
{
    CEffectBed b;
    b.bed.Me(20, 20);
    // Speaker 5 stands lower on the screen than speaker 0.
    std::vector<CCharacter*> speakers;
    for (int i = 0; i < 6; ++i)
        speakers.push_back(&b.bed.Add(100 + i, 18 + i, 18 + i, 1));
    std::vector<CChatBalloon*> balloons;
    for (CCharacter* s : speakers)
        balloons.push_back(b.fx.StartChatBalloon(s, "hi", 15));
    for (size_t i = 0; i < balloons.size(); ++i)
        ASSERT_EQ(balloons[i], &b.fx.Balloons()[i]);
    for (int i = 1; i <= 4; ++i)
        balloons[static_cast<size_t>(i)]->Stop();
    b.Frame(2);
    ASSERT_GT(balloons[5]->GetTopY(), balloons[0]->GetTopY());
    ASSERT_EQ(b.fx.GetBalloonOrderCount(), 2);
    EXPECT_EQ(b.fx.GetBalloonOrder(0), 5);
    EXPECT_EQ(b.fx.GetBalloonOrder(1), 0);
}

TEST(ChatBalloons, ASpeakerRestartsOnlyItsOwnLiveBalloon)
{
    CEffectBed b;
    b.bed.Me(20, 20);
    CCharacter& a = b.bed.Add(100, 21, 20, 1);
    CCharacter& c = b.bed.Add(101, 22, 20, 1);
    CChatBalloon* first = b.fx.StartChatBalloon(&a, "one", 15);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(b.fx.StartChatBalloon(&a, "two", 15), nullptr) << "restarted in place";
    EXPECT_STREQ(first->GetLine1(), "two");
    EXPECT_EQ(b.fx.CountActive(), 1);
    b.Frame(static_cast<int>(CChatBalloon::kLifeFrames) - 1);
    EXPECT_TRUE(first->IsActive());
    b.Frame();
    EXPECT_FALSE(first->IsActive()) << "401 frames after its start";
    EXPECT_EQ(a.GetBalloon(), nullptr);
    EXPECT_EQ(b.fx.StartChatBalloon(&c, "mine now", 15), first);
    CChatBalloon* again = b.fx.StartChatBalloon(&a, "three", 15);
    EXPECT_NE(again, first) << "a's old pointer steals nothing";
    EXPECT_STREQ(first->GetLine1(), "mine now");
    EXPECT_EQ(first->GetCharacter(), &c);
    // A speaker that leaves takes its balloon with it.
    c.RemoveFromMap();
    b.Frame();
    EXPECT_FALSE(first->IsActive());
    EXPECT_TRUE(again->IsActive());
}

TEST(ChatBalloons, SplitKeepsDoubleByteCharactersWholeAndMarksDroppedText)
{
    struct Row {
        std::string text, line1, line2;
    };
    const std::string a34(34, 'a'), b70(70, 'b');
    const Row rows[] = {
        {a34, a34, ""},
        {b70, std::string(34, 'b'), std::string(26, 'b') + "..."},
        {std::string(60, 'c'), std::string(34, 'c'), std::string(26, 'c')},
        {std::string(62, 'c'), std::string(34, 'c'), std::string(26, 'c')},
        {std::string(63, 'c'), std::string(34, 'c'), std::string(26, 'c') + "..."},
        {std::string(33, 'd') + "\xB0\xA1" + "e", std::string(33, 'd') + "\xB0\xA1", "e"},
        {"ab\xB0", "ab", ""},
        {std::string(40, 'f') + "\xB0", std::string(34, 'f'), std::string(6, 'f')},
        {"", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        // Exactly as long as the text, for the sanitizers.
        std::vector<char> text(r.text.begin(), r.text.end());
        text.push_back(0);
        std::vector<char> line1(CChatBalloon::kLineSize), line2(CChatBalloon::kLineSize);
        CChatBalloon::SplitText(text.data(), line1.data(), line2.data());
        EXPECT_EQ(std::string(line1.data()), r.line1);
        EXPECT_EQ(std::string(line2.data()), r.line2);
    }
}

namespace {

// What kind an instance is, for the table of starts.
std::string KindOf(const CEffect& e)
{
    static const std::vector<std::pair<std::type_index, const char*>> kKinds = {
        {typeid(CSalamander), "salamander"},   {typeid(CHinotori), "hinotori"},
        {typeid(CHellion), "hellion"},         {typeid(CPoseidon), "poseidon"},
        {typeid(CPoseidonWave), "wave"},       {typeid(CScreenShake), "shake"},
        {typeid(CEffectFire), "fire birds"},   {typeid(CQuakeController), "quake"},
        {typeid(CEarthquake), "earthquake"},   {typeid(CFireStom), "fire storm"},
        {typeid(CFireStomMain), "storm cast"}, {typeid(CGhostCalling), "ghosts"},
        {typeid(CDeathMan), "death man"},      {typeid(CUseItem), "use item"},
        {typeid(CUsedItem), "used item"},      {typeid(CUseItemWave), "use wave"},
    };
    for (const auto& [type, name] : kKinds)
        if (type == std::type_index(typeid(e)))
            return name;
    return "other";
}

// The set an instance draws from, for the kinds that carry one.
const void* SetOf(const CEffect& e)
{
    if (auto* s = dynamic_cast<const CSprEffect*>(&e))
        return s->GetSet();
    if (auto* t = dynamic_cast<const CTlrEffect*>(&e))
        return t->GetSet();
    if (auto* f = dynamic_cast<const CEffectFire*>(&e))
        return f->GetSet();
    if (auto* q = dynamic_cast<const CEarthquake*>(&e))
        return q->GetSet();
    if (auto* w = dynamic_cast<const CPoseidonWave*>(&e))
        return w->GetSet();
    if (auto* d = dynamic_cast<const CDeathMan*>(&e))
        return d->GetSet();
    if (auto* g = dynamic_cast<const CGhostCalling*>(&e))
        return g->GetSet(0);
    return nullptr;
}

int g_poseidonHits;
void CountPoseidonHit(CObjLayer*, int, int, int) { ++g_poseidonHits; }

}  // namespace

TEST(EffectStarts, EachTakesItsPoolAndSetDrawsAtOnceEndsOnTimeAndStartsWhatFollows)
{
    using Starts = std::map<int, std::vector<std::string>>;
    struct Row {
        const char* kind;
        std::function<CEffect*(CEffectBed&, CCharacter&)> start;
        std::function<const void*(CEffectManager&)> set;
        bool draws;
        int endMin, endMax;  // the frame it ends in; 0: it runs on
        Starts starts;       // frame -> kinds started in it
        Starts sounds;       // frame (0: the start) -> sounds
    };
    using M = CEffectManager;
    auto none = [](M&) -> const void* { return nullptr; };
    const Row rows[] = {
        {"salamander", [](CEffectBed& b, CCharacter& me) { return b.fx.StartSalamander(me.GetPixelX(), me.GetPixelY()); },
         none, true, CSalamander::kLifeFrames, CSalamander::kLifeFrames, {}, {}},
        {"hinotori", [](CEffectBed& b, CCharacter& me) { return b.fx.StartHinotori(me.GetPixelX(), me.GetPixelY(), 0); },
         [](M& fx) -> const void* { return &fx.HinotoriSet(); }, true, CSpellSprites::kHinotoriSteps,
         CSpellSprites::kHinotoriSteps, {{11, {"fire birds"}}, {12, {"shake"}}}, {{2, {"hinotori.wav"}}}},
        {"hellion", [](CEffectBed& b, CCharacter& me) { return b.fx.StartHellion(me.GetPixelX(), me.GetPixelY(), 0); },
         [](M& fx) -> const void* { return &fx.HellionSet(); }, true, CSpellSprites::kHellionSteps,
         CSpellSprites::kHellionSteps, {}, {{0, {"hellion.wav"}}}},
        {"poseidon", [](CEffectBed& b, CCharacter& me) { return b.fx.StartPoseidon(me.GetPixelX(), me.GetPixelY(), 7); },
         [](M& fx) -> const void* { return &fx.PoseidonSet(); }, true, CEffectBed::kPoseidonSteps,
         CEffectBed::kPoseidonSteps, {{12, {"wave", "wave", "wave"}}}, {{0, {"maxforce.wav"}}}},
        {"shake", [](CEffectBed& b, CCharacter& me) { return b.fx.StartScreenShake(me.GetPixelX(), me.GetPixelY(), 8, 52); },
         none, false, 52, 52, {}, {}},
        // Lit in bands up to frame 36 (while any burns), each flame burning
        // 12 frames.
        {"fire birds", [](CEffectBed& b, CCharacter& me) { return b.fx.StartEffectFire(me.GetPixelX() - 400, me.GetPixelY() - 300); },
         [](M& fx) -> const void* { return &fx.FireSet(); }, true, 13, 49, {{1, {"shake"}}}, {}},
        {"quake", [](CEffectBed& b, CCharacter& me) { return b.fx.StartDeathManSub(me.GetPixelX(), me.GetPixelY(), 16, 30, &me); },
         none, false, 88, 88, {{1, {"earthquake"}}}, {}},
        {"earthquake", [](CEffectBed& b, CCharacter& me) { return b.fx.StartEarthquake(me.GetPixelX(), me.GetPixelY()); },
         [](M& fx) -> const void* { return &fx.EarthquakeSet(); }, true, 127, 140, {}, {}},
        {"storm cast", [](CEffectBed& b, CCharacter& me) { return b.fx.StartFireStomMain(me.GetPixelX(), me.GetPixelY(), &me); },
         none, false, 32, 32, {{1, {"fire storm"}}}, {}},
        {"fire storm", [](CEffectBed& b, CCharacter& me) { return b.fx.StartFireStom(me.GetPixelX(), me.GetPixelY() + 160, 0); },
         [](M& fx) -> const void* { return &fx.FireStomSet(); }, true, 12, 12, {}, {}},
        {"wave", [](CEffectBed& b, CCharacter& me) { return b.fx.StartPoseidonWave(me.GetPixelX(), me.GetPixelY(), 0); },
         [](M& fx) -> const void* { return &fx.PoseidonWaveSet(); }, true, 4, 4, {}, {}},
        {"ghosts", [](CEffectBed& b, CCharacter& me) { return b.fx.StartGhostCalling(me.GetPixelX(), me.GetPixelY(), 0); },
         [](M& fx) -> const void* { return &fx.GhostSet(0); }, true, 402, 402, {}, {{0, {"ghost.wav"}}}},
        {"death man", [](CEffectBed& b, CCharacter& me) { return b.fx.StartDeathMan(me.GetPixelX(), me.GetPixelY(), 0); },
         [](M& fx) -> const void* { return &fx.DeathManSet(); }, true, 0, 0, {}, {{0, {"18.wav"}}}},
        {"use item", [](CEffectBed& b, CCharacter& me) { return b.fx.StartUseItem(me.GetPixelX(), me.GetPixelY(), 0); },
         [](M& fx) -> const void* { return &fx.UseItemSet(M::colourBase); }, true, 24, 24,
         {{1, {"use wave"}}, {5, {"use wave"}}, {15, {"use wave"}}}, {}},
        {"use item", [](CEffectBed& b, CCharacter& me) { return b.fx.StartUseItemColor(M::colourGreen, me.GetPixelX(), me.GetPixelY()); },
         // Its 4 images end it before its frame 15.
         [](M& fx) -> const void* { return &fx.UseItemSet(M::colourGreen); }, true, 12, 12,
         {{1, {"used item"}}, {5, {"used item"}}}, {}},
        {"used item", [](CEffectBed& b, CCharacter& me) { return b.fx.StartUsedItem(me.GetPixelX(), me.GetPixelY()); },
         [](M& fx) -> const void* { return &fx.UsedItemSet(0); }, true, 12, 12, {}, {}},
        {"used item", [](CEffectBed& b, CCharacter& me) { return b.fx.StartUsedItemColor(M::usedYellow1, me.GetPixelX(), me.GetPixelY()); },
         [](M& fx) -> const void* { return &fx.UsedItemSet(M::usedYellow1); }, true, 12, 12, {}, {}},
        {"use wave", [](CEffectBed& b, CCharacter& me) { return b.fx.StartUseItemWaveColor(M::colourBlue, me.GetPixelX(), me.GetPixelY()); },
         none, true, 12, 12, {}, {}},
    };
    g_poseidonHits = 0;
    SetMaximumForceAreaHook(CountPoseidonHit);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        plat::SRand(42);
        CEffectBed b;
        CCharacter& me = b.bed.Me(20, 20);
        CCharacter& other = b.bed.Add(100, 22, 20, 1);
        b.Layer().m_deathMarks[0] = {&other, &me};
        b.Sounds();
        CEffect* e = r.start(b, me);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(KindOf(*e), r.kind);
        if (r.set(b.fx)) {
            EXPECT_EQ(SetOf(*e), r.set(b.fx));
        }
        Starts starts, sounds;
        if (auto s = b.Sounds(); !s.empty())
            sounds[0] = s;
        int ended = 0;
        for (int f = 1; f <= 600 && !ended; ++f) {
            std::set<const CEffect*> seen{e};
            b.fx.ForEachInstance([&](const CEffect& x) {
                if (x.IsActive())
                    seen.insert(&x);
            });
            b.Frame();
            if (f == 1) {
                EXPECT_EQ(std::count(b.screen.begin(), b.screen.end(), CEffectBed::kBlank) < 800 * 600, r.draws);
            }
            b.fx.ForEachInstance([&](const CEffect& x) {
                if (x.IsActive() && seen.insert(&x).second)
                    starts[f].push_back(KindOf(x));
            });
            if (auto s = b.Sounds(); !s.empty())
                sounds[f] = s;
            ended = e->IsActive() ? 0 : f;
        }
        if (r.endMin == 0) {
            EXPECT_EQ(ended, 0) << "it runs until it is reset";
        } else {
            EXPECT_GE(ended, r.endMin);
            EXPECT_LE(ended, r.endMax);
        }
        EXPECT_EQ(starts, r.starts);
        EXPECT_EQ(sounds, r.sounds);
    }
    SetMaximumForceAreaHook(nullptr);
    EXPECT_EQ(g_poseidonHits, 3) << "one area hit per part of the strike step";
}
