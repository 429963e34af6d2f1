#include "colony/SimColony.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app/MouseState.h"
#include "colony/SimBuildingTable.h"
#include "colony/SimCursor.h"
#include "colony/SimCursorFacility.h"
#include "colony/SimFeature.h"
#include "colony/SimRandom.h"
#include "core/BiString.h"
#include "platform/Clock.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/CharacterRecord.h"
#include "world/ObjLayer.h"
#include "world/TileGeometry.h"

CSimColony g_simColony;

namespace {

constexpr int kFeaturesPerKind = 4;
constexpr int kShortNotice = 60;
constexpr int kStopNotice = 300;
constexpr int kResetNotice = 200;
// A facility must stand this far from its nearest facility (and no
// further than kMaxSpacing), and kFeatureClearance from every feature.
constexpr int kMinSpacing = 7;
constexpr int kMaxSpacing = 20;
constexpr int kFeatureClearance = 3;
// The ring the edge facility stands on.
constexpr int kEdgeRing = 7;
// Field 25's low word after a reset of the colony.
constexpr uint32_t kResetScriptValue = 256;

int32_t Saturate(int64_t v)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

CharacterRecord* PlayerRecord() { return g_playerInfo.GetMyRecord(); }

void ShowNotice(const char* text, int draws) { Ui().ShowNotice(text, draws); }

void ShowNotice(const CBiString& text, int draws) { ShowNotice(text.Get(), draws); }

int DistanceBetween(const CSimMapObject& a, int x, int y) { return GetChebyshevDistance(a.m_x, a.m_y, x, y); }

}  // namespace

CSimColony::CSimColony() { MakeNewColony(); }

CSimColony::~CSimColony() = default;

void CSimColony::Reset() { Reset(plat::UnixTime()); }

void CSimColony::Reset(unsigned seed)
{
    SeedSimRandom(seed);
    MakeNewColony();
}

void CSimColony::Clear()
{
    g_simCursor.ForgetAll();
    m_cursorFacility = nullptr;
    CSimObjectList::Clear();
}

void CSimColony::AddCursorFacility()
{
    m_cursorFacility = new CSimCursorFacility;
    Add(m_cursorFacility);
}

void CSimColony::AddEdgeFacility()
{
    int x = 0;
    int y = 0;
    do {
        x = (SimRand() & 15) - 8;
        y = (SimRand() & 15) - 8;
    } while (std::abs(x) != kEdgeRing && std::abs(y) != kEdgeRing);
    Add(new CSimFacility(kSimEdgeFacility, x, y, 0, 1, SimRand() % 3));
}

void CSimColony::MakeNewColony()
{
    Clear();
    for (int type : {kSimRock, kSimForest, kSimLava}) {
        for (int i = 0; i < kFeaturesPerKind; ++i) {
            int x = 0;
            int y = 0;
            do {
                x = SimRand() % 37 - 18;
                y = SimRand() % 75 - 37;
            } while (std::abs(x) < 15 && std::abs(y) < 15);
            Add(new CSimFeature(type, x, y, SimRand() & 3));
        }
    }
    AddCursorFacility();
    Add(new CSimFacility(kSimHeadquarters, 0, 0, 0, 1, SimRand() % 3));
    AddEdgeFacility();
    SortByDepth();
    m_colonyValue = 0;
    m_rate = kStartRate;
    m_wood = 100;
    m_stone = 100;
    m_iron = 100;
    m_crystal = 0;
    for (int i = 0; i < kCubeSlots; ++i)
        m_cubes[static_cast<size_t>(i)] = i < kCubeColours ? i : kNoCube;
}

// ---- the map ---------------------------------------------------------------

CSimMapObject* CSimColony::FindAt() { return FindAt(g_mouseState.GetX(), g_mouseState.GetY()); }

CSimMapObject* CSimColony::FindAt(int mouseX, int mouseY)
{
    for (CSimMapObject* o : *this)
        if (o->HitTest(mouseX, mouseY))
            return o;
    return m_cursorFacility;
}

