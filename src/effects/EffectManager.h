// The owner of every effect: fixed pools of each kind (12 instances, 1024
// chat balloons), the effect sets they draw, the start operations (the
// first idle instance, or null when all are busy) and the per-frame run.
// Nothing is allocated once the manager is built.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/EffectSpriteSet.h"
#include "core/SprSpriteSet.h"
#include "effects/ChatBalloon.h"
#include "effects/DamageEffect.h"
#include "effects/DeathMan.h"
#include "effects/Earthquake.h"
#include "effects/EffectFire.h"
#include "effects/EffectsService.h"
#include "effects/FireStom.h"
#include "effects/FireStomMain.h"
#include "effects/GhostCalling.h"
#include "effects/Hellion.h"
#include "effects/Hinotori.h"
#include "effects/LightningEffect.h"
#include "effects/MissileEffect.h"
#include "effects/Poseidon.h"
#include "effects/PoseidonWave.h"
#include "effects/QuakeController.h"
#include "effects/Salamander.h"
#include "effects/ScreenShake.h"
#include "effects/SpecialAbil.h"
#include "effects/UseItem.h"
#include "effects/UseItemWave.h"
#include "effects/UsedItem.h"

class CObjLayer;
class CRleImage;

// A set the manager can empty before loading it again.
template <class Set>
class CReloadableSet : public Set {
public:
    void Clear() { this->Reset(); }
};

class CEffectManager : public IEffects {
public:
    static constexpr int kPoolSize = 12;
    static constexpr int kBalloons = 1024;
    static constexpr int kLightningPools = 9;
    static constexpr int kUseItemPools = 5;
    static constexpr int kUsedItemPools = 9;
    // The item-use colours; the base set is colour 4.
    enum UseColour : int { colourRed = 0, colourBlue = 1, colourGreen = 2, colourYellow = 3, colourBase = 4 };
    // The used-item pools after the base one.
    enum UsedColour : int {
        usedRed = 1,
        usedBlue,
        usedGreen,
        usedYellow,
        usedRed1,
        usedBlue1,
        usedGreen1,
        usedYellow1,
    };

    template <class T>
    using Pool = std::array<T, kPoolSize>;

    explicit CEffectManager(CObjLayer* objLayer);
    ~CEffectManager() override;
    CEffectManager(const CEffectManager&) = delete;
    CEffectManager& operator=(const CEffectManager&) = delete;

    CObjLayer* GetObjLayer() const { return m_pObjLayer; }

    // ---- the service of the field and the battle ------------------------------
    void LoadResources() override;
    void DrawAll(uint8_t* dst) override;
    void ClearAll() override;
    CEffect* StartDamage(int x, int y, int value, int kind, CCreature* target) override;
    CEffect* StartDeathMan(int x, int y, int a) override;
    // Stops the death marks; with the layer's death-mark flag set, clears
    // the Cure flag and the layer's current death-mark pair, sets that
    // pair's flag, and clears the death-mark flag once no pair holds a
    // creature. A current index outside the table clears no pair.
    void ResetDeathMan() override;
    CEffect* StartFireStomMain(int x, int y, CCreature* caster) override;
    CEffect* StartUseItem(int x, int y, int hidden) override;
    CEffect* StartUsedItem(int x, int y) override;
    void PsychicforceTick(CCreature* caster, CCreature* target) override;
    int RunAbilityRoutine(int id, CCreature* caster) override;
    void StartChatBalloon(uint16_t charId, const char* text, int colour) override;

    // ---- the other starts ---------------------------------------------------------
    // The speaker's balloon restarts (null) while it is active and still
    // its; else the first idle balloon.
    CChatBalloon* StartChatBalloon(CCreature* character, const char* text, int colour);
    CPoseidonWave* StartPoseidonWave(int x, int y, int a);
    CFireStom* StartFireStom(int x, int y, int a);
    CPoseidon* StartPoseidon(int x, int y, int id) override;
    // Missiles: one image, or image A before split pixels and B after.
    // Null, and nothing started, for a null image.
    CMissileEffect* StartGeneric108(int x0, int y0, int x1, int y1, CRleImage* image);
    CMissileEffect* StartGeneric108b(int x0, int y0, int x1, int y1, int split, CRleImage* imageA,
                                     CRleImage* imageB);
    CQuakeController* StartDeathManSub(int x, int y, int amplitude, int duration, CCreature* caster) override;
    CEarthquake* StartEarthquake(int x, int y);
    CScreenShake* StartScreenShake(int x, int y, int amplitude, int duration);
    // The rain of fire birds, from the screen position of (x, y).
    CEffectFire* StartEffectFire(int x, int y);
    CHinotori* StartHinotori(int x, int y, int anim);
    CHellion* StartHellion(int x, int y, int anim);
    CSalamander* StartSalamander(int x, int y);
    CGhostCalling* StartGhostCalling(int x, int y, int a);
    // A bolt of lightning pool 1..9; null when the pool is full, the pool
    // number is outside 1..9 or the bolt is too long.
    CLightningEffect* StartBigEffect(int pool, int x0, int y0, int x1, int y1, int blend, int colourSet,
                                     int unused = 0);
    CUseItem* StartUseItemColor(int colour, int x, int y);
    CUsedItem* StartUsedItemColor(int colour, int x, int y);
    CUseItemWave* StartUseItemWave(int x, int y);
    CUseItemWave* StartUseItemWaveColor(int colour, int x, int y);
    // The active missile an ability routine started for this caster, or
    // null.
    CMissileEffect* GetMissileOf(const CCreature* caster);

