// The sample world's board server, or its mail server, on the loopback
// address: the text requests of the board protocol over one connection at a
// time (a new one replaces the last, as the client opens a board afresh
// each time). The free board holds a few pages of posts, the notice and BUG
// boards a post or two, the mailbox one mail; what the client writes is
// kept until the server ends. Every mail goes into the one mailbox.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/Loop.h"
#include "platform/Socket.h"

class CDemoBoardServer : public plat::IEventSource {
public:
    enum class Kind { Board, Mail };
    static constexpr size_t kPageRows = 15;
    static constexpr int kFreeBoardPosts = 18;

    // Listens on 127.0.0.1 at port (0: a free one).
    explicit CDemoBoardServer(Kind kind, uint16_t port = 0);
    ~CDemoBoardServer() override;
    CDemoBoardServer(const CDemoBoardServer&) = delete;
    CDemoBoardServer& operator=(const CDemoBoardServer&) = delete;

    bool Listening() const { return m_listening; }
    uint16_t Port() const { return m_listener.Port(); }
    // Pumps the server on every pass of the message loop.
    void Register();

    void Pump() override;
    void AppendPollFds(std::vector<struct pollfd>& fds) override;

    // Connections taken so far.
    int Connections() const { return m_connections; }
    // The last request lines taken on every connection, in order (uploads
    // not included).
    const std::vector<std::string>& Requests() const { return m_requests; }
    // Entries written by the client and kept.
    int Uploads() const { return m_uploads; }
    // The last upload taken, whole: its length field, header and body.
    const std::vector<uint8_t>& LastUpload() const { return m_lastUpload; }
    // Every byte the client sent on each of the last few connections,
    // uploads included, oldest first (at most 64 KiB of each).
    const std::deque<std::string>& Sessions() const { return m_sessions; }

private:
    struct Entry {
        int32_t number;
        std::string name;
        std::string login;
        std::string date;
        std::string title;
        std::string body;
    };
    // The entries of the board a session reads; newest first.
    using Board = std::vector<Entry>;

    enum class Start { Undecided, Upload, Line };
    Start UploadAt(size_t off, size_t& total) const;
    void ReadAvailable();
    // Takes whole lines and uploads from the input.
    void Serve();
    void Handle(const std::string& line);
    void TakeUpload(const uint8_t* upload, size_t size);
    void SendPage();
    void SendEntry(size_t index);
    void Flush();
    Board* Current();
    std::vector<uint8_t> ListRecord(const Entry& e) const;

    Kind m_kind;
    plat::CTcpListener m_listener;
    plat::CTcpSocket m_conn;
    bool m_listening = false;
    bool m_registered = false;
    int m_connections = 0;
    int m_uploads = 0;
    std::vector<uint8_t> m_lastUpload;
    std::vector<std::string> m_requests;
    std::deque<std::string> m_sessions;
    // The free board, the notice board, the BUG board; the mailbox.
    Board m_boards[3];
    Board m_mailbox;
    // The session: the board chosen by the first line (-1 none yet), the
    // search the list shows ('T', 'D', 'I' or 0 for all), its page and the
    // entry read last; after "W\n" the upload is awaited until it comes.
    int m_board = -1;
    bool m_named = false;
    char m_filter = 0;
    std::string m_filterText;
    size_t m_page = 0;
    size_t m_shown = 0;
    bool m_awaitingUpload = false;
    std::vector<uint8_t> m_in;
    std::vector<uint8_t> m_out;
};
