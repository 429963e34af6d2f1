// Chat lines, whispers, the slash commands, the group and the ranking pages.
// Every chat line goes back to everyone on stage 0 (the one client); a
// whisper to a wanderer is answered by it, one to anybody else by the
// server's "not in the game". A wanderer invited to the group joins it.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "support/DemoArea.h"
#include "support/DemoServer.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr size_t kNameSize = 12;
constexpr size_t kPersonSize = 21;
constexpr size_t kMaxPersons = 32;
constexpr size_t kMaxRefused = 5;
constexpr int kGroupSlots = 6;
constexpr uint8_t kModeWhisper = 1;
constexpr uint8_t kModeNotHere = 'e';
// The region the town lies in.
constexpr uint16_t kTownRegion = 1;

// What a wanderer answers a whisper with, by turns.
constexpr const char* kAnswers[] = {
    "Hello! The merchant by the crossing sells blades.",
    "The old man by the fountain talks nonsense, but listen anyway.",
    "Have you read the free board? Somebody sells a shield there.",
    "The banker keeps your things in his cabinet.",
};

// The sample town's ranking below the player and the wanderers: names,
// levels and fame.
constexpr struct {
    const char* name;
    uint8_t level;
    uint16_t fame;
} kRanked[] = {
    {"Arin", 42, 5200}, {"Bora", 37, 4800}, {"Cora", 33, 4100}, {"Dain", 30, 3900}, {"Esra", 27, 3500},
    {"Faro", 24, 3100}, {"Gwen", 21, 2800}, {"Hale", 18, 2400}, {"Iris", 15, 2100}, {"Joss", 12, 1800},
    {"Kiri", 10, 1600}, {"Lorn", 8, 1400},  {"Mael", 6, 1250},  {"Nera", 4, 1100},  {"Orin", 2, 1050},
};

struct Ranked {
    std::string name;
    uint8_t level;
    uint16_t fame;
};

std::string WireName(const uint8_t* p) { return std::string(reinterpret_cast<const char*>(p), strnlen(reinterpret_cast<const char*>(p), kNameSize)); }

class CDemoSocial : public CDemoArea {
public:
    using CDemoArea::CDemoArea;

    bool Handle(const uint8_t* p, size_t n) override
    {
        switch (p[0]) {
        case 7: Chat(p, n); return true;
        case 8: Command(p, n); return true;
        case '<': Invite(CByteReader(p + 1, 2).U16()); return true;
        case 'R':
        case 'Q': Members(p, n); return true;
        case 'B': {
            // The group as the client now has it.
            CByteReader r(p + 3, n - 3);
            m_group.clear();
            for (int i = 0; i < kGroupSlots; ++i)
                if (const uint16_t id = r.U16(); m_server.FindWanderer(id))
                    m_group.push_back(id);
            return true;
        }
        case 'P':
        case 'C': m_group.clear(); return true;
        case 'D': {
            const uint16_t id = CByteReader(p + 1, 2).U16();
            m_group.erase(std::remove(m_group.begin(), m_group.end(), id), m_group.end());
            return true;
        }
        case '=': case '@': case 'E': case 'S': return true;
        case 'n': Ranking(p); return true;
        default: return false;
        }
    }

    // The player first enters alone, in a group of his own: the client
    // invites only from such a group. Back from the colony he keeps his.
    void Entered() override
    {
        if (m_grouped)
            return;
        m_grouped = true;
        CByteWriter w;
        w.U8(61).U16(CDemoServer::kPlayerId).U16(CDemoServer::kPlayerId).Zeros(10);
        m_server.Send(w.Buffer());
    }

private:
    static Bytes ChatPacket(uint16_t id, const std::string& name, uint8_t mode, const std::string& text)
    {
        CByteWriter w;
        w.U8(7).U16(id).FixedString(name, kNameSize).U8(mode).U16(static_cast<uint32_t>(text.size() + 1));
        w.Bytes(text.data(), text.size()).U8(0);
        return w.Buffer();
    }

