// Effect starts with arbitrary arguments, as packets and callers may give
// them, then 60 frames of every effect into a screen with guard bands. The
// effect sets and body-part lists are loaded from a small archive, so the
// kinds draw real frames wherever they are sent.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "core/PaletteManager.h"
#include "core/RleImage.h"
#include "core/TextLayer.h"
#include "effects/EffectManager.h"
#include "effects/RouteTrail.h"
#include "fixtures/ArchiveBuilder.h"
#include "fixtures/FontBuilder.h"
#include "fixtures/RleEncoder.h"
#include "fixtures/SpellSprites.h"
#include "fuzz_seeds.h"
#include "world/BGLayer.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {

constexpr size_t kGuard = 4096;
constexpr uint8_t kGuardByte = 0xA5;

CArchiveBuilder Sets()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    for (const char* name :
         {"deathman.TLR", "ghost2.tlr", "ghost3.tlr", "ghost5.tlr", "ghost6.tlr", "poseidonwave.TLR", "earthquake.TLR",
          "firestom.tlr", "useitem.TLR", "UsedItem2.TLR", "useitem_light.tlr", "used_item1_g.TLR", "using_item_b.TLR"})
        b.Add(name, CSpellSprites::Flames(name, {}));
    b.Add("poseidon.spr", CSpellSprites::Composite("poseidon", 14, {}));
    CSpellSprites::AddTo(b);
    return b;
}

struct World {
    CTestArchive archive{Sets(), true};
    CBGLayer ground{nullptr};
    CObjLayer layer{nullptr, &ground};
    CEffectManager fx{&layer};
    CPaletteManager palette{nullptr};
    CTextLayer text{nullptr};
    CRleImage image;
    CCharacter speaker;
    std::vector<uint8_t> screen = std::vector<uint8_t>(800 * 600 + 2 * kGuard, kGuardByte);

    World()
    {
        const Bytes han = CFontBuilder::HangulFont(), eng = CFontBuilder::EnglishFont();
        text.SetFontData(han.data(), han.size(), eng.data(), eng.size());
        image.SetData(CRleEncoder::Encode(CRleEncoder::Pattern(8, 8, 1)));
        g_pTextLayer = &text;
        g_pPalette = &palette;
        g_bodyPartLists.Load();
        fx.LoadResources();
    }
};

class CArgs {
public:
    CArgs(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_at < m_size; }
    int Int()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4 && m_at < m_size; ++i)
            v |= static_cast<uint32_t>(m_data[m_at++]) << (8 * i);
        return static_cast<int>(v);
    }
    // Up to 300 bytes of text, zero-terminated in out; its length comes
    // first, so the bytes left are counted after it.
    void Text(std::vector<char>& out)
    {
        const size_t want = static_cast<size_t>(Int() & 511) % 301;
        const size_t n = std::min(m_size - m_at, want);
        out.assign(m_data + m_at, m_data + m_at + n);
        out.push_back(0);
        m_at += n;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

std::string Ints(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<char>(static_cast<uint32_t>(v) >> (8 * i)));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR")) {
        // Every operation once, on the screen.
        std::string all;
        for (int op = 0; op < 27; ++op)
            all += Ints({op, 300 + 10 * op, 200 + 5 * op, op % 5, 40}) +
                   (op == 12 || op == 16 ? Ints({op, 1}) : op == 18 ? Ints({5}) + "hello" : "");
        WriteSeed(dir, "every_start", all);
        WriteSeed(dir, "spells", Ints({21, 400, 300, 0, 0, 22, 500, 260, 0, 0, 23, 200, 360, 0, 0}));
        // A balloon whose text length is the last thing in the input.
        WriteSeed(dir, "text_at_end", Ints({18, 7, 400, 300, 15, 300}));
        // A route trail towards the ends of the range.
        WriteSeed(dir, "far_trail", Ints({19, 400, 300, INT_MAX, INT_MIN}));
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static World w;
    CEffectManager& fx = w.fx;
    CArgs a(data, size);
    std::vector<char> text;
    fx.ClearAll();
    g_routeTrail.Stop();
    for (int n = 0; n < 64 && a.More(); ++n) {
        const int op = a.Int();
        const int x = a.Int(), y = a.Int(), p = a.Int(), q = a.Int();
        switch (static_cast<unsigned>(op) % 27) {
        case 0: fx.StartDamage(x, y, p, 0, nullptr); break;
        case 1: fx.StartDeathMan(x, y, p); break;
        case 2: fx.StartFireStomMain(x, y, nullptr); break;
        case 3: fx.StartUseItem(x, y, p & 1); break;
        case 4: fx.StartUsedItem(x, y); break;
        case 5: fx.StartUseItemColor(p, x, y); break;
        case 6: fx.StartUsedItemColor(p, x, y); break;
        case 7: fx.StartUseItemWaveColor(p, x, y); break;
        case 8: fx.StartPoseidon(x, y, p); break;
        case 9: fx.StartPoseidonWave(x, y, p); break;
        case 10: fx.StartFireStom(x, y, p); break;
        case 11: fx.StartGeneric108(x, y, p, q, &w.image); break;
        case 12: fx.StartGeneric108b(x, y, p, q, a.Int(), &w.image, &w.image); break;
        case 13: fx.StartDeathManSub(x, y, p, q % 200, nullptr); break;
        case 14: fx.StartEarthquake(x, y); break;
        case 15: fx.StartGhostCalling(x, y, p); break;
        case 16: fx.StartBigEffect(op / 22 % 11, x, y, p, q, a.Int(), a.Int()); break;
        case 17:
            w.layer.m_deathMarkFlag = static_cast<uint32_t>(p & 1);
            w.layer.m_deathMarkIndex = x;
            fx.ResetDeathMan();
            break;
        case 18:
            a.Text(text);
            fx.StartChatBalloon(static_cast<uint16_t>(x), text.data(), p);
            fx.StartChatBalloon(&w.speaker, text.data(), p);
            break;
        case 19: g_routeTrail.Start(x, y, p, q); break;
        case 20: fx.StartUseItemWave(x, y); break;
        case 21: fx.StartHinotori(x, y, p); break;
        case 22: fx.StartHellion(x, y, p); break;
        case 23: fx.StartSalamander(x, y); break;
        case 24: fx.StartScreenShake(x, y, p, q % 200); break;
        case 25: fx.StartEffectFire(x, y); break;
        default: fx.RunAbilityRoutine(x, nullptr); break;
        }
    }
    uint8_t* screen = w.screen.data() + kGuard;
    for (int f = 0; f < 60; ++f) {
        ++g_gameFrameCount;
        fx.DrawAll(screen);
        g_routeTrail.Draw(screen);
    }
    for (size_t i = 0; i < kGuard; ++i)
        if (w.screen[i] != kGuardByte || w.screen[kGuard + 800 * 600 + i] != kGuardByte)
            std::abort();
    return 0;
}
