#include "effects/EffectManager.h"

#include <algorithm>

#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {

template <class Pool>
auto* FirstIdle(Pool& pool)
{
    for (auto& e : pool)
        if (!e.IsActive())
            return &e;
    return static_cast<typename Pool::value_type*>(nullptr);
}

template <class Pool>
void DrawPool(Pool& pool, uint8_t* dst)
{
    for (auto& e : pool)
        if (e.IsActive())
            e.Draw(dst);
}

template <class Set>
void Reload(CReloadableSet<Set>& set, const char* file)
{
    set.Clear();
    set.Load(file);
}

constexpr const char* kGhostFiles[CGhostCalling::kGhosts] = {"data\\ghost2.tlr", "data\\ghost3.tlr",
                                                              "data\\ghost5.tlr", "data\\ghost6.tlr"};
// By item-use colour: red, blue, green, yellow, the base set.
constexpr const char* kUseItemFiles[CEffectManager::kUseItemPools] = {
    "data\\using_item_r.TLR", "data\\using_item_b.TLR", "data\\using_item_g.TLR", "data\\using_item_y.TLR",
    "data\\useitem.TLR"};
constexpr const char* kUseItemWaveFiles[CEffectManager::kUseItemPools] = {
    "data\\using_item1_r.TLR", "data\\using_item1_b.TLR", "data\\using_item1_g.TLR", "data\\using_item1_y.TLR",
    "data\\useitem_light.tlr"};
constexpr const char* kUsedItemFiles[CEffectManager::kUsedItemPools] = {
    "data\\UsedItem2.TLR",     "data\\used_item_r.TLR",  "data\\used_item_b.TLR",
    "data\\used_item_g.TLR",   "data\\used_item_y.TLR",  "data\\used_item1_r.TLR",
    "data\\used_item1_b.TLR",  "data\\used_item1_g.TLR", "data\\used_item1_y.TLR"};

// World pixels lie far inside this; positions from packets are held here
// so that the offsets the effects add never overflow.
constexpr int kCoordLimit = 1 << 20;
void Clamp(int& v) { v = std::clamp(v, -kCoordLimit, kCoordLimit); }
void Clamp(int& x, int& y)
{
    Clamp(x);
    Clamp(y);
}

// Item-use pool of a colour: the base set's pool first, then red .. yellow.
size_t UsePool(int colour) { return colour == CEffectManager::colourBase ? 0 : static_cast<size_t>(colour) + 1; }
size_t UseSet(int colour) { return static_cast<size_t>(colour); }

}  // namespace

CEffectManager::CEffectManager(CObjLayer* objLayer) : m_pObjLayer(objLayer)
{
    for (size_t i = 0; i < m_balloonOrder.size(); ++i)
        m_balloonOrder[i] = static_cast<int32_t>(i);
}

CEffectManager::~CEffectManager() = default;

int CEffectManager::CountActive() const
{
    int n = 0;
    ForEachInstance([&](const CEffect& e) { n += e.IsActive() ? 1 : 0; });
    return n;
}

void CEffectManager::LoadResources()
{
    // Running effects would draw from sets being replaced.
    ClearAll();
    Reload(m_poseidonSet, "data\\poseidon.spr");
    Reload(m_hinotoriSet, "data\\hinotori.spr");
    Reload(m_hellionSet, "data\\Hellion.spr");
    Reload(m_deathManSet, "data\\deathman.TLR");
    Reload(m_fireSet, "data\\fbird_fire.tlr");
    for (size_t i = 0; i < m_ghostSets.size(); ++i)
        Reload(m_ghostSets[i], kGhostFiles[i]);
    Reload(m_poseidonWaveSet, "data\\poseidonwave.TLR");
    Reload(m_earthquakeSet, "data\\earthquake.TLR");
    Reload(m_fireStomSet, "data\\firestom.tlr");
    Reload(m_useItemSets[UseSet(colourBase)], kUseItemFiles[UseSet(colourBase)]);
    Reload(m_usedItemSets[0], kUsedItemFiles[0]);
    Reload(m_useItemWaveSets[UseSet(colourBase)], kUseItemWaveFiles[UseSet(colourBase)]);
    for (size_t i = 1; i < m_usedItemSets.size(); ++i)
        Reload(m_usedItemSets[i], kUsedItemFiles[i]);
    for (int c = colourRed; c <= colourYellow; ++c)
        Reload(m_useItemSets[UseSet(c)], kUseItemFiles[UseSet(c)]);
    for (int c = colourRed; c <= colourYellow; ++c)
        Reload(m_useItemWaveSets[UseSet(c)], kUseItemWaveFiles[UseSet(c)]);
    for (auto& e : m_ghosts)
        e.Reset();
    for (auto& e : m_earthquakes)
        e.Reset();
    for (auto& e : m_fires)
        e.Reset();
    for (auto& e : m_salamanders)
        e.BuildParts();
}

