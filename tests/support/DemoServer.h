// A small game server for the sample world, on the loopback address: one
// client at a time. It takes any log-in and registration, offers one
// character and frees any new one's name, answers the version, the choice
// (whose name the player keeps) and every connect step, lets the player
// onto stage 0 among four wandering characters, echoes each step as an
// area update and keeps the player's record as the client reports it. The
// in-game areas (trade, social, colony, the monster's battle) are handlers
// of their own (DemoArea.h), each in its file. Every other command is
// framed by the lengths the client sends it with and dropped; bytes it
// cannot frame are dropped whole. Its random numbers come from one seeded
// generator, so a session plays the same way every time.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/Loop.h"
#include "platform/Socket.h"
#include "world/CharacterRecord.h"

class CByteReader;
class CDemoArea;

class CDemoServer : public plat::IEventSource {
public:
    // An ID that begins with this logs in as a game master.
    static constexpr const char* kGameMasterPrefix = "gm";
    // The account's characters: the hero on the first card, a warrior
    // (class 1) of level 26, and on the third a mage (class 4) of level 13.
    // Their levels follow from their stats as the client derives them, and
    // with them the abilities they own.
    static constexpr const char* kCharacterName = "Hero";
    static constexpr const char* kMageName = "Sage";
    static constexpr int kMageSlot = 3;
    static constexpr uint16_t kPlayerId = 7;
    static constexpr uint16_t kVersion = 336;
    static constexpr int kStartX = 175;
    static constexpr int kStartY = 298;
    static constexpr int32_t kStartMoney = 2000;
    static constexpr int kWanderers = 4;
    static constexpr uint32_t kWanderMs = 1200;
    // Commands kept for Taken().
    static constexpr size_t kLogSize = 4096;

    struct Wanderer {
        uint16_t id;
        uint16_t type;
        int homeX, homeY;
        int x, y;
        const char* name;
        uint32_t cls;
        uint32_t level;
    };

    // Listens on 127.0.0.1 at port (0: a free one).
    explicit CDemoServer(uint16_t port = 0);
    ~CDemoServer() override;
    CDemoServer(const CDemoServer&) = delete;
    CDemoServer& operator=(const CDemoServer&) = delete;

    bool Listening() const { return m_listening; }
    uint16_t Port() const { return m_listener.Port(); }
    // Pumps the server on every pass of the message loop.
    void Register();

    void Pump() override;
    void AppendPollFds(std::vector<struct pollfd>& fds) override;

    bool Accepted() const { return m_accepted; }
    // The client ended its connection (end of stream or an error).
    bool ClientGone() const { return m_clientGone; }
    bool EnteredField() const { return m_entered; }
    // Commands taken since the field entry was answered.
    int CommandsAfterEntry() const { return m_afterEntry; }
    // How many commands of that number were taken.
    int Seen(int command) const;
    // The last commands of that number taken, whole, oldest first (of the
    // last kLogSize commands).
    std::vector<std::vector<uint8_t>> Taken(int command) const;
    // The player's steps, in order.
    const std::vector<std::pair<int, int>>& Steps() const { return m_steps; }
    // Area updates sent in answer to steps.
    int Echoes() const { return m_echoes; }
    // The player's item list as the client reported it; the record the
    // server sends carries it.
    std::array<uint16_t, 100> Items() const;
    // Byte runs dropped because they could not be framed.
    int Dropped() const { return m_dropped; }
    // A second connection was turned away.
    int Refused() const { return m_refused; }

    // The length of the client command at data (n bytes in hand): the whole
    // packet's length, 0 when more bytes are needed to tell, -1 for bytes
    // that are no command the client sends.
    static int ClientPacketLength(const uint8_t* data, size_t n);

    // For the areas.
    void Send(const std::vector<uint8_t>& bytes);
    // The player's record as the server keeps it.
    CharacterRecord& Record() { return m_record; }
    const CharacterRecord& Record() const { return m_record; }
    bool GameMaster() const { return m_gameMaster; }
    const std::vector<Wanderer>& Wanderers() const { return m_wanderers; }
    const Wanderer* FindWanderer(uint16_t id) const;
    // By a name of at most 12 bytes (a wire name field need not end), in
    // any case.
    const Wanderer* FindWandererByName(const char* name, size_t size) const;
    // The next number of the session's generator, 0..32767.
    uint32_t Rand();

private:
    void ReadAvailable();
    void Handle(const uint8_t* p, size_t n);
    void Flush();
    void Wander();
    void AnswerField(uint16_t id, int field);
    void TakeField(const uint8_t* p, size_t n);
    std::vector<uint8_t> CharacterRecordBytes(const Wanderer& c) const;
    static CharacterRecord AccountCharacter(const char* name, char type, uint32_t cls,
                                            const std::array<uint32_t, 5>& stats, uint32_t level);

    plat::CTcpListener m_listener;
    plat::CTcpSocket m_conn;
    bool m_listening = false;
    bool m_registered = false;
    bool m_accepted = false;
    bool m_clientGone = false;
    bool m_entered = false;
    bool m_gameMaster = false;
    int m_afterEntry = 0;
    int m_echoes = 0;
    int m_dropped = 0;
    int m_refused = 0;
    int m_seen[256] = {};
    int m_x = kStartX;
    int m_y = kStartY;
    uint32_t m_lastWander = 0;
    uint32_t m_rand = 12345;
    CharacterRecord m_record;
    CharacterRecord m_mage;
    std::vector<Wanderer> m_wanderers;
    std::vector<std::unique_ptr<CDemoArea>> m_areas;
    std::vector<std::pair<int, int>> m_steps;
    std::deque<std::vector<uint8_t>> m_log;
    std::vector<uint8_t> m_in;
    std::vector<uint8_t> m_out;
};

// Appends what the peer has sent to in; false once it has gone (end of
// stream or an error).
bool ReceiveAvailable(plat::CTcpSocket& conn, std::vector<uint8_t>& in);
// Sends what the system takes of out and drops it from out; false once the
// peer has gone.
bool SendPending(plat::CTcpSocket& conn, std::vector<uint8_t>& out);
