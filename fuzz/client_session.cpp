// The whole client after log-in, driven by a sequence of steps: server
// packets of any command (framed by the client's own length table, or raw
// bytes cut anywhere), runs of frames, clicks and keys, battles entered and
// left, stage changes. Every input starts a fresh client on the headless
// platform with nothing replaced and logs it in on stage 0 of the sample
// world against a scripted server on loopback, so an input replays alone.
//
// Input: two bytes pick my character (class, stats, what I carry), then
// steps, each an op byte and its arguments; a step short of bytes reads
// zeros. The frames an input may run are bounded.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "fixtures/BattleWire.h"
#include "fixtures/CreatureSet.h"
#include "fixtures/ObrBuilder.h"
#include "fixtures/PacketStream.h"
#include "fixtures/SampleWorld.h"
#include "fixtures/TileFileBuilder.h"
#include "fuzz_seeds.h"
#include "net/PacketAssembler.h"
#include "platform/Settings.h"
#include "support/DemoBoardServer.h"
#include "support/FakeServer.h"
#include "support/FieldLogIn.h"
#include "support/Harness.h"
#include "world/BGLayer.h"
#include "world/BattlePacketHeader.h"
#include "world/CharacterRecord.h"
#include "world/Character.h"
#include "world/Npc.h"
#include "world/ObjLayer.h"
#include "world/StageTables.h"
#include "world/StructureObj.h"