int CSimColony::CheckPlacement(int x, int y)
{
    int nearest = kNoDistance;
    for (CSimMapObject* o : *this) {
        const int t = o->m_type;
        if (t == kSimCursorType || t == kSimSmallOverlay || t == kSimLargeOverlay)
            continue;
        const int d = DistanceBetween(*o, x, y);
        if (o->IsFeature()) {
            if (d < kFeatureClearance)
                return kPlaceObstacle;
            continue;
        }
        nearest = std::min(nearest, d);
    }
    if (nearest < kMinSpacing)
        return kPlaceTooClose;
    return nearest <= kMaxSpacing ? kPlaceValid : kPlaceTooFar;
}

int CSimColony::PlaceBuilding()
{
    if (!m_cursorFacility)
        return 0;
    const int x = m_cursorFacility->m_x;
    const int y = m_cursorFacility->m_y;
    switch (CheckPlacement(x, y)) {
    case kPlaceTooFar:
        ShowNotice(CBiString("도심에서 너무 멀리 떨어져 있습니다.", "Too far from the colony's centre."), kShortNotice);
        return 0;
    case kPlaceTooClose:
        ShowNotice(CBiString("다른 건물에 너무 가깝습니다.", "Too close to another facility."), kShortNotice);
        return 0;
    case kPlaceObstacle:
        ShowNotice(CBiString("장애물이 있습니다.", "There is some interference."), kShortNotice);
        return 0;
    default: break;
    }
    Add(new CSimFacility(kSimEmptyBase, x, y, 0, 1, SimRand() % 3));
    SortByDepth();
    SendBuild(kSimEmptyBase, x, y);
    SendResources();
    NotifyMoney();
    return 1;
}

int CSimColony::Demolish(CSimMapObject* object)
{
    if (!object || object->m_type == kSimCursorType)
        return 0;
    if (object->m_type == kSimHeadquarters || object->m_type == kSimEdgeFacility) {
        ShowNotice(CBiString("이 건물은 부술 수 없습니다.", "You cannot destroy this facility."), kShortNotice);
        return 0;
    }
    SendDemolish(object->m_x, object->m_y);
    g_simCursor.Forget(object);
    object->MarkRemoved();
    RemoveMarked();
    return 1;
}

void CSimColony::DrawObjects(uint8_t* pixels)
{
    for (CSimMapObject* o : *this)
        o->Draw(pixels);
}

// ---- resources and cubes ---------------------------------------------------

int32_t* CSimColony::ResourceField(int index)
{
    switch (index) {
    case kWood: return &m_wood;
    case kStone: return &m_stone;
    case kIron: return &m_iron;
    case kCrystal: return &m_crystal;
    default: return nullptr;
    }
}

int64_t CSimColony::GetResource(int index) const
{
    switch (index) {
    case kMoney: {
        const CharacterRecord* rec = PlayerRecord();
        return rec ? rec->I32(CharacterRecord::kMoney) : 0;
    }
    case kWood: return m_wood;
    case kStone: return m_stone;
    case kIron: return m_iron;
    case kCrystal: return m_crystal;
    default: return 0;
    }
}

void CSimColony::AddResource(int index, int64_t delta)
{
    if (index == kMoney) {
        if (CharacterRecord* rec = PlayerRecord())
            rec->SetU32(CharacterRecord::kMoney,
                        static_cast<uint32_t>(Saturate(rec->I32(CharacterRecord::kMoney) + delta)));
        return;
    }
    if (int32_t* field = ResourceField(index))
        *field = Saturate(*field + delta);
}

void CSimColony::SetCubeSlot(int slot, int colour)
{
    if (slot < 0 || slot >= kCubeSlots)
        return;
    m_cubes[static_cast<size_t>(slot)] = colour >= 0 && colour < kCubeColours ? colour : kNoCube;
}

int CSimColony::PutCube(int colour)
{
    for (int32_t& c : m_cubes) {
        if (c == kNoCube) {
            c = colour;
            return 1;
        }
    }
    return 0;
}

