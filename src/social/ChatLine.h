// The chat line: the slash commands typed into a window's input line (sent
// as command 8 with a sub-code), the server's replies to them, the money
// transfer, and the chat sender that turns any other line into command 7.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

class CChatLine {
public:
    // Sub-codes of command 8, both directions.
    enum : uint8_t {
        kWall = 1,
        kWho = 2,
        kWhere = 3,
        kDelUser = 4,
        kDelGhost = 5,
        kRescue = 6,
        kTeleport = 7,
        kPk = 8,
        kUnpk = 9,
        kRefuse = 10,
        kAllow = 11,
        kRefusedList = 12,
        kMoneyTransfer = 13,
    };
    // A person record: name[12] (CP949, at most 11 bytes and a NUL), u8
    // region or online flag, u16 x (0xFFFF: no position), u16 y, u32 number.
    static constexpr size_t kRecordSize = 21;
    static constexpr size_t kNameSize = 12;
    static constexpr int kMaxNames = 32;
    // Command 8 head: command, sub-code, two zero bytes, u16 payload length.
    static constexpr size_t kHeadSize = 6;
    // Reply payload bytes kept; the rest of a longer one is read and dropped.
    static constexpr size_t kReplyKeep = 675;
    // Refused-list reply: names of 12 bytes, at most this many shown.
    static constexpr size_t kListNameSize = 12;
    static constexpr int kListShown = 5;
    static constexpr int32_t kReplyColour = 198;
    static constexpr int kNoticeTicks = 200;
    static constexpr uint16_t kNoPosition = 0xFFFF;
    // The chat window and the big chat window.
    static constexpr int32_t kChatWindow = 2;
    static constexpr int32_t kBigChatWindow = 3;
    static constexpr int kRegionCount = 7;
    // The input line's size (with its NUL).
    static constexpr size_t kLineSize = 256;

    // A typed line (Johab): 1 when it was a slash command (consumed whatever
    // happened), 0 when it is to be sent as chat.
    int ParseCommand(const char* line);
    // Filters one chat line and sends it as command 7; text (at most 255
    // bytes and its NUL, Johab) is changed in place.
    static void SendChat(char* text);

    // Received command 8: the 5-byte head and the payload, with NetRead.
    void OnReply();
    // One reply with its payload in memory (len bytes).
    void Dispatch(int sub, uint16_t value, size_t len, const uint8_t* payload);

    // The senders take the rest of the line after the command word.
    void SendWall(const char* text);
    void SendWho(const char* text);
    void SendWhere(const char* text);
    void SendDelete(const char* text, int sub);
    void SendRescue(const char* text);
    void SendTeleport(const char* text);
    void SendPk(const char* text);
    void SendUnpk(const char* text);
    void SendRefuse(const char* text);
    void SendAllow(const char* text);
    void SendRefusedList();
    // names (Johab, blank-separated), each record carrying the amount.
    void SendMoneyTransfer(const char* names, uint32_t amount);

    void OnWhoReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnWhereReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnDelUserReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnDelGhostReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnRescueReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnTeleportReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnPkReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnUnpkReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnRefuseReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnAllowReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnRefusedListReply(uint16_t value, size_t len, const uint8_t* payload);
    void OnMoneyTransferReply(uint16_t value, size_t len, const uint8_t* payload);

    // "You have no authority" on the notice line.
    static void ShowNoAuthority();
    // The name of a region number; "Nothing" for 0 and for any number
    // outside 0..6. CP949.
    static const char* RegionName(int region);

    // The name of the last command that remembers one (CP949), emptied by
    // the reply that uses it.
    const char* GetTargetName() const { return m_targetName.data(); }
    uint32_t GetTransferAmount() const { return m_transferAmount; }
    void Reset();

private:
    void SetTarget(const char* cp949);
    void ClearTarget() { m_targetName.fill(0); }
    // Command 8 with the payload.
    static void Send(int sub, const uint8_t* payload, size_t len);
    // Up to max person records of names from text, each also made the
    // target when remember is set (the last one stays).
    void SendNames(const char* text, int sub, int max, bool remember, bool firstOnly);

    std::array<char, 20> m_targetName{};
    uint32_t m_transferAmount = 0;
};

extern CChatLine g_chatLine;
// Set by "/siminit", used by a "/delsimul" that comes right after it.
extern int g_simResetArmed;

// The rescue request last received: the rescuer's id (0 none) and the
// battle number it was asked in.
extern uint16_t g_rescuerId;
extern uint32_t g_rescueBattle;
// The 12-byte CP949 name of the last player who whispered to me (replies go
// to it); not terminated when the name fills it.
extern std::array<char, 12> g_lastWhisperer;

// The chat line's state as at start-up (between tests).
void ResetChatLineState();
