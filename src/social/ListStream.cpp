#include "social/ListStream.h"

#include <algorithm>
#include <cstring>

#include "app/QuillonView.h"
#include "core/ByteReader.h"
#include "core/HanCodeConv.h"
#include "net/MySocket.h"
#include "platform/Debug.h"
#include "platform/Settings.h"
#include "social/BoardList.h"
#include "ui/Widget.h"

CListStream g_boardRequestStream;
CListStream g_boardReceiveStream;

namespace {

constexpr uint8_t kListMarker[CListStream::kMarkerSize] = {1, 'L', 'S', 'T'};
constexpr uint8_t kTextMarker[CListStream::kMarkerSize] = {1, 'T', 'X', 'T'};

// Where a read header keeps the length of the body after it.
constexpr size_t kBoardBodySizeAt = 60;
constexpr size_t kMailBodySizeAt = 72;
// Passed-over bytes are read in pieces of this size.
constexpr size_t kSkipPiece = 4096;

constexpr const char* kServerKey = "Software\\Brennix\\Quorvel\\Server";
constexpr const char* kDefaultHost = "127.0.0.1";

int PortSetting(const char* name, int fallback)
{
    if (auto p = plat::Settings().GetDword(kServerKey, name); p && *p > 0 && *p < 65536)
        return static_cast<int>(*p);
    return fallback;
}

// Request texts must not carry a line feed or any other control byte of
// their own: the server would read the rest as another request.
void AppendPrintable(std::string& out, const char* text)
{
    for (const char* p = text; p && *p; ++p)
        if (static_cast<uint8_t>(*p) >= 32)
            out += *p;
}

}  // namespace

CListStream::CListStream() { m_buffer.resize(kStartCapacity); }

void CListStream::Reset()
{
    m_held = 0;
    m_socket = nullptr;
    m_source = nullptr;
    m_listWindow = nullptr;
    m_readWindow = nullptr;
    m_mode = kListMode;
    m_haveStart = false;
    m_abandoned = false;
    ForgetReply();
    m_buffer.assign(kStartCapacity, 0);
    m_buffer.shrink_to_fit();
}

void CListStream::SetSocket(CMySocket* socket)
{
    m_socket = socket;
    m_held = 0;
    m_haveStart = false;
    m_abandoned = false;
    ForgetReply();
}

void CListStream::SetByteSource(IByteSource* source)
{
    m_source = source;
    m_held = 0;
    m_haveStart = false;
    m_abandoned = false;
    ForgetReply();
}

void CListStream::ForgetReply()
{
    m_reply = Reply::None;
    m_bodyDue = 0;
}

void CListStream::SetWindows(CWidget* listWindow, CWidget* readWindow)
{
    m_listWindow = listWindow;
    m_readWindow = readWindow;
}

IByteSource* CListStream::Source() const
{
    if (m_source)
        return m_source;
    return m_socket;
}

void CListStream::Abandon()
{
    plat::DebugPrintf("board stream: an item of more than %zu bytes, connection closed\n", kMaxItem);
    m_held = 0;
    m_haveStart = false;
    m_abandoned = true;
    ForgetReply();
    if (m_socket)
        m_socket->Close();
}

int CListStream::ReadExact(uint8_t* buffer, size_t n)
{
    if (n > kMaxItem) {
        Abandon();
        return 0;
    }
    if (m_held < n) {
        IByteSource* source = Source();
        if (!source || m_abandoned)
            return 0;
        if (m_buffer.size() < n)
            m_buffer.resize(n);
        int len = static_cast<int>(n - m_held);
        if (source->Read(m_buffer.data() + m_held, len) > 0)
            m_held += static_cast<size_t>(std::clamp(len, 0, static_cast<int>(n - m_held)));
        if (m_held < n)
            return 0;
    }
    std::memcpy(buffer, m_buffer.data(), n);
    // Only what an item lacked was ever taken, so nothing is left over.
    m_held = 0;
    return 1;
}

int CListStream::ReadRecord(uint8_t* buffer, size_t n, int mode)
{
    return TakeItem(buffer, n, mode) == Item::Record ? 1 : 0;
}