int CSimColony::CountFreeCubeSlots() const
{
    return static_cast<int>(std::count(m_cubes.begin(), m_cubes.end(), kNoCube));
}

void CSimColony::LoadCubesFromInventory()
{
    CharacterRecord* rec = PlayerRecord();
    for (int32_t& slot : m_cubes) {
        if (slot != kNoCube)
            continue;
        int found = 0;
        for (int i = 0; rec && i < CPlayerInfo::kItemSlots; ++i) {
            const int id = CPlayerInfo::GetItem(*rec, i);
            if (id == 0)
                break;
            if (id >= kFirstCubeItem && id < kFirstCubeItem + kCubeColours) {
                found = id;
                break;
            }
        }
        if (found == 0)
            break;
        slot = found - kFirstCubeItem;
        g_playerInfo.RemoveItem(found);
    }
    SendCubes();
}

void CSimColony::ResetSimulation()
{
    Reset();
    SendResources();
    SendCubes();
    SendFacilities();
    if (CharacterRecord* rec = PlayerRecord()) {
        const uint32_t v = (rec->U32(CharacterRecord::kScriptValue) & 0xFFFF0000u) | kResetScriptValue;
        rec->SetU32(CharacterRecord::kScriptValue, v);
        if (CObjLayer* layer = GetObjLayer()) {
            layer->MyRecord().SetU32(CharacterRecord::kScriptValue, v);
            layer->SendCharacterField(25);
        }
    }
    for (int id = kFirstCubeItem; id < kFirstCubeItem + kCubeColours; ++id)
        while (g_playerInfo.RemoveItem(id)) {
        }
    ShowNotice("시뮬레이션과 이벤트가 초기화되었습니다", kResetNotice);
}

void CSimColony::NotifyMoney()
{
    CObjLayer* layer = GetObjLayer();
    CharacterRecord* rec = PlayerRecord();
    if (!layer || !rec)
        return;
    if (rec != &layer->MyRecord())
        layer->MyRecord().SetU32(CharacterRecord::kMoney, rec->U32(CharacterRecord::kMoney));
    layer->SendCharacterField(30);
}

uint32_t CSimColony::GetGameTime()
{
    const CharacterRecord* rec = PlayerRecord();
    return rec ? rec->U32(CharacterRecord::kGameTime) : 0;
}

int32_t CSimColony::GetHqValue()
{
    const CharacterRecord* rec = PlayerRecord();
    return rec ? rec->I32(CharacterRecord::kServerValue28) : 0;
}

// ---- the production tick ---------------------------------------------------

int64_t CSimColony::ComputeIncome() const
{
    return static_cast<int64_t>(m_colonyValue / 100) * (static_cast<int64_t>(m_rate) * 120) / 12;
}

void CSimColony::SumEnergy(int64_t& production, int64_t& consumption)
{
    production = 0;
    consumption = 0;
    for (CSimMapObject* o : *this) {
        const CSimFacility* f = o->AsFacility();
        if (!f || !f->IsActive())
            continue;
        const int32_t e = g_simBuildingTable.GetType(f->m_type).energy;
        if (e >= 1)
            production += e;
        else
            consumption -= e;
    }
}

// Adds one column group of the type of every active, built facility.
template <size_t N, class Column>
void CSimColony::SumWorking(std::array<int64_t, N>& sums, Column column)
{
    sums.fill(0);
    for (CSimMapObject* o : *this) {
        const CSimFacility* f = o->AsFacility();
        if (!f || !f->IsActive() || !f->IsBuilt())
            continue;
        const std::array<int32_t, N>& values = column(g_simBuildingTable.GetType(f->m_type));
        for (size_t i = 0; i < N; ++i)
            sums[i] += values[i];
    }
}

void CSimColony::SumProduction(std::array<int64_t, 5>& deltas)
{
    SumWorking(deltas, [](const SimBuildingType& t) -> const std::array<int32_t, 5>& { return t.production; });
}

