// The colony's rules, computed by hand: a new colony, placing and
// demolishing, the life of a facility, the production tick and the value.
#include <cstdlib>
#include <map>

#include "app/CommandRing.h"
#include "colony/SimCursor.h"
#include "windows/PlayerInfo.h"
#include "ColonyTestSupport.h"

namespace {

using Packets = std::vector<SentPacket>;

SentPacket Resources(int32_t value, int rate, int wood, int stone, int iron, int crystal)
{
    Bytes b = {'d', 2};
    PutU32(b, static_cast<uint32_t>(value));
    b.push_back(static_cast<uint8_t>(rate));
    for (int v : {wood, stone, iron, crystal})
        PutU16(b, static_cast<uint16_t>(v));
    return b;
}

SentPacket MoneyField(int32_t money)
{
    Bytes b = {53, 30};
    PutU32(b, static_cast<uint32_t>(money));
    return b;
}

std::string Notice(const char* text, int draws) { return CCallLog::Call("ShowNotice", text, draws); }

class ColonyRules : public ColonyTest {};

TEST_F(ColonyRules, NewColonyHasItsFeaturesInTheirRingTheHeadquartersAndTheEdgeFacility)
{
    auto layout = [] {
        std::vector<int> v;
        for (CSimMapObject* o : g_simColony)
            v.insert(v.end(), {o->m_type, o->m_x, o->m_y});
        return v;
    };
    for (unsigned seed : {1u, 2u, 77u, 4000000000u}) {
        g_simColony.Reset(seed);
        std::map<int, int> counts;
        int last = -99999;
        for (CSimMapObject* o : g_simColony) {
            ++counts[o->m_type];
            EXPECT_GE(o->DepthKey(), last) << "sorted by x + y";
            last = o->DepthKey();
            const int ax = std::abs(o->m_x), ay = std::abs(o->m_y);
            if (o->IsFeature())
                EXPECT_TRUE((ax >= 15 || ay >= 15) && ax <= 18 && ay <= 37 &&
                            static_cast<CSimFeature*>(o)->m_variant <= 3);
            else if (o->m_type == kSimEdgeFacility)
                EXPECT_TRUE((ax == 7 || ay == 7) && o->m_x >= -8 && o->m_y >= -8 && o->AsFacility()->IsActive());
            else if (o->m_type == kSimHeadquarters)
                EXPECT_TRUE(o->m_x == 0 && o->m_y == 0 && o->AsFacility()->IsActive());
            else
                EXPECT_TRUE(o == g_simColony.m_cursorFacility && o->m_x == 999 && !o->AsFacility()->IsActive());
        }
        EXPECT_EQ(counts, (std::map<int, int>{{0, 1}, {41, 1}, {58, 1}, {59, 4}, {60, 4}, {61, 4}}));
        EXPECT_EQ(Resources(g_simColony.m_colonyValue, g_simColony.m_rate, g_simColony.m_wood, g_simColony.m_stone,
                            g_simColony.m_iron, g_simColony.m_crystal),
                  Resources(0, 30, 100, 100, 100, 0));
        EXPECT_EQ(g_simColony.m_cubes, (std::array<int32_t, 20>{0, 1, 2, 3, 4, -1, -1, -1, -1, -1, -1, -1, -1, -1,
                                                                 -1, -1, -1, -1, -1, -1}));
        const auto once = layout();
        g_simColony.Reset(seed);
        EXPECT_EQ(layout(), once) << "the same seed, the same colony";
        g_simColony.Reset(seed + 1);
        EXPECT_NE(layout(), once);
    }
}

TEST_F(ColonyRules, PlacementNeedsSevenToTwentyFromAFacilityAndThreeFromAFeature)
{
    struct Row {
        int x, y;
        int expected;
    } rows[] = {
        {6, 0, CSimColony::kPlaceTooClose},   {7, 0, CSimColony::kPlaceValid},    {0, -7, CSimColony::kPlaceValid},
        {20, -5, CSimColony::kPlaceValid},    {28, -2, CSimColony::kPlaceTooFar}, {27, 3, CSimColony::kPlaceValid},  {-21, -21, CSimColony::kPlaceTooFar},
        {14, 14, CSimColony::kPlaceValid},    {3, 3, CSimColony::kPlaceTooClose}, {9, 9, CSimColony::kPlaceTooClose},
        {-9, 2, CSimColony::kPlaceObstacle},  {-10, 12, CSimColony::kPlaceValid}, {-12, 1, CSimColony::kPlaceObstacle},
        {-13, 4, CSimColony::kPlaceObstacle}, {-14, 4, CSimColony::kPlaceValid},
    };
    // Headquarters, the edge facility, a rock; the cursor's own facility
    // stands on a valid cell and is never counted.
    Layout({{kSimHeadquarters, 0, 0}, {kSimEdgeFacility, 7, 7}, {kSimRock, -11, 2}}, 2, 2);
    for (const Row& r : rows)
        EXPECT_EQ(g_simColony.CheckPlacement(r.x, r.y), r.expected) << r.x << "," << r.y;
    // Features alone are no centre to build from.
    Layout({{kSimRock, 0, 0}, {kSimLava, 30, 0}});
    EXPECT_EQ(g_simColony.CheckPlacement(10, 0), CSimColony::kPlaceTooFar);
}

TEST_F(ColonyRules, PlacingAndDemolishingTellTheServerAndRefusalsChangeNothing)
{
    CScriptedRandom rnd;
    rnd.values = {5};
    SetMoney(777);
    Layout({{kSimHeadquarters, 0, 0}, {kSimEdgeFacility, 7, -2}, {kSimForest, 8, 12}});
    struct Row {
        int x, y;
        const char* refusal;
    } rows[] = {
        {1, 0, "Too close to another facility."}, {40, 0, "Too far from the colony's centre."},
        {8, 10, "There is some interference."},   {-3, -7, nullptr},
        {-3, -4, "Too close to another facility."},
    };
    for (const Row& r : rows) {
        ui.log.Clear();
        g_simColony.m_cursorFacility->m_x = r.x;
        g_simColony.m_cursorFacility->m_y = r.y;
        EXPECT_EQ(g_simColony.PlaceBuilding(), r.refusal ? 0 : 1);
        if (r.refusal)
            EXPECT_EQ(ui.log.Calls(), std::vector<std::string>{Notice(r.refusal, 60)});
        else
            EXPECT_EQ(TakeSentPackets(), (Packets{{'g', 45, 0xFD, 0xFF, 0xF9, 0xFF},
                                                  Resources(0, 30, 100, 100, 100, 0), MoneyField(777)}));
        EXPECT_TRUE(TakeSentPackets().empty());
    }
    CSimFacility* base = FirstOfType(kSimEmptyBase);
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(std::tuple(base->m_x, base->m_y, base->IsActive(), base->m_start, base->m_overlay),
              std::tuple(-3, -7, 1, 0, 5 % 3));
    EXPECT_EQ(CountTyped(), 4);
    // Sorted again by x + y (the cursor's facility has moved since).
    std::vector<int> depths;
    for (CSimMapObject* o : g_simColony)
        if (o != g_simColony.m_cursorFacility)
            depths.push_back(o->DepthKey());
    EXPECT_TRUE(std::is_sorted(depths.begin(), depths.end()));

    // The headquarters and the edge facility stay; the cursor's facility is
    // nothing to demolish.
    for (int type : {kSimHeadquarters, kSimEdgeFacility}) {
        ui.log.Clear();
        EXPECT_EQ(g_simColony.Demolish(FirstOfType(type)), 0);
        EXPECT_EQ(ui.log.Calls(), std::vector<std::string>{Notice("You cannot destroy this facility.", 60)});
    }
    EXPECT_EQ(g_simColony.Demolish(g_simColony.m_cursorFacility), 0);
    EXPECT_TRUE(TakeSentPackets().empty());
    g_simCursor.SetPickedFacility(base);
    EXPECT_EQ(g_simColony.Demolish(base), 1);
    EXPECT_EQ(TakeSentPackets(), (Packets{{'h', 0xFD, 0xFF, 0xF9, 0xFF}}));
    EXPECT_EQ(FirstOfType(kSimEmptyBase), nullptr);
    EXPECT_EQ(CountTyped(), 3);
    EXPECT_EQ(g_simCursor.GetPickedFacility()->m_type, 0) << "the cursor forgets what is gone";
}

TEST_F(ColonyRules, EnergyShortfallStopsTheTickByChance)
{
    // Small power plant (EEL) and school (EEB): production and use of energy.
    struct Row {
        int produced, used, roll;
        bool stops;
    } rows[] = {
        {90, 100, 79, false}, {90, 100, 80, true},  {90, 100, 199, true}, {90, 100, 0, false},
        {99, 100, 89, false}, {99, 100, 90, true},  {0, 1, 0, true},      {0, 1000, 99, true},
        {40, 80, 0, true},    {40, 79, 0, true},    {40, 44, 0, false},   {40, 44, 80, false}, {40, 44, 81, true},   {100, 100, 99, false}, {50, 0, 99, false},
    };
    for (const Row& r : rows) {
        FacilityValues plant, school;
        plant.energy = r.produced;
        school.energy = -r.used;
        g_simBuildingTable.Rebuild();
        LoadValues(CFacilityDatBuilder().Add("EEL", plant).Add("EEB", school));
        Layout({{kSimHeadquarters, 0, 0}, {54, 8, 0}, {55, 0, 8}, {55, 9, 9, 0}});
        CScriptedRandom rnd;
        rnd.values = {r.roll};
        g_simColony.m_wood = 50;
        ui.log.Clear();
        TakeSentPackets();
        g_simColony.Tick();
        const bool stopped = ui.log.Count("ShowNotice") == 1;
        EXPECT_EQ(stopped, r.stops) << r.produced << "/" << r.used << " roll " << r.roll;
        EXPECT_EQ(rnd.drawn, r.produced < r.used ? 1 : 0);
        if (stopped) {
            EXPECT_EQ(ui.log.Calls()[0], Notice("Colony is not functional for insufficient of energy.", 300));
            EXPECT_TRUE(TakeSentPackets().empty());
        } else {
            EXPECT_EQ(TakeSentPackets().size(), 2u);
        }
    }
}

TEST_F(ColonyRules, TickAppliesProductionIncomeAndValueOrNothingAtAll)
{
    // Housing (EWW) gives the capacity and some production; the small power
    // plant (EEL) uses crystal.
    FacilityValues housing, plant;
    housing.capacity = {5000, 6000, 7000};
    housing.production = {10, 1, 2, 3, 0};
    plant.energy = 5;
    plant.production = {0, 0, 0, 0, -2};
    LoadValues(CFacilityDatBuilder().Add("EWW", housing).Add("EEL", plant));
    Record().SetU32(CharacterRecord::kServerValue28, 30);
    SetGameTime(240);
    SetMoney(500);
    // Built at 0 (build time 240), and a plant still building.
    Layout({{kSimHeadquarters, 0, 0}, {32, 8, 0, 1, 0}, {54, 0, 8, 1, 0}, {54, 9, 9, 1, 100}});
    g_simColony.m_colonyValue = 1234;
    g_simColony.m_crystal = 1;

    // Crystal would end at -1: nothing at all changes.
    g_simColony.Tick();
    EXPECT_EQ(ui.log.Calls(),
              std::vector<std::string>{Notice("Colony is not functional for insufficient of resource.", 300)});
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_EQ(std::tuple(Money(), g_simColony.m_wood, g_simColony.m_colonyValue), std::tuple(500, 100, 1234));

    // Income (1234 / 100) x (30 x 120) / 12 = 3600 on the old value; value
    // 1234 + (310 - 1234) / 8 = 1119.
    g_simColony.m_crystal = 2;
    g_simColony.Tick();
    EXPECT_EQ(TakeSentPackets(), (Packets{Resources(1119, 30, 101, 102, 103, 0), MoneyField(500 + 10 + 3600)}));
    EXPECT_EQ(Money(), 4110);
    EXPECT_EQ(g_simColony.m_colonyValue, 1119);

    // The field's game clock ticks the colony on every 240th of its steps
    // (1800 calls each); by then the second plant is built too.
    for (uint32_t at : {479u, 480u}) {
        SetGameTime(at);
        g_simColony.m_crystal = 4;
        for (int i = 0; i < 1800; ++i)
            world.Layer().TickClock();
        EXPECT_EQ(Record().U32(CharacterRecord::kGameTime), at + 1);
        EXPECT_EQ(g_simColony.m_crystal, at == 480 ? 0 : 4) << at;
    }
    TakeSentPackets();

    // Money near the top of its range saturates instead of turning negative.
    SetMoney(2147483000);
    g_simColony.m_crystal = 4;
    g_simColony.Tick();
    EXPECT_EQ(Money(), 2147483647);
}

TEST_F(ColonyRules, IncomeAndValueByHand)
{
    struct IncomeRow {
        int32_t value, rate;
        int64_t income;
    } incomes[] = {
        {0, 30, 0}, {99, 80, 0}, {100, 30, 300}, {1234, 30, 3600}, {1299, 1, 120}, {-250, 30, -600},
        {2147483647, 80, 17179868800}, {100, 0, 0},
    };
    for (const IncomeRow& r : incomes) {
        g_simColony.m_colonyValue = r.value;
        g_simColony.m_rate = r.rate;
        EXPECT_EQ(g_simColony.ComputeIncome(), r.income) << r.value << " at " << r.rate;
    }

    FacilityValues housing;
    housing.capacity = {100000, 100000, 100000};
    LoadValues(CFacilityDatBuilder().Add("EWW", housing));
    SetGameTime(240);
    struct ValueRow {
        int32_t hqValue, rate, old;
        int slums;
        int32_t value;
    } values[] = {
        // t = trunc(30 x 30 / 3 + 10) = 310: 1.3 t at rate 0, t at 30, 0.7 t at 80.
        {30, 0, 0, 0, 50},  {30, 30, 0, 0, 38},   {30, 80, 0, 0, 27},    {30, 50, 0, 0, 34},  {30, 10, 0, 0, 46},
        {30, 30, 1234, 0, 1119}, {100, 0, 0, 0, 543}, {100, 30, 0, 0, 417}, {100, 80, 5000, 0, 4668},
        // One working slum takes 5 off: 32 - 5 = 27, t = 253.
        {32, 30, 0, 1, 31},
    };
    for (const ValueRow& r : values) {
        Record().SetU32(CharacterRecord::kServerValue28, static_cast<uint32_t>(r.hqValue));
        // A slum that is not active does not count.
        if (r.slums)
            Layout({{kSimHeadquarters, 0, 0}, {32, -8, 0}, {kSimSlumType, 8, 0}, {kSimSlumType, 0, 8, 0}});
        else
            Layout({{kSimHeadquarters, 0, 0}, {32, -8, 0}});
        g_simColony.m_rate = r.rate;
        g_simColony.m_colonyValue = r.old;
        EXPECT_EQ(g_simColony.ComputeColonyValue(), r.value) << r.hqValue << " at " << r.rate << " from " << r.old;
    }
    // The capacities cap it; without a working facility it is 0.
    Record().SetU32(CharacterRecord::kServerValue28, 100);
    housing.capacity = {900, 300, 2000};
    LoadValues(CFacilityDatBuilder().Add("EWW", housing));
    Layout({{kSimHeadquarters, 0, 0}, {32, -8, 0}});
    g_simColony.m_rate = 30;
    g_simColony.m_colonyValue = 0;
    EXPECT_EQ(g_simColony.ComputeColonyValue(), 300);
    Layout({{kSimHeadquarters, 0, 0}, {32, -8, 0, 0}});
    EXPECT_EQ(g_simColony.ComputeColonyValue(), 0);
}

TEST_F(ColonyRules, CubesComeFromTheInventoryUntilNoneIsLeft)
{
    g_simColony.m_cubes.fill(1);
    for (int slot : {3, 6, 9, 12, 15})
        g_simColony.m_cubes[static_cast<size_t>(slot)] = kNoCube;
    for (int i = 0; i < 5; ++i)
        Record().SetItem(i, std::array<uint16_t, 5>{5, 113, 7, 116, 9}[static_cast<size_t>(i)]);
    g_simColony.LoadCubesFromInventory();
    Bytes cubes = {'d', 4, 1, 1, 1, 1, 1, 1, 4, 1, 1, 255, 1, 1, 255, 1, 1, 255, 1, 1, 1, 1};
    // The last item fills each hole.
    EXPECT_EQ(TakeSentPackets(), (Packets{{53, 52, 1, 9, 0, 4, 0, 0}, {53, 52, 3, 0, 0, 3, 0, 0}, cubes}));
    EXPECT_EQ(std::tuple(Record().Item(0), Record().Item(1), Record().Item(2), Record().Item(3)),
              std::tuple(5, 9, 7, 0));
}

TEST_F(ColonyRules, CubesGoInAndOutWithoutBeingLost)
{
    CScriptedRandom rnd;
    rnd.values = {5, 7, 4};
    Layout({{kSimHeadquarters, 0, 0}, {7, 8, 0}, {42, 0, 8}});
    CSimFacility* f = FirstOfType(7);
    g_commandRing.Reset();
    // A meadow (EEY) given blue becomes a bank (EYB), then with light blue
    // the training spot (YBL), which is full.
    EXPECT_EQ(f->InsertCube(1), 1);
    EXPECT_EQ(std::pair(f->m_type, f->m_overlay), std::pair(27, 5 % 3));
    EXPECT_EQ(f->InsertCube(4), 1);
    EXPECT_EQ(std::pair(f->m_type, f->m_overlay), std::pair(10, 7 % 3));
    EXPECT_EQ(g_commandRing.Pop(), 85u);
    EXPECT_EQ(g_commandRing.Pop(), 85u);
    EXPECT_EQ(f->InsertCube(0), 0);
    EXPECT_EQ(FirstOfType(42)->InsertCube(0), 0);
    CSimFacility base(kSimEmptyBase, 0, 0, 0, 1, 0);
    for (int bad : {-1, 5, 7, 255})
        EXPECT_EQ(base.InsertCube(bad), 0);
    EXPECT_EQ(base.m_type, kSimEmptyBase);
    EXPECT_TRUE(g_commandRing.IsEmpty());

    // Two free slots for three cubes: nothing happens.
    g_simColony.m_cubes.fill(0);
    g_simColony.m_cubes[2] = kNoCube;
    g_simColony.m_cubes[19] = kNoCube;
    f->m_start = 55;
    EXPECT_EQ(f->StripCubes(), 0);
    EXPECT_EQ(std::tuple(f->m_type, f->m_start, g_simColony.CountFreeCubeSlots()), std::tuple(10, 55, 2));
    EXPECT_TRUE(g_commandRing.IsEmpty());
    // Room: the recipe's cubes in its order into the first empty slots.
    g_simColony.m_cubes[7] = kNoCube;
    EXPECT_EQ(f->StripCubes(), 1);
    EXPECT_EQ(std::tuple(g_simColony.m_cubes[2], g_simColony.m_cubes[7], g_simColony.m_cubes[19]), std::tuple(4, 3, 1));
    EXPECT_EQ(std::pair(f->m_type, f->m_start), std::pair(int{kSimEmptyBase}, 0));
    EXPECT_EQ(g_commandRing.Pop(), 84u);
    // A base given white becomes a slum; the crystal mine (EWL) shows no
    // overlay.
    EXPECT_EQ(f->InsertCube(0), 1);
    EXPECT_EQ(std::pair(f->m_type, f->m_overlay), std::pair(int{kSimSlumType}, 4 % 3));
    EXPECT_EQ(f->InsertCube(4), 1);
    EXPECT_EQ(std::pair(f->m_type, f->m_overlay), std::pair(16, int{CSimFacility::kNoOverlay}));
    // A full list of slots drops the cube.
    g_simColony.m_cubes.fill(2);
    EXPECT_EQ(g_simColony.PutCube(1), 0);
    EXPECT_EQ(g_simColony.CountFreeCubeSlots(), 0);
}

TEST_F(ColonyRules, ActivationPaysWhenTheRuleHoldsAndTellsTheServer)
{
    FacilityValues plant;
    plant.cost = {100, 10, 0, 0, 0};
    LoadValues(CFacilityDatBuilder().Add("EEL", plant));
    SetGameTime(70000);
    SetMoney(100);
    // The small power plant must stand within 6 of lava.
    Layout({{kSimHeadquarters, 0, 0}, {54, 8, -1}, {kSimLava, 8, 5}});
    CSimFacility* p = FirstOfType(54);
    g_simColony.m_wood = 10;
    g_commandRing.Reset();
    EXPECT_EQ(p->Activate(), 0) << "lava 6 away";
    EXPECT_EQ(p->CheckRule(), 0);
    p->m_y = 0;
    SetMoney(99);
    EXPECT_EQ(p->Activate(), 0) << "money short";
    SetMoney(100);
    g_simColony.m_wood = 9;
    EXPECT_EQ(p->Activate(), 0) << "wood short";
    EXPECT_TRUE(TakeSentPackets().empty());
    EXPECT_TRUE(g_commandRing.IsEmpty());

    g_simColony.m_wood = 10;
    EXPECT_EQ(p->Activate(), 1);
    EXPECT_EQ(std::tuple(Money(), g_simColony.m_wood, p->m_start), std::tuple(0, 0, 70000));
    EXPECT_EQ(g_commandRing.Pop(), 86u);
    Bytes cubes = {'d', 4, 0, 1, 2, 3, 4};
    cubes.resize(22, 255);
    // The start travels as its low 16 bits: 70000 - 65536 = 4464.
    EXPECT_EQ(TakeSentPackets(), (Packets{{'i', 54, 8, 0, 0, 0, 0x70, 0x11, 1}, cubes,
                                          Resources(0, 30, 0, 100, 100, 0), MoneyField(0)}));
    // SetActive follows the rule.
    p->SetActive(1);
    EXPECT_EQ(p->IsActive(), 1);
    p->m_y = -2;
    p->SetActive(1);
    EXPECT_EQ(p->IsActive(), 0);
}

TEST_F(ColonyRules, ProgressAndRules)
{
    struct ProgressRow {
        int type;
        int start;
        uint32_t time;
        int progress;
    } rows[] = {
        {1, 1000, 1000, 0}, {1, 1000, 1120, 50},  {1, 1000, 1238, 99},  {1, 1000, 1240, 100},
        {1, 1000, 2000, 416}, {1, 1000, 500, -208}, {9, 0, 719, 99},     {9, 0, 720, 100},
        {41, 5000, 0, 100}, {45, 99999, 0, 100},  {0, 0, 0, 0},         {0, 0, 1, 100},
        {1, -2000000000, 4000000000u, 2147483647},
    };
    for (const ProgressRow& r : rows) {
        SetGameTime(r.time);
        CSimFacility f(r.type, 0, 0, r.start, 1, CSimFacility::kNoOverlay);
        EXPECT_EQ(f.GetProgress(), r.progress) << r.type << " from " << r.start << " at " << r.time;
    }
    // The single rules by distance; bit 1 and 16 against the same type.
    Layout({{kSimHeadquarters, 0, 0}, {31, 20, 0}, {kSimForest, 25, 0}, {kSimRock, 20, 10}, {kSimLava, 20, -9},
            {2, 20, 49}, {2, 20, -30}});
    const CSimFacility& yard = *FirstOfType(31);
    struct RuleRow {
        int bit;
        int holds;
    } rules[] = {{2, 1}, {4, 0}, {8, 0}, {32, 0}, {64, 1}, {128, 0}, {1, 1}, {16, 1}, {0, 1}, {3, 1}};
    for (const RuleRow& r : rules)
        EXPECT_EQ(g_simColony.TestRule(r.bit, yard), r.holds) << "bit " << r.bit;
    const CSimFacility& station = *FirstOfType(2);
    // The other police station is 79 away: beyond 50, within 999.
    EXPECT_EQ(g_simColony.NearestOfType(2, station), 79);
    EXPECT_EQ(g_simColony.TestRule(16, station), 1);
    EXPECT_EQ(g_simColony.TestRule(1, station), 0);
    EXPECT_EQ(g_simColony.NearestOfType(kSimEdgeFacility, station), CSimColony::kNoDistance);
}

TEST_F(ColonyRules, ResetSimulationStartsOverAndTakesTheCubeItems)
{
    Layout({{kSimHeadquarters, 0, 0}, {2, 8, 8}});
    g_simColony.m_wood = 5;
    Record().SetU32(CharacterRecord::kScriptValue, 0x12345678);
    for (int i = 0; i < 4; ++i)
        Record().SetItem(i, std::array<uint16_t, 4>{112, 5, 114, 112}[static_cast<size_t>(i)]);
    g_simColony.ResetSimulation();
    EXPECT_EQ(CountTyped(), 14);
    EXPECT_EQ(g_simColony.m_wood, 100);
    EXPECT_EQ(Record().U32(CharacterRecord::kScriptValue), 0x12340100u);
    EXPECT_EQ(Record().Item(0), 5);
    EXPECT_EQ(Record().Item(1), 0);
    const Packets sent = TakeSentPackets();
    ASSERT_EQ(sent.size(), 7u);
    EXPECT_EQ(sent[0], Resources(0, 30, 100, 100, 100, 0));
    EXPECT_EQ(sent[1].size(), 22u);
    EXPECT_EQ(sent[2].size(), 116u);
    EXPECT_EQ(sent[3], (SentPacket{53, 25, 0x00, 0x01, 0, 0}));
    for (size_t i = 4; i < 7; ++i)
        EXPECT_EQ(sent[i][1], 52);
    // Korean in both languages.
    EXPECT_EQ(ui.log.Calls(), std::vector<std::string>{Notice("시뮬레이션과 이벤트가 초기화되었습니다", 200)});
}

}  // namespace
