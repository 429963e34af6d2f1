#include "support/DemoBoardServer.h"

#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fixtures/BoardRecordWriter.h"
#include "support/DemoServer.h"

namespace {

constexpr const char* kBoardNames[3] = {"BOARD", "NOTICE", "BUG"};
// Where the client's uploads keep their fields.
constexpr size_t kPostHeader = 156, kMailHeader = 328;
constexpr size_t kPostName = 8, kPostLogin = 25, kPostTitle = 68;
constexpr size_t kMailName = 8, kMailLogin = 25, kMailTitle = 240;
constexpr size_t kNameSize = 17, kLoginSize = 12, kTitleSize = 80;
// The length of an upload is 4 decimal digits.
constexpr size_t kLengthField = 4;
// A request line is short; more without a line feed is no request.
constexpr size_t kMaxLine = 256;
// What one board keeps, and the request lines kept for Requests(); the
// oldest go first.
constexpr size_t kMaxEntries = 500;
constexpr size_t kMaxRequests = 4096;
// The connections whose bytes Sessions() keeps, and how much of each.
constexpr size_t kSessionsKept = 8;
constexpr size_t kSessionBytes = 64 * 1024;
// A client that leaves this much of the output unread is let go.
constexpr size_t kMaxUnsent = 1 << 20;
// What the server writes into the date of a new entry.
constexpr const char* kToday = "2026-03-01";

uint32_t CountLines(const std::string& body)
{
    return static_cast<uint32_t>(std::count(body.begin(), body.end(), '\n')) + 1;
}

// A NUL-terminated text of at most n bytes at data + offset.
std::string TextAt(const uint8_t* data, size_t offset, size_t n)
{
    const char* p = reinterpret_cast<const char*>(data + offset);
    return std::string(p, strnlen(p, n));
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

}  // namespace

CDemoBoardServer::CDemoBoardServer(Kind kind, uint16_t port) : m_kind(kind)
{
    m_listening = m_listener.Listen(port) == 0;
    const char* writers[] = {"Arin", "Bram", "Cora", "Dain"};
    const char* topics[] = {"Selling a sword", "Looking for a group", "The pond by the square",
                            "Who keeps the tower?", "Lost my shield", "Trade at noon"};
    for (int n = kFreeBoardPosts; n >= 1; --n) {
        char title[64], date[16];
        std::snprintf(title, sizeof title, "%s (%d)", topics[n % 6], n);
        std::snprintf(date, sizeof date, "2026-02-%02d", n);
        const std::string who = writers[n % 4];
        m_boards[0].push_back({n, who, who == "Arin" ? "arin01" : "town0" + std::to_string(n % 4), date, title,
                               "Hello from " + who + ".\nThis is post number " + std::to_string(n) +
                                   " of the free board.\nAnswer with the write button."});
    }
    m_boards[1].push_back({2, "Warden", "gm", "2026-02-20", "Boards and mail",
                           "The notice board is written by game masters.\nEveryone writes on the free board."});
    m_boards[1].push_back({1, "Warden", "gm", "2026-02-01", "Welcome to the sample town",
                           "This town is a synthetic world for trying the client.\nWalk, read and write."});
    m_boards[2].push_back({1, "Bram", "town01", "2026-02-10", "The tower has no door",
                           "Walking round the tower I found no way in.\nIs that right?"});
    m_mailbox.push_back({1, "Warden", "gm", "2026-02-28", "Welcome",
                         "Welcome to the sample town.\nYour mail arrives here; write with the write button."});
}

CDemoBoardServer::~CDemoBoardServer()
{
    if (m_registered)
        plat::Loop().RemoveEventSource(this);
}

void CDemoBoardServer::Register()
{
    plat::Loop().AddEventSource(this);
    m_registered = true;
}

void CDemoBoardServer::AppendPollFds(std::vector<struct pollfd>& fds)
{
    if (m_conn.IsValid())
        fds.push_back({m_conn.Fd(), static_cast<short>(POLLIN | (m_out.empty() ? 0 : POLLOUT)), 0});
}

void CDemoBoardServer::Pump()
{
    if (!m_listening)
        return;
    // A new connection is a board opened afresh: the last one is done.
    if (m_listener.Accept(m_conn)) {
        ++m_connections;
        if (m_sessions.size() >= kSessionsKept)
            m_sessions.pop_front();
        m_sessions.emplace_back();
        m_in.clear();
        m_out.clear();
        m_board = -1;
        m_named = false;
        m_filter = 0;
        m_page = 0;
        m_shown = 0;
        m_awaitingUpload = false;
    }
    if (!m_conn.IsValid())
        return;
    ReadAvailable();
    Serve();
    Flush();
}

void CDemoBoardServer::ReadAvailable()
{
    const size_t before = m_in.size();
    if (!ReceiveAvailable(m_conn, m_in))
        m_conn.Close();
    if (!m_sessions.empty()) {
        std::string& session = m_sessions.back();
        const size_t n = std::min(m_in.size() - before, kSessionBytes - std::min(kSessionBytes, session.size()));
        session.append(m_in.begin() + static_cast<std::ptrdiff_t>(before),
                       m_in.begin() + static_cast<std::ptrdiff_t>(before + n));
    }
}

// After "W\n" the input may hold an upload: its length in 3 digits and a
// NUL, or in 4 digits followed by the header's first byte, which is 0. A
// request line never holds a NUL. Undecided while too little has come.
CDemoBoardServer::Start CDemoBoardServer::UploadAt(size_t off, size_t& total) const
{
    total = 0;
    for (size_t i = 0; i <= kLengthField; ++i) {
        if (off + i >= m_in.size())
            return Start::Undecided;
        const uint8_t c = m_in[off + i];
        if (c == 0 && i >= kLengthField - 1)
            return Start::Upload;
        if (c < '0' || c > '9' || i == kLengthField)
            return Start::Line;
        total = total * 10 + (c - '0');
    }
    return Start::Line;
}

void CDemoBoardServer::Serve()
{
    size_t off = 0;
    for (;;) {
        const size_t left = m_in.size() - off;
        if (left == 0)
            break;
        if (m_awaitingUpload) {
            // The announced upload is taken whenever it comes: requests
            // sent meanwhile (a reload after a refused Send, say) are
            // answered and the upload is still awaited.
            size_t total = 0;
            const Start start = UploadAt(off, total);
            if (start == Start::Undecided)
                break;
            if (start == Start::Upload) {
                if (left < kLengthField + total)
                    break;
                m_lastUpload.assign(m_in.begin() + static_cast<std::ptrdiff_t>(off),
                                    m_in.begin() + static_cast<std::ptrdiff_t>(off + kLengthField + total));
                const size_t header = m_kind == Kind::Mail ? kMailHeader : kPostHeader;
                // A header alone is an upload given up: nothing is kept.
                if (total > header)
                    TakeUpload(m_in.data() + off + kLengthField, total);
                off += kLengthField + total;
                m_awaitingUpload = false;
                continue;
            }
        }
        const auto begin = m_in.begin() + static_cast<std::ptrdiff_t>(off);
        const auto end = std::find(begin, m_in.end(), static_cast<uint8_t>('\n'));
        if (end == m_in.end()) {
            if (left > kMaxLine)
                off = m_in.size();
            break;
        }
        std::string line(begin, end);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        off = static_cast<size_t>(end - m_in.begin()) + 1;
        Handle(line);
    }
    m_in.erase(m_in.begin(), m_in.begin() + static_cast<std::ptrdiff_t>(off));
}

CDemoBoardServer::Board* CDemoBoardServer::Current()
{
    if (m_kind == Kind::Mail)
        return &m_mailbox;
    return m_board >= 0 ? &m_boards[m_board] : nullptr;
}

void CDemoBoardServer::Handle(const std::string& line)
{
    if (m_requests.size() >= kMaxRequests)
        m_requests.erase(m_requests.begin());
    m_requests.push_back(line);
    if (!m_named) {
        // The first line names the board, or the mailbox's owner.
        m_named = true;
        m_board = 0;
        for (int i = 0; i < 3; ++i)
            if (line == kBoardNames[i])
                m_board = i;
        m_filter = 0;
        SendPage();
        return;
    }
    Board* board = Current();
    if (!board)
        return;
    auto indexOf = [board](int32_t number) {
        for (size_t i = 0; i < board->size(); ++i)
            if ((*board)[i].number == number)
                return i;
        return board->size();
    };
    const std::string rest = line.size() > 2 ? line.substr(2) : "";
    if (line == "LS") {
        m_filter = 0;
        m_page = 0;
        SendPage();
    } else if (line == "F") {
        m_page = m_page > 0 ? m_page - 1 : 0;
        SendPage();
    } else if (line == "B") {
        m_page += 1;
        SendPage();
    } else if (line == "Z") {
        SendPage();
    } else if (line == "A" || line == "N") {
        if (line == "A" && m_shown > 0)
            SendEntry(m_shown - 1);
        else if (line == "N" && m_shown + 1 < board->size())
            SendEntry(m_shown + 1);
    } else if (line == "W") {
        m_awaitingUpload = true;
    } else if (line.rfind("DD", 0) == 0) {
        const size_t i = indexOf(std::atoi(rest.c_str()));
        if (i < board->size())
            board->erase(board->begin() + static_cast<std::ptrdiff_t>(i));
        SendPage();
    } else if (line.rfind("LT", 0) == 0 || line.rfind("LD", 0) == 0 || line.rfind("LI", 0) == 0) {
        m_filter = line[1];
        m_filterText = rest;
        m_page = 0;
        SendPage();
    } else if (!line.empty() && std::all_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        SendEntry(indexOf(std::atoi(line.c_str())));
    }
}

std::vector<uint8_t> CDemoBoardServer::ListRecord(const Entry& e) const
{
    BoardRecordFields f;
    f.number = e.number;
    f.name = e.name;
    f.loginId = e.login;
    f.date = e.date;
    f.bodySize = static_cast<uint32_t>(e.body.size() + 1);
    f.lines = CountLines(e.body);
    f.title = e.title;
    return m_kind == Kind::Mail ? MailRecord(f) : BoardRecord(f);
}

void CDemoBoardServer::SendPage()
{
    Board* board = Current();
    if (!board)
        return;
    // The list shows the last search's entries, else the whole board.
    std::vector<size_t> shown;
    for (size_t i = 0; i < board->size(); ++i) {
        const Entry& e = (*board)[i];
        const bool match = m_filter == 'T'   ? Contains(e.title, m_filterText)
                           : m_filter == 'D' ? Contains(e.date, m_filterText)
                           : m_filter == 'I' ? e.login == m_filterText || e.name == m_filterText
                                             : true;
        if (match)
            shown.push_back(i);
    }
    if (m_page * kPageRows >= shown.size() && m_page > 0)
        m_page = (shown.size() + kPageRows - 1) / kPageRows - 1;
    const std::vector<uint8_t> marker = BoardListMarker();
    m_out.insert(m_out.end(), marker.begin(), marker.end());
    for (size_t row = m_page * kPageRows; row < shown.size() && row < (m_page + 1) * kPageRows; ++row) {
        const std::vector<uint8_t> record = ListRecord((*board)[shown[row]]);
        m_out.insert(m_out.end(), record.begin(), record.end());
    }
}

void CDemoBoardServer::SendEntry(size_t index)
{
    Board* board = Current();
    if (!board || index >= board->size())
        return;
    m_shown = index;
    const Entry& e = (*board)[index];
    BoardRecordFields f;
    f.number = e.number;
    f.name = e.name;
    f.loginId = e.login;
    f.date = e.date;
    f.lines = CountLines(e.body);
    f.title = e.title;
    const std::vector<uint8_t> reply = BoardReadReply(f, e.body, m_kind == Kind::Mail);
    m_out.insert(m_out.end(), reply.begin(), reply.end());
}

void CDemoBoardServer::TakeUpload(const uint8_t* upload, size_t size)
{
    Board* board = Current();
    if (!board)
        return;
    const bool mail = m_kind == Kind::Mail;
    const size_t header = mail ? kMailHeader : kPostHeader;
    Entry e;
    e.name = TextAt(upload, mail ? kMailName : kPostName, kNameSize);
    e.login = TextAt(upload, mail ? kMailLogin : kPostLogin, kLoginSize);
    e.title = TextAt(upload, mail ? kMailTitle : kPostTitle, kTitleSize);
    e.body = TextAt(upload, header, size - header);
    e.date = kToday;
    e.number = 1;
    for (const Entry& old : *board)
        e.number = std::max(e.number, old.number + 1);
    board->insert(board->begin(), e);
    if (board->size() > kMaxEntries)
        board->pop_back();
    ++m_uploads;
}

void CDemoBoardServer::Flush()
{
    if (m_conn.IsValid() && (!SendPending(m_conn, m_out) || m_out.size() > kMaxUnsent)) {
        m_conn.Close();
        m_out.clear();
    }
}