void CEffectManager::ClearAll()
{
    ForEachInstance([](CEffect& e) { e.Stop(); });
}

void CEffectManager::DrawAll(uint8_t* dst)
{
    // The balloons lower on the screen first, so higher ones are drawn over
    // them; the order holds only the active ones.
    int n = 0;
    for (size_t i = 0; i < m_balloons.size(); ++i)
        if (m_balloons[i].IsActive())
            m_balloonOrder[static_cast<size_t>(n++)] = static_cast<int32_t>(i);
    m_balloonCount = n;
    std::sort(m_balloonOrder.begin(), m_balloonOrder.begin() + n, [this](int32_t a, int32_t b) {
        const int ya = m_balloons[static_cast<size_t>(a)].GetTopY();
        const int yb = m_balloons[static_cast<size_t>(b)].GetTopY();
        return ya != yb ? ya > yb : a < b;
    });
    for (int i = 0; i < n; ++i) {
        CChatBalloon& b = m_balloons[static_cast<size_t>(m_balloonOrder[static_cast<size_t>(i)])];
        if (b.IsActive())
            b.Draw(dst);
    }

    DrawPool(m_fireStoms, dst);
    DrawPool(m_fireStomMains, dst);
    DrawPool(m_earthquakes, dst);
    DrawPool(m_deathMen, dst);
    DrawPool(m_screenShakes, dst);
    DrawPool(m_fires, dst);
    DrawPool(m_poseidonWaves, dst);
    DrawPool(m_poseidons, dst);
    DrawPool(m_hinotoris, dst);
    DrawPool(m_salamanders, dst);
    DrawPool(m_missiles, dst);
    DrawPool(m_quakes, dst);
    DrawPool(m_hellions, dst);
    DrawPool(m_ghosts, dst);
    DrawPool(m_useItems[UsePool(colourBase)], dst);
    DrawPool(m_usedItems[0], dst);
    DrawPool(m_useItemWaves[UsePool(colourBase)], dst);
    for (int c = colourRed; c <= colourYellow; ++c)
        DrawPool(m_useItems[UsePool(c)], dst);
    for (int c = colourRed; c <= colourYellow; ++c)
        DrawPool(m_useItemWaves[UsePool(c)], dst);
    for (size_t i = 1; i < m_usedItems.size(); ++i)
        DrawPool(m_usedItems[i], dst);
    DrawPool(m_damages, dst);
    for (auto& pool : m_lightning)
        DrawPool(pool, dst);
}

void CEffectManager::ResetDeathMan()
{
    for (auto& e : m_deathMen)
        e.Stop();
    CObjLayer* layer = m_pObjLayer;
    if (!layer || !layer->m_deathMarkFlag)
        return;
    // The word kept beside the death-mark flag: the Cure flag.
    layer->m_cureReceived = 0;
    const int slot = layer->m_deathMarkIndex;
    if (slot >= 0 && slot < CObjLayer::kDeathMarkPairs) {
        layer->m_deathMarks[static_cast<size_t>(slot)] = CObjLayer::DeathMarkPair{};
        layer->m_deathMarkMarked[static_cast<size_t>(slot)] = 1;
    }
    const bool anyLeft = std::any_of(layer->m_deathMarks.begin(), layer->m_deathMarks.end(),
                                     [](const CObjLayer::DeathMarkPair& p) { return p.first != nullptr; });
    if (!anyLeft)
        layer->m_deathMarkFlag = 0;
}

void CEffectManager::PsychicforceTick(CCreature* caster, CCreature* target)
{
    if (caster)
        m_specialAbil.PsychicforceTick(*caster, target);
}

int CEffectManager::RunAbilityRoutine(int id, CCreature* caster)
{
    return caster ? m_specialAbil.Run(id, *caster) : 1;
}

