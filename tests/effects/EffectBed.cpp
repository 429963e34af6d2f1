#include "EffectBed.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "app/FrameClock.h"

#include "audio/SoundManager.h"
#include "core/AnimSpriteSet.h"
#include "core/ByteReader.h"
#include "core/ResFile.h"
#include "effects/AbilityCaster.h"
#include "effects/RouteTrail.h"
#include "fixtures/FontBuilder.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpellSprites.h"
#include "fixtures/SpriteWriter.h"
#include "fixtures/WaveWriter.h"
#include "rules/GameData.h"
#include "world/BGLayer.h"
#include "world/StageHolder.h"

namespace {

// Every sound an effect or routine plays, each with its own length.
const std::map<std::string, uint32_t>& SoundLengths()
{
    static const std::map<std::string, uint32_t> kLengths = {
        {"healself.wav", 110}, {"healother.wav", 120}, {"freeze.wav", 130}, {"hide.wav", 140},
        {"thunder1.wav", 150}, {"thunder3.wav", 160}, {"18.wav", 170},      {"powerbreak.wav", 180},
        {"maxforce.wav", 190}, {"ghost.wav", 200},         {"hinotori.wav", 210},   {"hellion.wav", 220}};
    return kLengths;
}

SpriteFrameDef Square(uint32_t seed, bool hitRect)
{
    SpriteFrameDef f = CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(8, 8, seed)));
    f.points[0] = {4, 7};
    if (!hitRect)
        f.rects[0] = RleRect{};
    return f;
}

// An effect set of kSetFrames frames and the given animations.
Bytes EffectSet(const std::string& name, const std::vector<AnimDef>& anims = {}, int count = CEffectBed::kSetFrames)
{
    std::vector<SpriteFrameDef> frames, second;
    for (int i = 0; i < count; ++i) {
        frames.push_back(Square(static_cast<uint32_t>(i + 1), true));
        SpriteFrameDef s = CSpriteWriter::Frame(CRleEncoder::Encode(CRleEncoder::Pattern(4, 4, 9, true)));
        s.points[0] = {2, 2};
        second.push_back(s);
    }
    return CSpriteWriter::EffectFile(name, frames, second, anims);
}

AnimDef Anim(const std::string& name, int steps, int ticks, int hitStep = -1)
{
    AnimDef a{name, static_cast<uint8_t>(ticks), {}};
    for (int s = 0; s < steps; ++s)
        a.steps.push_back({s == hitStep ? 1u : 0u, 0, 0, ""});
    return a;
}

CArchiveBuilder Archive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    for (const char* name :
         {"deathman.TLR", "ghost2.tlr", "ghost3.tlr", "ghost5.tlr", "ghost6.tlr", "poseidonwave.TLR", "earthquake.TLR",
          "firestom.tlr", "useitem_light.tlr", "UsedItem2.TLR"})
        b.Add(name, EffectSet(name));
    b.Add("useitem.TLR", EffectSet("useitem", {}, CEffectBed::kUseItemFrames));
    CSpellSprites::AddTo(b);
    b.Add("poseidon.spr", CSpellSprites::Composite("poseidon", CEffectBed::kPoseidonSteps, {}));
    for (const char* colour : {"r", "b", "g", "y"}) {
        for (const char* base : {"using_item_", "using_item1_", "used_item_", "used_item1_"}) {
            const std::string name = std::string(base) + colour + ".TLR";
            b.Add(name, EffectSet(name));
        }
    }
    std::vector<AnimDef> trail;
    for (int d = 0; d < 8; ++d)
        trail.push_back(Anim("DASH_" + std::to_string(d), 3, 0));
    b.Add("POWERBRAKE.TLR", EffectSet("POWERBRAKE", trail));
    b.Add("MaximumForce.TLR", EffectSet("MaximumForce"));
    b.Add("MAGICBALL.TLR",
          EffectSet("MAGICBALL", {Anim("MAGICUP_0", 2, 0), Anim("MAGICEFFECT_0", 2, 0), Anim("MAGICDOWN_0", 2, 0)}));
    for (const auto& [name, ms] : SoundLengths())
        b.Add(name, CWaveWriter::SimpleWave(ms));
    return b;
}