namespace {

constexpr uint16_t kMyId = 9;
constexpr const char* kServerKey = "Software\\Brennix\\Quorvel\\Server";
// The start cell of the sample world's stage 0.
constexpr int kStartX = 175, kStartY = 298;
constexpr int kMaxFrames = 400;
constexpr int kMaxSteps = 200;
// Monster kinds: the two with specials and a plain one.
constexpr int kMonsterKinds[] = {1401, 2801, 1501};

enum Op : uint8_t {
    kOpPacket,       // cmd index, fixed part, tail: one packet framed as the client cuts them
    kOpRaw,          // n, n bytes: whatever the server sends, framed or not
    kOpFrames,       // n: 1..32 frames, drawn or (bit 5) late and not drawn
    kOpClick,        // flags, x, y: a click (left/right, single/double) at a point
    kOpKey,          // scan, modifiers: a key pressed for a frame
    kOpType,         // n, letters: keys typed in one frame
    kOpEnterBattle,  // battle, count, participants: the server takes me into a battle
    kOpLeaveBattle,  // how: the battle ends (enemies leave or die) and I right-click out
    kOpBattleSub,    // sub index, payload: a command-30 packet of the battle I am in
    kOpStage,        // stage, x, y: the server teleports me
    kOpEntered,      // x, y, how: the server's answer (or refusal) to my entry on a stage
    kOpMouse,        // x, y: the pointer moves
    kOpClickThing,   // which, flags: a click on a character, NPC or structure where it stands on screen
    kOpClickCell,    // x, y, flags: a click on a cell of the map, where it is on screen
    kOpFocus,        // n: the window loses the focus for n frames
    kOpClose,        // how: the server ends the connection (closed or reset)
    kOpCount
};

class CInput {
public:
    CInput(const uint8_t* data, size_t size) : m_p(data), m_end(data + size) {}
    bool Empty() const { return m_p >= m_end; }
    uint8_t U8() { return m_p < m_end ? *m_p++ : 0; }
    uint16_t U16()
    {
        const uint16_t lo = U8();
        return static_cast<uint16_t>(lo | U8() << 8);
    }
    // n bytes, zeros past the end.
    Bytes Take(size_t n)
    {
        Bytes b(n, 0);
        const size_t have = std::min<size_t>(n, static_cast<size_t>(m_end - m_p));
        std::copy_n(m_p, have, b.begin());
        m_p += have;
        return b;
    }

private:
    const uint8_t* m_p;
    const uint8_t* m_end;
};

// The commands the client's framing accepts and the battle sub-commands it
// knows (those a length function takes), so that every op byte names one.
std::vector<uint8_t> Accepted(int (*length)(int))
{
    std::vector<uint8_t> v;
    for (int c = 0; c < 256; ++c)
        if (length(c) >= 0)
            v.push_back(static_cast<uint8_t>(c));
    return v;
}

const std::vector<uint8_t>& FramedCommands()
{
    static const std::vector<uint8_t> list = Accepted(PacketFixedLength);
    return list;
}

const std::vector<uint8_t>& BattleSubs()
{
    static const std::vector<uint8_t> list = Accepted(BattlePayloadSize);
    return list;
}

// The sample world with monsters that move and fight, and items up to the
// arena charm.
const Bytes& World()
{
    static const Bytes archive = [] {
        CArchiveBuilder b = CSampleWorld::Builder();
        CObrBuilder monsters("CHR");
        for (int kind : kMonsterKinds) {
            const std::string name = std::to_string(kind);
            monsters.Character(name, CObrBuilder::CharRecord(name, 3, static_cast<uint32_t>(kind), 10))
                .RawSet(CCreatureSet::Section(name));
        }
        b.Replace("anpisvena.obr", monsters.Build());
        CObrBuilder items("ITM");
        for (int i = 0; i < 90; ++i)
            items.Item("item" + std::to_string(i), "p");
        b.Replace("item.obr", items.AnimSet("p").Prefix(23).Build());
        // The other stages' ground tiles and structure kinds, where the
        // sample world has none, so a teleport lands somewhere.
        for (int stage = 1; stage < kStageTableCount; ++stage) {
            for (const std::string& path : StageTileFiles(stage)) {
                const std::string name = path.substr(path.find('\\') + 1);
                if (!b.Holds(name))
                    b.Add(name, CTileFileBuilder(name.substr(0, name.find('.'))).Diamond(static_cast<uint8_t>(40 + stage)).Build());
            }
            for (const std::string& path : StageObjectFiles(stage)) {
                const std::string name = path.substr(path.find('\\') + 1);
                if (!b.Holds(name))
                    b.Add(name, CObrBuilder("BLD").Build());
            }
        }
        return b.Build();
    }();
    return archive;
}

Bytes MyRecord(uint8_t a, uint8_t b)
{
    Bytes record(CharacterRecord::kFieldImageSize, 0);
    const int cls = a % 6;
    record[CharacterRecord::kClass] = static_cast<uint8_t>(cls);
    record[CharacterRecord::kClassGroup] = static_cast<uint8_t>(cls / 2);
    record[CharacterRecord::kHp] = static_cast<uint8_t>(10 + (b & 0x7F));
    record[CharacterRecord::kMp] = 100;
    const uint8_t stat = static_cast<uint8_t>(10 + (a >> 3 & 7) * 10);
    for (size_t off : {CharacterRecord::kWisdom, CharacterRecord::kStrength, CharacterRecord::kConstitution,
                       CharacterRecord::kAgility, CharacterRecord::kCourage})
        record[off] = stat;
    // The potion and, when asked, the arena charm worn.
    record[CharacterRecord::kItems] = 74;
    if (b & 0x80)
        record[CharacterRecord::kEquipment + 2 * 5] = 88;
    record[CharacterRecord::kMoney] = 200;
    return record;
}

class CSession {
public:
    // The board and mail servers are the sample world's own, on ports of
    // their own: answers to whatever the windows ask, the same every run.
    CSession()
    {
        plat::Settings().SetDword(kServerKey, "BoardPort", m_board.Port());
        plat::Settings().SetDword(kServerKey, "MailPort", m_mail.Port());
        m_board.Register();
        m_mail.Register();
    }

    bool LogIn(uint8_t a, uint8_t b) { return LogInToField(m_h, kMyId, kStartX, kStartY, MyRecord(a, b)); }

    void Run(CInput& in)
    {
        for (int step = 0; step < kMaxSteps && !in.Empty() && Going(); ++step)
            Step(in);
    }

private:
    bool Going() { return !m_h.Quit() && m_frames < kMaxFrames; }