    // [7][u16 id][12 name][u8 mode][u16 n][text]
    void Chat(const uint8_t* p, size_t n)
    {
        m_server.Send(Bytes(p, p + n));
        if (p[15] != kModeWhisper)
            return;
        const std::string text(reinterpret_cast<const char*>(p + 18), strnlen(reinterpret_cast<const char*>(p + 18), n - 18));
        const std::string target = text.substr(0, text.find(' '));
        if (target == CDemoServer::kCharacterName)
            return;
        const CDemoServer::Wanderer* c = m_server.FindWandererByName(target.data(), target.size());
        if (!c) {
            m_server.Send(ChatPacket(0, target, kModeNotHere, ""));
            return;
        }
        const std::string answer = std::string(CDemoServer::kCharacterName) + " " + kAnswers[m_answers++ % std::size(kAnswers)];
        m_server.Send(ChatPacket(c->id, c->name, kModeWhisper, answer));
    }

    // [8][u8 sub][2 bytes][u16 L][payload]: who, where and the whisper
    // refusals are answered; the game master's commands find nobody.
    void Command(const uint8_t* p, size_t n)
    {
        const uint8_t sub = p[1];
        const size_t length = std::min<size_t>(static_cast<size_t>(p[4] | (p[5] << 8)), n - 6);
        const uint8_t* payload = p + 6;
        std::vector<std::string> names;
        for (size_t i = 0; i < length / kPersonSize && i < kMaxPersons; ++i)
            names.push_back(WireName(payload + i * kPersonSize));
        auto present = [this](const std::string& name) {
            return name == CDemoServer::kCharacterName || m_server.FindWandererByName(name.data(), name.size());
        };
        CByteWriter w;
        auto head = [&w, sub](uint16_t value, size_t count) {
            w.U8(8).U8(sub).U16(value).U16(static_cast<uint32_t>(count * kPersonSize));
        };
        auto person = [&w](const std::string& name, uint8_t region, uint16_t x, uint16_t y, uint32_t number) {
            w.FixedString(name, kNameSize).U8(region).U16(x).U16(y).U32(number);
        };
        switch (sub) {
        case 1: {
            // The game master's wall: the text comes back as the server's.
            const std::string text(reinterpret_cast<const char*>(payload), strnlen(reinterpret_cast<const char*>(payload), length));
            w.U8(8).U8(1).U16(0).U16(static_cast<uint32_t>(text.size() + 1)).Bytes(text.data(), text.size()).U8(0);
            break;
        }
        case 2:
            if (names.empty()) {
                head(static_cast<uint16_t>(1 + m_server.Wanderers().size()), 0);
            } else {
                head(0, names.size());
                for (const std::string& name : names)
                    person(name, present(name) ? 1 : 0, 0, 0, 0);
            }
            break;
        case 3:
            if (names.empty()) {
                head(kTownRegion, 0);
            } else {
                head(0, names.size());
                for (const std::string& name : names) {
                    const CDemoServer::Wanderer* c = m_server.FindWandererByName(name.data(), name.size());
                    if (c)
                        person(name, kTownRegion, static_cast<uint16_t>(c->x), static_cast<uint16_t>(c->y), 0);
                    else
                        person(name, 0, 0xFFFF, 0, 0);
                }
            }
            break;
        case 10:
            if (names.empty())
                return;
            if (std::find(m_refused.begin(), m_refused.end(), names[0]) != m_refused.end()) {
                head(2, 0);
            } else if (m_refused.size() >= kMaxRefused) {
                head(3, 0);
            } else {
                m_refused.push_back(names[0]);
                head(1, 0);
            }
            break;
        case 11: {
            if (names.empty())
                return;
            auto it = std::find(m_refused.begin(), m_refused.end(), names[0]);
            head(it == m_refused.end() ? 2 : 1, 0);
            if (it != m_refused.end())
                m_refused.erase(it);
            break;
        }
        case 12:
            w.U8(8).U8(12).U16(m_refused.empty() ? 0 : 1).U16(static_cast<uint32_t>(m_refused.size() * kNameSize));
            for (const std::string& name : m_refused)
                w.FixedString(name, kNameSize);
            break;
        case 4: case 5: case 6: case 7: case 8: case 9:
            // Nobody to remove, rescue, move or put on the wanted list.
            head(0, names.empty() ? 0 : 1);
            if (!names.empty())
                person(names[0], 0, 0xFFFF, 0, 0);
            break;
        default:
            return;
        }
        m_server.Send(w.Buffer());
    }