void CSimColony::SumCapacity(std::array<int64_t, 3>& capacity)
{
    SumWorking(capacity, [](const SimBuildingType& t) -> const std::array<int32_t, 3>& { return t.capacity; });
}

int32_t CSimColony::ComputeColonyValue()
{
    int64_t base = GetHqValue();
    for (CSimMapObject* o : *this) {
        const CSimFacility* f = o->AsFacility();
        if (f && f->m_type == kSimSlumType && f->IsActive() && f->IsBuilt())
            base -= 5;
    }
    const double b2 = static_cast<double>(base) * static_cast<double>(base);
    const double t = std::trunc(b2 / 3.0 + 10.0);
    double v = 0;
    if (m_rate > 30) {
        const double a = t * 0.7;
        v = (t - a) / 50.0 * (80 - m_rate) + a;
    } else {
        const double b = t * 1.3;
        v = b - (b - t) / 30.0 * m_rate;
    }
    // A huge HQ value cannot reach past the 32-bit value; the capacities
    // hold it down anyway.
    const double limit = static_cast<double>(std::numeric_limits<int64_t>::max() / 4);
    const int64_t target = static_cast<int64_t>(std::clamp(std::trunc(v), -limit, limit));
    int64_t value = m_colonyValue + (target - m_colonyValue) / 8;
    std::array<int64_t, 3> capacity{};
    SumCapacity(capacity);
    for (int64_t c : capacity)
        value = std::min(value, c);
    return Saturate(value);
}

void CSimColony::Tick()
{
    int64_t produced = 0;
    int64_t used = 0;
    SumEnergy(produced, used);
    if (produced < used) {
        const int64_t p = produced == 0 ? 1 : produced;
        const int64_t chance = (produced - used) * 100 / p + 90;
        if (chance < SimRand() % 100) {
            ShowNotice(CBiString("에너지 부족으로 콜로니활동이 중단되었습니다.",
                                 "Colony is not functional for insufficient of energy."),
                       kStopNotice);
            return;
        }
    }
    std::array<int64_t, 5> deltas{};
    SumProduction(deltas);
    for (int i = 0; i < 5; ++i) {
        if (GetResource(i) + deltas[static_cast<size_t>(i)] < 0) {
            ShowNotice(CBiString("자원 부족으로 콜로니활동이 중단되었습니다.",
                                 "Colony is not functional for insufficient of resource."),
                       kStopNotice);
            return;
        }
    }
    for (int i = 0; i < 5; ++i)
        AddResource(i, deltas[static_cast<size_t>(i)]);
    AddResource(kMoney, ComputeIncome());
    m_colonyValue = ComputeColonyValue();
    SendResources();
    NotifyMoney();
}

// ---- placement rules -------------------------------------------------------

int CSimColony::NearestOfType(int type, const CSimMapObject& from)
{
    int nearest = kNoDistance;
    for (CSimMapObject* o : *this) {
        if (o->m_type != type)
            continue;
        const int d = DistanceBetween(*o, from.m_x, from.m_y);
        if (d >= 1)
            nearest = std::min(nearest, d);
    }
    return nearest;
}

int CSimColony::TestRule(int bit, const CSimMapObject& facility)
{
    constexpr int kNear = 6;
    constexpr int kFar = 10;
    constexpr int kUniqueWithin = 999;
    constexpr int kNoneWithin = 50;
    switch (bit) {
    case 1: return NearestOfType(facility.m_type, facility) >= kUniqueWithin;
    case 2: return NearestOfType(kSimForest, facility) < kNear;
    case 4: return NearestOfType(kSimRock, facility) < kNear;
    case 8: return NearestOfType(kSimLava, facility) < kNear;
    case 16: return NearestOfType(facility.m_type, facility) >= kNoneWithin;
    case 32: return NearestOfType(kSimForest, facility) >= kFar;
    case 64: return NearestOfType(kSimRock, facility) >= kFar;
    case 128: return NearestOfType(kSimLava, facility) >= kFar;
    default: return 1;
    }
}