    void Step(CInput& in)
    {
        switch (in.U8() % kOpCount) {
        case kOpPacket: Packet(in); break;
        case kOpRaw: Send(in.Take(in.U8())); break;
        case kOpFrames: {
            const uint8_t n = in.U8();
            Frames(1 + n % 32, n & 0x20);
            break;
        }
        case kOpClick: Click(in); break;
        case kOpKey: Key(in); break;
        case kOpType: Type(in); break;
        case kOpEnterBattle: EnterBattle(in); break;
        case kOpLeaveBattle: LeaveBattle(in); break;
        case kOpBattleSub: BattleSub(in); break;
        case kOpStage: Stage(in); break;
        case kOpEntered: Entered(in); break;
        case kOpClickThing: ClickThing(in); break;
        case kOpClickCell: ClickCell(in); break;
        case kOpFocus:
            m_h.FocusLost();
            Frames(1 + in.U8() % 8);
            m_h.FocusGained();
            Frames(1);
            break;
        case kOpClose:
            if (in.U8() & 1)
                m_h.Server().Reset();
            else
                m_h.Server().Close();
            m_h.Server().Pump();
            Frames(2);
            break;
        case kOpMouse: {
            const int x = in.U16() % 800;
            m_h.MouseMove(x, in.U16() % 600);
            Frames(1);
            break;
        }
        default: break;
        }
    }

    // The server's bytes leave now: the client finds them on its next pass.
    void Send(const Bytes& bytes)
    {
        if (bytes.empty())
            return;
        m_h.Server().Send(bytes);
        m_h.Server().Pump();
    }

    // late: each frame a period behind its time, as on a slow machine, so
    // it is computed and not drawn.
    void Frames(int n, bool late = false)
    {
        for (int i = 0; i < n && Going(); ++i) {
            const uint32_t f = g_gameFrameCount;
            ++m_frames;
            const int32_t behind = static_cast<int32_t>(m_h.Clock().NowMs() - g_nextFrameDue);
            if (late && behind < static_cast<int32_t>(kFramePeriodMs))
                m_h.Clock().Advance(static_cast<uint32_t>(static_cast<int32_t>(kFramePeriodMs) - behind));
            if (!m_h.RunUntil([f] { return g_gameFrameCount != f; }, 100))
                return;
        }
    }

    void Packet(CInput& in)
    {
        const std::vector<uint8_t>& cmds = FramedCommands();
        Bytes p = {cmds[in.U8() % cmds.size()]};
        const Bytes fixed = in.Take(static_cast<size_t>(PacketFixedLength(p[0])));
        p.insert(p.end(), fixed.begin(), fixed.end());
        const int tail = PacketTailLength(p.data());
        // A selector the framing refuses, or a packet too long, goes as it
        // is: the client must refuse it.
        if (tail > 0 && p.size() + static_cast<size_t>(tail) <= kPacketBufferSize) {
            const Bytes t = in.Take(static_cast<size_t>(tail));
            p.insert(p.end(), t.begin(), t.end());
        }
        Send(p);
    }

    void Click(CInput& in)
    {
        const uint8_t flags = in.U8();
        const int x = in.U16() % 800;
        ClickAt(x, in.U16() % 600, flags);
    }

    // flags: bit 0 the right button, bit 1 a double click, bits 2-3 frames after.
    void ClickAt(int x, int y, uint8_t flags)
    {
        const int button = flags & 1 ? 2 : 1;
        m_h.MouseMove(x, y);
        Frames(1);
        m_h.Click(button, x, y);
        if (flags & 2) {
            Frames(2);
            m_h.Click(button, x, y);
        }
        Frames(1 + (flags >> 2 & 3));
    }