CListStream::Item CListStream::TakeItem(uint8_t* buffer, size_t n, int mode)
{
    if (mode != m_mode || n < kMarkerSize || !buffer)
        return Item::Nothing;
    CListStream& bytes = g_boardRequestStream;
    if (m_mode == kTextMode && bytes.m_reply == Reply::Body && !bytes.SkipBody())
        return Item::Nothing;
    if (!bytes.m_haveStart) {
        if (!bytes.ReadExact(bytes.m_start, kMarkerSize))
            return Item::Nothing;
        if (std::memcmp(bytes.m_start, kListMarker, kMarkerSize) == 0) {
            m_mode = kListMode;
            bytes.ForgetReply();
            if (m_listWindow)
                m_listWindow->OnListReply();
            return Item::Marker;
        }
        if (std::memcmp(bytes.m_start, kTextMarker, kMarkerSize) == 0) {
            m_mode = kTextMode;
            bytes.m_reply = Reply::Header;
            bytes.m_bodyDue = 0;
            if (m_readWindow)
                m_readWindow->ResetRequest(bytes.GetSocket());
            return Item::Marker;
        }
        bytes.m_haveStart = true;
    }
    if (!bytes.ReadExact(buffer + kMarkerSize, n - kMarkerSize))
        return Item::Nothing;
    std::memcpy(buffer, bytes.m_start, kMarkerSize);
    bytes.m_haveStart = false;
    if (m_mode == kTextMode && (n == kBoardRecordSize || n == kMailRecordSize)) {
        // A read header: its body comes next, read raw.
        CByteReader r(buffer, n);
        r.Seek(n == kBoardRecordSize ? kBoardBodySizeAt : kMailBodySizeAt);
        const size_t body = r.U32();
        if (body > kMaxItem) {
            // No honest text is that long: the connection is given up.
            bytes.Abandon();
            return Item::Nothing;
        }
        bytes.m_bodyDue = body;
        bytes.m_reply = body > 0 ? Reply::Body : Reply::Done;
    }
    return Item::Record;
}

int CListStream::ReadBody(uint8_t* buffer, size_t n)
{
    CListStream& bytes = g_boardRequestStream;
    if (m_mode != kTextMode || !buffer || bytes.m_reply != Reply::Body || n != bytes.m_bodyDue)
        return 0;
    if (!bytes.ReadExact(buffer, n))
        return 0;
    bytes.m_bodyDue = 0;
    bytes.m_reply = Reply::Done;
    return 1;
}

bool CListStream::SkipBody()
{
    // What is held of the body so far is body too.
    const size_t held = std::min(m_held, m_bodyDue);
    m_held = 0;
    m_bodyDue -= held;
    IByteSource* source = Source();
    uint8_t scrap[kSkipPiece];
    while (m_bodyDue > 0 && source && !m_abandoned) {
        int len = static_cast<int>(std::min(m_bodyDue, sizeof scrap));
        if (source->Read(scrap, len) <= 0 || len <= 0)
            break;
        m_bodyDue -= std::min(m_bodyDue, static_cast<size_t>(len));
    }
    if (m_bodyDue > 0)
        return false;
    m_reply = Reply::Done;
    return true;
}

void CListStream::DrainReply(size_t headerSize)
{
    CListStream& bytes = g_boardRequestStream;
    uint8_t item[kMailRecordSize];
    if (headerSize != kBoardRecordSize && headerSize != kMailRecordSize)
        return;
    while (m_mode == kTextMode) {
        if (bytes.m_reply == Reply::Body) {
            if (!bytes.SkipBody())
                return;
        } else if (bytes.m_reply == Reply::Header) {
            // The header tells how much body to pass over.
            if (TakeItem(item, headerSize, kTextMode) == Item::Nothing)
                return;
        } else if (TakeItem(item, kMarkerSize, kTextMode) == Item::Nothing) {
            // After a whole reply only a marker means anything.
            return;
        }
    }
}

int CListStream::SendRequest(const char* text) const
{
    if (!m_socket || !text)
        return 0;
    return m_socket->SendCommand(text, static_cast<int>(std::strlen(text)));
}

CMySocket* GetBoardSocket() { return g_pView ? g_pView->m_pBoardSocket : nullptr; }
CMySocket* GetMailSocket() { return g_pView ? g_pView->m_pMailSocket : nullptr; }

std::string BoardServerHost()
{
    plat::ISettings& s = plat::Settings();
    if (auto h = s.GetString(kServerKey, "BoardHost"); h && !h->empty())
        return *h;
    if (auto h = s.GetString(kServerKey, "Host"); h && !h->empty())
        return *h;
    return kDefaultHost;
}

int BoardServerPort() { return PortSetting("BoardPort", kBoardServerPort); }
int MailServerPort() { return PortSetting("MailPort", kMailServerPort); }

bool OpenBoardConnection(CMySocket* socket, int port, const std::string& firstLine)
{
    if (!socket)
        return false;
    if (socket->IsOpen())
        socket->Close();
    if (socket->ConnectSecondary(BoardServerHost().c_str(), port) < 0)
        return false;
    socket->SendCommand(firstLine.data(), static_cast<int>(firstLine.size()));
    return true;
}

std::string SearchRequest(int mode, const char* johabText)
{
    static constexpr const char* kPrefixes[3] = {"LT", "LD", "LI"};
    if (mode < 0 || mode > 2)
        return {};
    std::string text = johabText ? johabText : "";
    std::vector<char> cp949(text.size() + 1);
    CHanCodeConv::JohabToCP949(text.c_str(), cp949.data());
    std::string out = kPrefixes[mode];
    AppendPrintable(out, cp949.data());
    out += '\n';
    return out;
}

std::string MailLoginLine(const char* name)
{
    std::string out;
    AppendPrintable(out, name);
    out += '\n';
    return out;
}

void ResetBoardState()
{
    g_boardRequestStream.Reset();
    g_boardReceiveStream.Reset();
    g_boardList.Clear();
    g_mailList.Clear();
}