    // ---- for tests and the benchmark ---------------------------------------------
    Pool<CDeathMan>& DeathMen() { return m_deathMen; }
    std::array<CChatBalloon, kBalloons>& Balloons() { return m_balloons; }
    Pool<CDamageEffect>& Damages() { return m_damages; }
    Pool<CUsedItem>& UsedItems(int colour) { return m_usedItems[static_cast<size_t>(colour)]; }
    Pool<CScreenShake>& ScreenShakes() { return m_screenShakes; }
    Pool<CEffectFire>& Fires() { return m_fires; }
    Pool<CSalamander>& Salamanders() { return m_salamanders; }
    Pool<CLightningEffect>& Lightning(int pool) { return m_lightning[static_cast<size_t>(pool)]; }
    // Active instances over every pool, the balloons included.
    int CountActive() const;
    // The balloon order of the last DrawAll: count and entries.
    int GetBalloonOrderCount() const { return m_balloonCount; }
    int GetBalloonOrder(int i) const { return m_balloonOrder[static_cast<size_t>(i)]; }
    CSprSpriteSet& PoseidonSet() { return m_poseidonSet; }
    CSprSpriteSet& HinotoriSet() { return m_hinotoriSet; }
    CSprSpriteSet& HellionSet() { return m_hellionSet; }
    CEffectSpriteSet& FireSet() { return m_fireSet; }
    CEffectSpriteSet& DeathManSet() { return m_deathManSet; }
    CEffectSpriteSet& GhostSet(int i) { return m_ghostSets[static_cast<size_t>(i)]; }
    CEffectSpriteSet& PoseidonWaveSet() { return m_poseidonWaveSet; }
    CEffectSpriteSet& EarthquakeSet() { return m_earthquakeSet; }
    CEffectSpriteSet& FireStomSet() { return m_fireStomSet; }
    CEffectSpriteSet& UseItemSet(int i) { return m_useItemSets[static_cast<size_t>(i)]; }
    CEffectSpriteSet& UsedItemSet(int i) { return m_usedItemSets[static_cast<size_t>(i)]; }

    // Calls f on every instance of every pool (as CEffect&), the balloons
    // included.
    template <class F>
    void ForEachInstance(F&& f);
    template <class F>
    void ForEachInstance(F&& f) const;

private:
    CObjLayer* m_pObjLayer;
    CSpecialAbil m_specialAbil{*this};
    std::array<int32_t, kBalloons> m_balloonOrder{};
    int m_balloonCount = 0;

    CReloadableSet<CSprSpriteSet> m_poseidonSet;
    CReloadableSet<CSprSpriteSet> m_hinotoriSet;
    CReloadableSet<CSprSpriteSet> m_hellionSet;
    CReloadableSet<CEffectSpriteSet> m_deathManSet;
    CReloadableSet<CEffectSpriteSet> m_fireSet;
    std::array<CReloadableSet<CEffectSpriteSet>, CGhostCalling::kGhosts> m_ghostSets;
    CReloadableSet<CEffectSpriteSet> m_poseidonWaveSet;
    CReloadableSet<CEffectSpriteSet> m_earthquakeSet;
    CReloadableSet<CEffectSpriteSet> m_fireStomSet;
    std::array<CReloadableSet<CEffectSpriteSet>, kUseItemPools> m_useItemSets;
    std::array<CReloadableSet<CEffectSpriteSet>, kUseItemPools> m_useItemWaveSets;
    std::array<CReloadableSet<CEffectSpriteSet>, kUsedItemPools> m_usedItemSets;

    std::array<CChatBalloon, kBalloons> m_balloons;
    Pool<CSalamander> m_salamanders;
    Pool<CMissileEffect> m_missiles;
    Pool<CQuakeController> m_quakes;
    Pool<CHinotori> m_hinotoris;
    Pool<CPoseidon> m_poseidons;
    Pool<CScreenShake> m_screenShakes;
    Pool<CEffectFire> m_fires;
    Pool<CDeathMan> m_deathMen;
    Pool<CHellion> m_hellions;
    Pool<CGhostCalling> m_ghosts;
    Pool<CPoseidonWave> m_poseidonWaves;
    Pool<CEarthquake> m_earthquakes;
    Pool<CDamageEffect> m_damages;
    Pool<CFireStom> m_fireStoms;
    Pool<CFireStomMain> m_fireStomMains;
    std::array<Pool<CLightningEffect>, kLightningPools> m_lightning;
    std::array<Pool<CUseItem>, kUseItemPools> m_useItems;
    std::array<Pool<CUseItemWave>, kUseItemPools> m_useItemWaves;
    std::array<Pool<CUsedItem>, kUsedItemPools> m_usedItems;
};

template <class F>
void CEffectManager::ForEachInstance(F&& f)
{
    auto each = [&](auto& pool) {
        for (auto& e : pool)
            f(static_cast<CEffect&>(e));
    };
    each(m_balloons);
    each(m_salamanders);
    each(m_missiles);
    each(m_quakes);
    each(m_hinotoris);
    each(m_poseidons);
    each(m_screenShakes);
    each(m_fires);
    each(m_deathMen);
    each(m_hellions);
    each(m_ghosts);
    each(m_poseidonWaves);
    each(m_earthquakes);
    each(m_damages);
    each(m_fireStoms);
    each(m_fireStomMains);
    for (auto& p : m_lightning)
        each(p);
    for (auto& p : m_useItems)
        each(p);
    for (auto& p : m_useItemWaves)
        each(p);
    for (auto& p : m_usedItems)
        each(p);
}

template <class F>
void CEffectManager::ForEachInstance(F&& f) const
{
    const_cast<CEffectManager*>(this)->ForEachInstance([&](CEffect& e) { f(static_cast<const CEffect&>(e)); });
}