    // The n-th character, NPC or structure on the map, clicked above its
    // foot point as a player would aim at it.
    void ClickThing(CInput& in)
    {
        const uint8_t which = in.U8(), flags = in.U8();
        CObjLayer* layer = g_pView ? g_pView->m_pObjLayer : nullptr;
        if (!layer || !layer->GetBackground())
            return;
        const int kind = which & 3;
        const int slots = kind == 0 ? CObjLayer::kCharacters : kind == 2 ? CObjLayer::kStructures : CObjLayer::kNpcs;
        std::vector<const CObj*> things;
        for (int i = 0; i < slots; ++i) {
            const CObj& o = kind == 0   ? static_cast<const CObj&>(layer->CharacterSlot(i))
                            : kind == 2 ? static_cast<const CObj&>(layer->StructureSlot(i))
                                        : static_cast<const CObj&>(layer->NpcSlot(i));
            if (o.IsActive())
                things.push_back(&o);
        }
        if (things.empty())
            return;
        const CObj* o = things[(which >> 2) % things.size()];
        int sx = 0, sy = 0;
        layer->GetBackground()->WorldToScreen(o->GetPixelX(), o->GetPixelY(), sx, sy);
        ClickAt(std::clamp(sx, 0, 799), std::clamp(sy - 3 - (flags >> 4) * 4, 0, 599), flags);
    }

    void ClickCell(CInput& in)
    {
        const int x = in.U16() % 512, y = in.U16() % 512;
        const uint8_t flags = in.U8();
        if (!g_pView || !g_pView->m_pBGLayer)
            return;
        int px = 0, py = 0, sx = 0, sy = 0;
        CBGLayer::TileToPixel(x, y, px, py);
        g_pView->m_pBGLayer->WorldToScreen(px + CBGLayer::kTileWidth / 2, py + CBGLayer::kTileHeight / 2, sx, sy);
        ClickAt(std::clamp(sx, 0, 799), std::clamp(sy - (flags >> 4) * 4, 0, 599), flags);
    }

    void Key(CInput& in)
    {
        const uint8_t scan = in.U8() & 0x7F;
        const uint8_t mods = in.U8();
        constexpr uint8_t kCtrl = 29, kShift = 42, kAlt = 56;
        const bool extended = mods & 8;
        for (int i = 0; i < 3; ++i)
            if (mods & 1 << i)
                m_h.KeyDown(i == 0 ? kCtrl : i == 1 ? kShift : kAlt);
        m_h.KeyDown(scan, extended);
        Frames(1 + (mods >> 4 & 1));
        m_h.KeyUp(scan, extended);
        for (int i = 0; i < 3; ++i)
            if (mods & 1 << i)
                m_h.KeyUp(i == 0 ? kCtrl : i == 1 ? kShift : kAlt);
        Frames(1);
    }

    // Letters, digits, space, Enter and Backspace by their scan codes.
    void Type(CInput& in)
    {
        static constexpr uint8_t kKeys[] = {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 30, 31, 32, 33, 34, 35,
                                            36, 37, 38, 44, 45, 46, 47, 48, 49, 50, 2,  3,  4,  5,  6,  7,
                                            8,  9,  10, 11, 57, 28, 14, 12, 13, 52, 53, 39};
        const int n = in.U8() % 24;
        for (int i = 0; i < n; ++i) {
            const uint8_t scan = kKeys[in.U8() % sizeof kKeys];
            m_h.KeyDown(scan);
            m_h.KeyUp(scan);
        }
        Frames(1);
    }

    // [27][u16][u16 battle][u16 cx][u16 cy][u16 opponent][u8 k], k records.
    void EnterBattle(CInput& in)
    {
        const uint8_t how = in.U8();
        static constexpr int kBattles[] = {501, 502, 20001, 0};
        m_battle = how & 0x80 ? in.U16() : kBattles[how & 3];
        const int count = 1 + (how >> 2 & 3);
        CObjLayer* layer = g_pView ? g_pView->m_pObjLayer : nullptr;
        const CCharacter* me = layer ? layer->GetMyCharacter() : nullptr;
        const int cx = me ? me->GetTileX() : kStartX, cy = me ? me->GetTileY() : kStartY;
        m_enemies.clear();
        CBattleWire w;
        w.U8(27).U16(0).U16(m_battle).U16(cx).U16(cy).U16((how & 0x40) ? kMyId : 1000).U8(count);
        for (int i = 0; i < count; ++i) {
            const uint8_t who = in.U8();
            // Monsters from 1000, players below; the low bits place them.
            const int id = who & 0x80 ? 10 + (who & 7) : 1000 + (who & 7);
            const int type = who & 0x80 ? (who >> 3 & 3) : kMonsterKinds[(who >> 3 & 3) % 3];
            const int dx = static_cast<int8_t>(in.U8()) % 8, dy = static_cast<int8_t>(in.U8()) % 8;
            w.Participant(id, cx + dx, cy + dy, type, who & 0x40 ? 0 : id, 5 + (who & 0x30));
            m_enemies.push_back(id);
        }
        Send(w);
        Frames(1 + in.U8() % 32);
    }