CMissileEffect* CEffectManager::GetMissileOf(const CCreature* caster)
{
    for (auto& m : m_missiles)
        if (m.IsActive() && caster && m.GetOwner() == caster)
            return &m;
    return nullptr;
}

// ---- starts ------------------------------------------------------------------

CEffect* CEffectManager::StartDamage(int x, int y, int value, int /*kind*/, CCreature* target)
{
    Clamp(x, y);
    CDamageEffect* e = FirstIdle(m_damages);
    if (e)
        e->Init(this, x, y, value, target);
    return e;
}

CEffect* CEffectManager::StartDeathMan(int x, int y, int a)
{
    Clamp(x, y);
    CDeathMan* e = FirstIdle(m_deathMen);
    if (e)
        e->Init(this, x, y, &m_deathManSet, a);
    return e;
}

CEffect* CEffectManager::StartFireStomMain(int x, int y, CCreature* caster)
{
    Clamp(x, y);
    CFireStomMain* e = FirstIdle(m_fireStomMains);
    if (e)
        e->Init(this, x, y, caster);
    return e;
}

CEffect* CEffectManager::StartUseItem(int x, int y, int hidden)
{
    Clamp(x, y);
    CUseItem* e = FirstIdle(m_useItems[UsePool(colourBase)]);
    if (e)
        e->Init(this, &m_useItemSets[UseSet(colourBase)], x, y, colourBase, hidden);
    return e;
}

CUseItem* CEffectManager::StartUseItemColor(int colour, int x, int y)
{
    Clamp(x, y);
    if (colour < colourRed || colour > colourYellow)
        return nullptr;
    CUseItem* e = FirstIdle(m_useItems[UsePool(colour)]);
    if (e)
        e->Init(this, &m_useItemSets[UseSet(colour)], x, y, colour, 0);
    return e;
}

CEffect* CEffectManager::StartUsedItem(int x, int y) { return StartUsedItemColor(0, x, y); }

CUsedItem* CEffectManager::StartUsedItemColor(int colour, int x, int y)
{
    Clamp(x, y);
    if (colour < 0 || colour >= kUsedItemPools)
        return nullptr;
    CUsedItem* e = FirstIdle(m_usedItems[static_cast<size_t>(colour)]);
    if (e)
        e->Init(this, &m_usedItemSets[static_cast<size_t>(colour)], x, y);
    return e;
}

CUseItemWave* CEffectManager::StartUseItemWave(int x, int y)
{
    Clamp(x, y);
    CUseItemWave* e = FirstIdle(m_useItemWaves[UsePool(colourBase)]);
    if (e)
        e->Init(this, &m_useItemWaveSets[UseSet(colourBase)], x, y);
    return e;
}

CUseItemWave* CEffectManager::StartUseItemWaveColor(int colour, int x, int y)
{
    Clamp(x, y);
    if (colour < colourRed || colour > colourYellow)
        return nullptr;
    CUseItemWave* e = FirstIdle(m_useItemWaves[UsePool(colour)]);
    if (e)
        e->Init(this, &m_useItemWaveSets[UseSet(colour)], x, y);
    return e;
}

CPoseidonWave* CEffectManager::StartPoseidonWave(int x, int y, int a)
{
    Clamp(x, y);
    CPoseidonWave* e = FirstIdle(m_poseidonWaves);
    if (e)
        e->Init(this, x, y, &m_poseidonWaveSet, a);
    return e;
}

CFireStom* CEffectManager::StartFireStom(int x, int y, int a)
{
    Clamp(x, y);
    CFireStom* e = FirstIdle(m_fireStoms);
    if (e)
        e->Init(this, x, y, &m_fireStomSet, a);
    return e;
}

CPoseidon* CEffectManager::StartPoseidon(int x, int y, int id)
{
    Clamp(x, y);
    CPoseidon* e = FirstIdle(m_poseidons);
    if (e)
        e->Init(this, x, y, &m_poseidonSet, id);
    return e;
}

CMissileEffect* CEffectManager::StartGeneric108(int x0, int y0, int x1, int y1, CRleImage* image)
{
    Clamp(x0, y0);
    Clamp(x1, y1);
    if (!image)
        return nullptr;
    CMissileEffect* e = FirstIdle(m_missiles);
    if (e)
        e->Init(this, 1, x0, y0, x1, y1, 0, image, nullptr);
    return e;
}