// The caster's set: every action code an ability looks up, under its name
// in the table the game selects.
void BuildCasterSet(CAnimSpriteSet& set, const CasterSetOptions& o)
{
    std::vector<AnimDef> anims;
    auto family = [&](int base, int steps, int ticks, int hitStep, int count) {
        if (o.missing.count(base))
            return;
        for (int d = 0; d < count; ++d)
            anims.push_back(Anim(kCharAnimNames[base + d], steps, ticks, hitStep));
    };
    for (int base : {CSpecialAbil::kCodeStand, CSpecialAbil::kCodeCounter, CSpecialAbil::kCodeAttackCast,
                     CSpecialAbil::kCodeHealCast})
        family(base, o.castSteps, o.castTicks, o.hitStep, 8);
    family(CSpecialAbil::kCodeDash, o.dashSteps, o.castTicks, -1, 8);
    family(CSpecialAbil::kCodeDashImage, o.dashImages, 1, -1, 1);
    family(CSpecialAbil::kCodeDashImageB, o.dashImages, 1, -1, 1);
    for (int base : {CSpecialAbil::kCodeRaise, CSpecialAbil::kCodeHold, CSpecialAbil::kCodeLower})
        family(base, o.spellSteps, 3, -1, 8);
    const Bytes bytes = CSpriteWriter::AnimSection("0", {Square(1, false), Square(2, true)}, anims);
    CByteReader r(bytes.data(), bytes.size());
    set.Read(r);
    set.SetAnimation(kCharAnimNames, kCharAnimSlots);
}

}  // namespace

CEffectBed::CEffectBed(const CasterSetOptions& caster, int mapSize)
    : bed(mapSize, {}, Archive()), fx(&bed.Layer()), screen(800 * 600, kBlank)
{
    SetEffects(&fx);
    ResOpenArchive();
    g_soundManager.Init();
    g_bodyPartLists.Load();
    fx.LoadResources();
    g_powerBrakeSet.Load("data\\POWERBRAKE.TLR");
    g_magicBallSet.Load("data\\MAGICBALL.TLR");
    g_maximumForceSet.Load("data\\MaximumForce.TLR");
    BuildCasterSet(*bed.Layer().GetCharSet(0), caster);
    const Bytes han = CFontBuilder::HangulFont(), eng = CFontBuilder::EnglishFont();
    text.SetFontData(han.data(), han.size(), eng.data(), eng.size());
    g_pTextLayer = &text;
    // Blend level L turns every pixel into 200 + L.
    uint8_t* blend = palette.GetBlendTable();
    for (int level = 0; level < 8; ++level)
        std::fill(blend + level * 65536, blend + (level + 1) * 65536, static_cast<uint8_t>(200 + level));
    g_pPalette = &palette;
}

CEffectBed::~CEffectBed()
{
    SetEffects(nullptr);
    g_pTextLayer = nullptr;
    g_pPalette = nullptr;
    g_routeTrail.Stop();
    g_bodyPartLists.Free();
    FreeGameData();
}

void CEffectBed::Frame(int n)
{
    for (int i = 0; i < n; ++i) {
        ++g_gameFrameCount;
        std::fill(screen.begin(), screen.end(), kBlank);
        fx.DrawAll(screen.data());
    }
}

void CEffectBed::ScreenOf(int x, int y, int& sx, int& sy) { Ground().WorldToScreen(x, y, sx, sy); }

void CEffectBed::Begin(CCreature& caster, int id, CCreature* target, int x, int y, int value)
{
    caster.StartAbility(id, target, x, y, value, 1, nullptr);
    CAbilityCaster::FrameCounter(caster) = 0;
    CAbilityCaster::Phase(caster) = (id == 4 || id == 12) ? CAbilityCaster::CastValue(caster) : 0;
}

std::vector<std::string> CEffectBed::Sounds()
{
    const plat::CRecordingSoundDevice& dev = bed.world.Platform().sound;
    std::vector<std::string> out;
    for (; m_soundsSeen < dev.calls.size(); ++m_soundsSeen) {
        const plat::SoundCall& call = dev.calls[m_soundsSeen];
        if (call.kind != plat::SoundCall::Play || call.buffer <= 0)
            continue;
        const uint32_t ms = dev.buffers[static_cast<size_t>(call.buffer - 1)].lengthMs;
        // The nearest length: the device rounds to whole samples.
        std::string name = "?";
        int64_t best = 5;
        for (const auto& [n, len] : SoundLengths())
            if (std::llabs(static_cast<int64_t>(len) - ms) < best) {
                best = std::llabs(static_cast<int64_t>(len) - ms);
                name = n;
            }
        out.push_back(name);
    }
    return out;
}

int CEffectBed::FindTextRow(uint8_t colour) const
{
    const auto it = std::find(screen.begin(), screen.end(), colour);
    return it == screen.end() ? -1 : static_cast<int>((it - screen.begin()) / 800);
}

bool CEffectBed::ShowsOnly(const char* line, int x, int y, uint8_t colour)
{
    std::vector<uint8_t> expected(screen.size(), kBlank);
    text.SetTarget(expected.data(), 800, 600);
    text.DrawTextColored(x, y, line, colour, 255, 0);
    return expected == screen;
}