    // The enemies log out of the battle or die by my hand; then the right
    // click leaves it.
    void LeaveBattle(CInput& in)
    {
        const uint8_t how = in.U8();
        for (int id : m_enemies) {
            if (how & 1)
                Send(CBattleWire().U8(35).U16(id));
            else
                Send(CBattleWire::Packet(6,
                                         CBattleWire().U16(id).U16(kMyId).U16(0).U16(0).U16(0).U8(0).U16(12)
                                             .U16(0).U16(0).U32(0).U32(0),
                                         m_battle));
        }
        Frames(1 + (how >> 1 & 7));
        m_h.Click(2, 400, 200);
        Frames(1 + (how >> 4));
    }

    void BattleSub(CInput& in)
    {
        const std::vector<uint8_t>& subs = BattleSubs();
        const uint8_t sub = subs[in.U8() % subs.size()];
        const uint8_t flag = in.U8() & 3;
        Bytes payload = in.Take(static_cast<size_t>(BattlePayloadSize(sub)));
        // The first word of most payloads names a participant.
        if (!m_enemies.empty() && !payload.empty() && payload[0] < 0x80) {
            const int id = payload[0] & 1 ? kMyId : m_enemies[payload[0] % m_enemies.size()];
            payload[0] = static_cast<uint8_t>(id);
            if (payload.size() > 1)
                payload[1] = static_cast<uint8_t>(id >> 8);
        }
        Send(CBattleWire::Packet(sub, payload, m_battle, flag));
    }

    // The teleport reply: [8][7][u16 99][u16 21][name 12][region][u16 x][u16 y][u32].
    void Stage(CInput& in)
    {
        const uint8_t region = in.U8() % 9;
        const int x = in.U16() % 512, y = in.U16() % 512;
        CBattleWire w;
        w.U8(8).U8(7).U16(99).U16(21);
        for (int i = 0; i < 12; ++i)
            w.U8(i < 4 ? "Mira"[i] : 0);
        w.U8(region).U16(x).U16(y).U32(0);
        Send(w);
        Frames(1 + in.U8() % 32);
    }

    void Entered(CInput& in)
    {
        const int x = in.U16() % 520, y = in.U16() % 520;
        Bytes reply = EnteredReply(kMyId, x, y);
        // Bit 0: the server refuses (no id), and I ask again.
        const uint8_t how = in.U8();
        if (how & 1)
            reply[1] = reply[2] = 0;
        Send(reply);
        Frames(1 + (how >> 1 & 15));
    }