CMissileEffect* CEffectManager::StartGeneric108b(int x0, int y0, int x1, int y1, int split, CRleImage* imageA,
                                                 CRleImage* imageB)
{
    Clamp(x0, y0);
    Clamp(x1, y1);
    if (!imageA || !imageB)
        return nullptr;
    CMissileEffect* e = FirstIdle(m_missiles);
    if (e)
        e->Init(this, 5, x0, y0, x1, y1, split, imageA, imageB);
    return e;
}

CQuakeController* CEffectManager::StartDeathManSub(int x, int y, int amplitude, int duration, CCreature* caster)
{
    Clamp(x, y);
    Clamp(amplitude);
    CQuakeController* e = FirstIdle(m_quakes);
    if (e)
        e->Init(this, x, y, amplitude, duration, caster);
    return e;
}

CEarthquake* CEffectManager::StartEarthquake(int x, int y)
{
    Clamp(x, y);
    CEarthquake* e = FirstIdle(m_earthquakes);
    if (e)
        e->Init(this, x, y, &m_earthquakeSet);
    return e;
}

CScreenShake* CEffectManager::StartScreenShake(int x, int y, int amplitude, int duration)
{
    Clamp(x, y);
    Clamp(amplitude);
    CScreenShake* e = FirstIdle(m_screenShakes);
    if (e)
        e->Init(this, x, y, amplitude, duration);
    return e;
}

CEffectFire* CEffectManager::StartEffectFire(int x, int y)
{
    Clamp(x, y);
    CEffectFire* e = FirstIdle(m_fires);
    if (e)
        e->Init(this, x, y, &m_fireSet);
    return e;
}

CHinotori* CEffectManager::StartHinotori(int x, int y, int anim)
{
    Clamp(x, y);
    CHinotori* e = FirstIdle(m_hinotoris);
    if (e)
        e->Init(this, x, y, &m_hinotoriSet, anim);
    return e;
}

CHellion* CEffectManager::StartHellion(int x, int y, int anim)
{
    Clamp(x, y);
    CHellion* e = FirstIdle(m_hellions);
    if (e)
        e->Init(this, x, y, &m_hellionSet, anim);
    return e;
}

CSalamander* CEffectManager::StartSalamander(int x, int y)
{
    Clamp(x, y);
    CSalamander* e = FirstIdle(m_salamanders);
    if (e)
        e->Init(this, x, y);
    return e;
}

CGhostCalling* CEffectManager::StartGhostCalling(int x, int y, int a)
{
    Clamp(x, y);
    CGhostCalling* e = FirstIdle(m_ghosts);
    if (!e)
        return nullptr;
    std::array<const CEffectSpriteSet*, CGhostCalling::kGhosts> sets{};
    for (size_t i = 0; i < sets.size(); ++i)
        sets[i] = &m_ghostSets[i];
    e->Init(this, x, y, sets, a);
    return e;
}

CLightningEffect* CEffectManager::StartBigEffect(int pool, int x0, int y0, int x1, int y1, int blend, int colourSet,
                                                 int /*unused*/)
{
    Clamp(x0, y0);
    Clamp(x1, y1);
    if (pool < 1 || pool > kLightningPools)
        return nullptr;
    CLightningEffect* e = FirstIdle(m_lightning[static_cast<size_t>(pool - 1)]);
    if (e && !e->Init(this, x0, y0, x1, y1, blend, colourSet))
        return nullptr;
    return e;
}

void CEffectManager::StartChatBalloon(uint16_t charId, const char* text, int colour)
{
    if (!m_pObjLayer)
        return;
    if (CCharacter* speaker = m_pObjLayer->FindCharacterById(charId))
        StartChatBalloon(speaker, text, colour);
}

CChatBalloon* CEffectManager::StartChatBalloon(CCreature* character, const char* text, int colour)
{
    if (!character || !text)
        return nullptr;
    auto* own = static_cast<CChatBalloon*>(character->GetBalloon());
    if (own && own->IsActive() && own->GetCharacter() == character) {
        own->Init(this, character, text, colour);
        return nullptr;
    }
    CChatBalloon* e = FirstIdle(m_balloons);
    if (e)
        e->Init(this, character, text, colour);
    return e;
}
