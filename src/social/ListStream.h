// The board and mail connections and the reader of what the board server
// sends on them: fixed-size records of raw fields, switched between a list
// mode and a text mode by two 4-byte markers. Requests are short ASCII lines
// ended by a line feed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CMySocket;
class CWidget;
class IByteSource;

// A board list record, and the header of a board read reply.
constexpr size_t kBoardRecordSize = 156;
// A mail list record, and the header of a mail read reply.
constexpr size_t kMailRecordSize = 168;
constexpr int kBoardServerPort = 8030;
constexpr int kMailServerPort = 8040;

class CListStream {
public:
    enum : int { kListMode = 0, kTextMode = 1 };
    // The accumulator grows to the item asked for, at most this much; a
    // larger item ends the connection.
    static constexpr size_t kMaxItem = 65536;
    static constexpr size_t kStartCapacity = 2048;
    static constexpr size_t kMarkerSize = 4;

    CListStream();

    // The connection of the open list window; its bytes are read from now
    // on, and bytes held from an earlier connection are dropped.
    void SetSocket(CMySocket* socket);
    CMySocket* GetSocket() const { return m_socket; }
    // Reads from this instead of the socket (tests); null: the socket.
    void SetByteSource(IByteSource* source);
    // The list window told of "\x01LST", the read window of "\x01TXT".
    void SetWindows(CWidget* listWindow, CWidget* readWindow);
    CWidget* GetListWindow() const { return m_listWindow; }
    CWidget* GetReadWindow() const { return m_readWindow; }

    // 1 when n bytes were handed out into buffer, else 0. Takes from the
    // source only what the item still lacks, so nothing after it is taken.
    int ReadExact(uint8_t* buffer, size_t n);
    // 1 when a whole record of n bytes is in buffer. 0 at once when mode
    // is not the stream's mode; a marker switches the mode, tells its window
    // and gives 0. The bytes come through g_boardRequestStream. In text mode
    // a record of a read header's size is one, and the body it announces is
    // what comes next; a body left unread by an earlier reply is passed over
    // first, so no header is read out of it.
    int ReadRecord(uint8_t* buffer, size_t n, int mode);
    // The body of a read reply, n raw bytes without a marker test, n being
    // what its header announced: 1 when whole, 0 while waiting, in list mode
    // or with no body due.
    int ReadBody(uint8_t* buffer, size_t n);
    // Nobody shows the read reply under way: it is passed over by the
    // header's body length, as far as it has arrived, and the markers after
    // it are taken, so a list reply behind it switches back to list mode at
    // once. headerSize is the read header of the open list's kind.
    void DrainReply(size_t headerSize);
    // Body bytes of the current read reply not taken yet (the byte side's).
    size_t BodyDue() const { return m_bodyDue; }

    int GetMode() const { return m_mode; }
    size_t Held() const { return m_held; }
    // Sends a request line (its bytes without a terminator) on the socket;
    // the result of SendCommand, 0 without a socket.
    int SendRequest(const char* text) const;
    // Start state: no socket, no windows, list mode, nothing held.
    void Reset();
    // Drops what is held and closes the connection: the server announced
    // an item larger than any the reader takes. Nothing more is read from it
    // until the next SetSocket.
    void Abandon();

private:
    // Where the bytes stand in a read reply.
    enum class Reply : uint8_t { None, Header, Body, Done };
    enum class Item : uint8_t { Nothing, Marker, Record };
    IByteSource* Source() const;
    // ReadRecord, telling a marker from nothing yet.
    Item TakeItem(uint8_t* buffer, size_t n, int mode);
    // Passes over the body due; true once none is left.
    bool SkipBody();
    void ForgetReply();

    std::vector<uint8_t> m_buffer;
    size_t m_held = 0;
    CMySocket* m_socket = nullptr;
    IByteSource* m_source = nullptr;
    CWidget* m_listWindow = nullptr;
    CWidget* m_readWindow = nullptr;
    int m_mode = kListMode;
    // The first 4 bytes of a record taken before its rest had arrived.
    uint8_t m_start[kMarkerSize] = {};
    bool m_haveStart = false;
    bool m_abandoned = false;
    Reply m_reply = Reply::None;
    size_t m_bodyDue = 0;
};

// The receive accumulator and socket of the open list.
extern CListStream g_boardRequestStream;
// The record parser: the mode and the windows to tell.
extern CListStream g_boardReceiveStream;

// The view's board and mail connections; null before the first frame.
CMySocket* GetBoardSocket();
CMySocket* GetMailSocket();

// Where the board server is: the settings value "BoardHost" of the server
// key, else the built-in game server's host; ports 8030 and 8040 unless
// "BoardPort" or "MailPort" is set.
std::string BoardServerHost();
int BoardServerPort();
int MailServerPort();

// Closes the socket when open, connects it to the board server on port and
// queues the first line. False when the connect could not be started
// (nothing is sent then).
bool OpenBoardConnection(CMySocket* socket, int port, const std::string& firstLine);

// A search request: "LT" (mode 0, title), "LD" (1, date) or "LI" (2, ID),
// the typed text converted from Johab to CP949 with every byte below 32
// dropped, and a line feed. Empty for another mode.
std::string SearchRequest(int mode, const char* johabText);
// The mailbox's first line: the character name without bytes below 32,
// and a line feed.
std::string MailLoginLine(const char* name);

// The streams and both list pages back to their start state (between tests).
void ResetBoardState();