    CHarness m_h{5000};
    CDemoBoardServer m_board{CDemoBoardServer::Kind::Board};
    CDemoBoardServer m_mail{CDemoBoardServer::Kind::Mail};
    int m_frames = 0;
    int m_battle = 501;
    std::vector<int> m_enemies;
};

// ---- the seed corpus ---------------------------------------------------------

// Seed inputs written step by step in the target's own encoding.
class CSeed {
public:
    CSeed(uint8_t a = 0x10, uint8_t b = 0x50) { m_s = {static_cast<char>(a), static_cast<char>(b)}; }
    CSeed& U8(int v)
    {
        m_s.push_back(static_cast<char>(v));
        return *this;
    }
    CSeed& U16(int v) { return U8(v & 0xFF).U8(v >> 8 & 0xFF); }
    CSeed& Op(Op op) { return U8(op); }
    CSeed& Frames(int n) { return Op(kOpFrames).U8(n - 1); }
    CSeed& LateFrames(int n) { return Op(kOpFrames).U8((n - 1) | 0x20); }
    CSeed& Click(int x, int y, int flags = 0) { return Op(kOpClick).U8(flags).U16(x).U16(y); }
    CSeed& Key(int scan, int mods = 0) { return Op(kOpKey).U8(scan).U8(mods); }
    // Letters and digits as the type step's key indexes.
    CSeed& Type(const char* text)
    {
        static const char kChars[] = "qwertyuiopasdfghjklzxcvbnm1234567890 ";
        Op(kOpType).U8(static_cast<int>(std::strlen(text)));
        for (const char* p = text; *p; ++p)
            U8(static_cast<int>(std::strchr(kChars, *p) - kChars));
        return *this;
    }
    // A whole packet through the framed step: its command's index, then
    // the bytes after the command byte.
    CSeed& Packet(const Bytes& p)
    {
        const std::vector<uint8_t>& cmds = FramedCommands();
        Op(kOpPacket).U8(static_cast<int>(std::find(cmds.begin(), cmds.end(), p[0]) - cmds.begin()));
        m_s.append(p.begin() + 1, p.end());
        return *this;
    }
    CSeed& Raw(const Bytes& p)
    {
        Op(kOpRaw).U8(static_cast<int>(p.size()));
        m_s.append(p.begin(), p.end());
        return *this;
    }
    CSeed& Battle(int how, std::initializer_list<int> who, int frames)
    {
        Op(kOpEnterBattle).U8(how);
        for (int w : who)
            U8(w).U8(3).U8(0);
        return U8(frames - 1);
    }
    CSeed& BattleSub(int sub, const Bytes& payload)
    {
        const std::vector<uint8_t>& subs = BattleSubs();
        Op(kOpBattleSub).U8(static_cast<int>(std::find(subs.begin(), subs.end(), sub) - subs.begin())).U8(0);
        Bytes exact = payload;
        exact.resize(static_cast<size_t>(BattlePayloadSize(sub)));
        m_s.append(exact.begin(), exact.end());
        return *this;
    }
    CSeed& Leave(int how) { return Op(kOpLeaveBattle).U8(how); }
    CSeed& Stage(int region, int x, int y, int frames) { return Op(kOpStage).U8(region).U16(x).U16(y).U8(frames - 1); }
    CSeed& Entered(int x, int y, int frames) { return Op(kOpEntered).U16(x).U16(y).U8((frames - 1) << 1); }
    CSeed& ClickThing(int which, int flags = 0) { return Op(kOpClickThing).U8(which).U8(flags); }
    CSeed& ClickCell(int x, int y, int flags = 0) { return Op(kOpClickCell).U16(x).U16(y).U8(flags); }
    const std::string& Str() const { return m_s; }

private:
    std::string m_s;
};

void WriteSessionSeeds(const std::string& dir)
{
    constexpr int kEnter = 28, kCtrl = 1, kAlt = 4;
    WriteSeed(dir, "login", CSeed().Frames(10).Str());
    WriteSeed(dir, "walk", CSeed().Click(520, 240).Frames(20).Click(300, 330).Frames(20).Click(450, 200, 2)
                               .Frames(20).Str());
    WriteSeed(dir, "windows", CSeed().Key(31, kCtrl).Key(23, kCtrl).Key(30, kCtrl).Key(59).Key(21, kCtrl)
                                  .Click(400, 300).Key(1).Frames(4).Str());
    // A line typed and sent, and the server's echo of it.
    WriteSeed(dir, "chat", CSeed().Key(kEnter).Type("hello there").Key(kEnter)
                               .Packet(MakePacket(7, 17, {{1, 'M'}, {2, 'i'}, {16, 5}}, 5)).Frames(4).Str());
    WriteSeed(dir, "npc", CSeed().ClickThing(1).Frames(20).Click(441, 218).Frames(30).ClickThing(3).Frames(20).Str());
    // The merchant a few cells from the start: his shop, its talk button,
    // his two pages and the gift.
    WriteSeed(dir, "merchant", CSeed().ClickCell(179, 292, 0x50).Frames(32).Click(441, 218).Frames(32).Frames(32)
                                   .Frames(32).Click(400, 300).Frames(8).Str());
    // Into a battle with a monster, hit by it, the monster dies, out by the
    // right click and back on the field where I stood.
    const Bytes hit = CBattleWire().U16(0).U16(kMyId).U16(kStartX).U16(kStartY).U16(0xFFF9).U16(40);
    WriteSeed(dir, "battle", CSeed(0x24, 0xD0).Battle(0, {0}, 32).Frames(32).BattleSub(5, hit).Frames(8)
                                 .Click(0, 0).Leave(0).Frames(32).Entered(kStartX, kStartY, 8).Str());
    // The battle left while the server's answers are still on their way.
    WriteSeed(dir, "battle_answer_late", CSeed(0x24, 0x50).Battle(0x04, {0, 9}, 32).Frames(8).Leave(1)
                                             .BattleSub(5, hit).BattleSub(6, Bytes(23, 0)).Frames(4)
                                             .Battle(0, {0}, 4).Entered(kStartX, kStartY, 8).Frames(16).Str());
    WriteSeed(dir, "arena", CSeed(0x2C, 0xD0).Battle(2, {0x80}, 32).Key(30, kCtrl).Frames(16).Key(30, kCtrl).Frames(8).Leave(1)
                                .Frames(16).Entered(kStartX, kStartY, 8).Str());
    // To stage 1 and back by the server's teleports.
    WriteSeed(dir, "stage", CSeed().Stage(2, 8, 8, 32).Entered(8, 8, 8).Click(400, 250).LateFrames(8)
                                .Stage(1, kStartX, kStartY, 32).Entered(kStartX, kStartY, 16).Str());
    // Every framed command once, a half packet and its rest apart.
    CSeed mix;
    const Bytes stream = MakeServerPacketMix();
    for (size_t at = 0; at < stream.size();) {
        Bytes p(stream.begin() + static_cast<std::ptrdiff_t>(at), stream.end());
        const size_t len = 1 + static_cast<size_t>(PacketFixedLength(p[0])) + static_cast<size_t>(PacketTailLength(p.data()));
        p.resize(len);
        if (p[0] != 2 && p[0] != 120)
            mix.Packet(p).Frames(1);
        at += len;
    }
    const Bytes move = MakePacket(12, 10, {{1, kMyId}, {3, 100}});
    mix.Raw(Bytes(move.begin(), move.begin() + 4)).Frames(2).Raw(Bytes(move.begin() + 4, move.end())).Frames(2);
    WriteSeed(dir, "mix", mix.Str());
    // The free board opened from its post in town, its list, a post read,
    // back, the writing form.
    WriteSeed(dir, "board", CSeed().ClickCell(172, 301, 0x20).Frames(32).Click(186, 458).Frames(32)
                                .Click(196, 198, 2).Frames(32).Click(544, 458).Frames(8).Click(486, 458).Frames(8)
                                .Key(1).Frames(8).Str());
    WriteSeed(dir, "exit", CSeed().Frames(2).Key(29, kAlt).Frames(32).Frames(32).Str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* dir = std::getenv("QUORVEL_FUZZ_SEED_DIR"))
        WriteSessionSeeds(dir);
    // One archive file for the process; each client opens it afresh.
    static CTestArchive archive(World(), false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CInput in(data, size);
    const uint8_t a = in.U8(), b = in.U8();
    CSession session;
    // The log-in is the same script every time: failing it is the target's
    // own fault, not a finding.
    if (!session.LogIn(a, b)) {
        std::fprintf(stderr, "client_session: the log-in did not complete\n");
        std::abort();
    }
    session.Run(in);
    return 0;
}