    // A wanderer asked into the group joins it at once.
    void Invite(uint16_t id)
    {
        if (!m_server.FindWanderer(id) || std::find(m_group.begin(), m_group.end(), id) != m_group.end() ||
            m_group.size() >= kGroupSlots - 1)
            return;
        m_group.push_back(id);
        m_server.Send(CByteWriter().U8(62).U16(id).Buffer());
    }

    // ['R' or 'Q'][5 u16 ids]: the members' names and classes (82), then
    // their points (81); five entries each, unused ones 0.
    void Members(const uint8_t* p, size_t n)
    {
        CByteReader r(p + 1, n - 1);
        std::array<const CDemoServer::Wanderer*, 5> members{};
        for (auto& m : members)
            m = m_server.FindWanderer(r.U16());
        CByteWriter info, points;
        info.U8(82);
        points.U8(81);
        for (const CDemoServer::Wanderer* c : members) {
            if (!c) {
                info.Zeros(16);
                points.Zeros(16);
                continue;
            }
            info.U16(c->id).U16(c->cls).FixedString(c->name, kNameSize);
            const uint32_t stat = 8 + c->level;
            points.U16(c->id).U16(100).U16(40).U16(stat).U16(stat).U16(stat).U16(stat).U16(stat);
        }
        m_server.Send(info.Buffer());
        m_server.Send(points.Buffer());
    }

    std::vector<Ranked> Table() const
    {
        std::vector<Ranked> all;
        for (const auto& k : kRanked)
            all.push_back({k.name, k.level, k.fame});
        const CharacterRecord& me = m_server.Record();
        all.push_back({CDemoServer::kCharacterName, static_cast<uint8_t>(std::min<uint32_t>(me.U32(CharacterRecord::kLevel), 100)),
                       me.U16(CharacterRecord::kFame)});
        for (const CDemoServer::Wanderer& c : m_server.Wanderers())
            all.push_back({c.name, static_cast<uint8_t>(c.level), static_cast<uint16_t>(1000 + 10 * c.level)});
        std::stable_sort(all.begin(), all.end(), [](const Ranked& a, const Ranked& b) { return a.level > b.level; });
        return all;
    }

    // ['n'][sub]...: a page of six from a rank (1 the first); 'e' for a
    // name or a rank that is not in the table.
    void Ranking(const uint8_t* p)
    {
        const std::vector<Ranked> table = Table();
        size_t first = 1;
        switch (p[1]) {
        case 1: {
            const std::string name = WireName(p + 2);
            auto it = std::find_if(table.begin(), table.end(), [&](const Ranked& e) { return e.name == name; });
            if (it == table.end()) {
                m_server.Send({110, 'e'});
                return;
            }
            first = static_cast<size_t>(it - table.begin()) + 1;
            break;
        }
        // The client asks for 0..94; a first rank of 101 would read as 'e'.
        case 2: first = std::clamp<size_t>(p[2], 1, 94); break;
        case 3:
            if (p[2] < 1 || p[2] > table.size()) {
                m_server.Send({110, 'e'});
                return;
            }
            first = p[2];
            break;
        default: break;
        }
        CByteWriter w;
        w.U8(110).U8(static_cast<uint32_t>(first));
        for (size_t i = first - 1; i < first + 5; ++i) {
            if (i < table.size())
                w.FixedString(table[i].name, kNameSize).U8(table[i].level).U16(table[i].fame);
            else
                w.Zeros(kNameSize).U8(101).U16(0);
        }
        m_server.Send(w.Buffer());
    }

    std::vector<uint16_t> m_group;
    bool m_grouped = false;
    std::vector<std::string> m_refused;
    size_t m_answers = 0;
};

}  // namespace

std::unique_ptr<CDemoArea> MakeDemoSocial(CDemoServer& server)
{
    return std::make_unique<CDemoSocial>(server);
}
