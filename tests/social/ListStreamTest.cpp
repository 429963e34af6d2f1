#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "fixtures/BoardRecordWriter.h"
#include "fixtures/PacketStream.h"
#include "net/MySocket.h"
#include "platform/headless/HeadlessPlatform.h"
#include "social/BoardReadWin.h"
#include "social/ListStream.h"

namespace {

// Counts what the stream tells its windows.
class CStreamProbe : public CWidget {
public:
    void OnListReply() override { ++listReplies; }
    void ResetRequest(CMySocket* socket) override
    {
        ++resets;
        lastSocket = socket;
    }
    int listReplies = 0;
    int resets = 0;
    CMySocket* lastSocket = nullptr;
};

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Row(int32_t number)
{
    BoardRecordFields f;
    f.number = number;
    f.title = "row " + std::to_string(number);
    return BoardRecord(f);
}

class BoardStream : public ::testing::Test {
protected:
    BoardStream()
    {
        ResetBoardState();
        g_boardRequestStream.SetSocket(&m_socket);
        g_boardRequestStream.SetByteSource(&source);
        g_boardReceiveStream.SetWindows(&list, &reader);
    }
    ~BoardStream() override { ResetBoardState(); }

    int List(Bytes& out)
    {
        out.assign(kBoardRecordSize, 0xEE);
        return g_boardReceiveStream.ReadRecord(out.data(), kBoardRecordSize, CListStream::kListMode);
    }

    plat::CHeadlessPlatform m_platform;
    CMySocket m_socket;
    CMemoryByteSource source;
    CStreamProbe list;
    CStreamProbe reader;
};

TEST_F(BoardStream, MarkerSplitTwoAndTwoIsSeenWhenItsFourthByteArrives)
{
    Bytes rec;
    source.Append({1, 'L'});
    EXPECT_EQ(List(rec), 0);
    EXPECT_EQ(list.listReplies, 0);
    EXPECT_EQ(g_boardRequestStream.Held(), 2u);
    source.Append({'S', 'T'});
    EXPECT_EQ(List(rec), 0);
    EXPECT_EQ(list.listReplies, 1);

    // The text marker, split 3 + 1, switches the mode and tells the reader
    // with the stream's socket.
    source.Append({1, 'T', 'X'});
    EXPECT_EQ(List(rec), 0);
    EXPECT_EQ(g_boardReceiveStream.GetMode(), CListStream::kListMode);
    source.Append({'T'});
    EXPECT_EQ(List(rec), 0);
    EXPECT_EQ(g_boardReceiveStream.GetMode(), CListStream::kTextMode);
    EXPECT_EQ(reader.resets, 1);
    EXPECT_EQ(reader.lastSocket, &m_socket);
}

TEST_F(BoardStream, TwoRecordsInOneChunkAreTakenOnTwoCallsWithNothingLost)
{
    const Bytes a = Row(7), b = Row(8);
    source.Append(Cat({BoardListMarker(), a, b}));
    Bytes rec;
    EXPECT_EQ(List(rec), 0);  // the marker
    ASSERT_EQ(List(rec), 1);
    EXPECT_EQ(rec, a);
    // Only what the item lacked was taken from the connection.
    EXPECT_EQ(source.Taken(), 4 + kBoardRecordSize);
    ASSERT_EQ(List(rec), 1);
    EXPECT_EQ(rec, b);
    EXPECT_EQ(List(rec), 0);
    EXPECT_EQ(source.Available(), 0u);
}

TEST_F(BoardStream, RecordArrivingByteByByteIsWholeOnlyAtItsLastByte)
{
    const Bytes a = Row(42);
    Bytes rec;
    for (size_t i = 0; i < a.size(); ++i) {
        source.Append(&a[i], 1);
        EXPECT_EQ(List(rec), i + 1 == a.size() ? 1 : 0) << "byte " << i;
    }
    EXPECT_EQ(rec, a);
}

TEST_F(BoardStream, TextMarkerAmidListRowsStopsTheRows)
{
    BoardRecordFields header;
    header.number = 9;
    source.Append(Cat({BoardListMarker(), Row(1), Row(2), BoardReadReply(header, "hello", false), Row(3)}));
    Bytes rec;
    EXPECT_EQ(List(rec), 0);
    EXPECT_EQ(List(rec), 1);
    EXPECT_EQ(List(rec), 1);
    EXPECT_EQ(List(rec), 0);  // "\x01TXT"
    const size_t taken = source.Taken();
    // List readers get nothing in text mode, and take nothing.
    EXPECT_EQ(List(rec), 0);
    EXPECT_EQ(source.Taken(), taken);
    Bytes head(kBoardRecordSize);
    ASSERT_EQ(g_boardReceiveStream.ReadRecord(head.data(), kBoardRecordSize, CListStream::kTextMode), 1);
    EXPECT_EQ(head[0], 9);
    Bytes body(6);
    ASSERT_EQ(g_boardReceiveStream.ReadBody(body.data(), 6), 1);
    EXPECT_EQ(std::string(body.begin(), body.end() - 1), "hello");
}

TEST_F(BoardStream, AReplyNobodyShowsIsPassedOverByItsBodyLengthInOneCall)
{
    for (size_t body : {size_t{0}, size_t{1}, size_t{6}, size_t{8}, size_t{9000}}) {
        ResetBoardState();
        g_boardRequestStream.SetByteSource(&source);
        g_boardReceiveStream.SetWindows(&list, &reader);
        list.listReplies = 0;
        BoardRecordFields f;
        f.bodySize = static_cast<uint32_t>(body);
        source.Append(Cat({BoardTextMarker(), BoardRecord(f), Bytes(body, 'b'), BoardListMarker(), Row(3)}));
        Bytes rec;
        List(rec);  // the text marker
        g_boardReceiveStream.DrainReply(kBoardRecordSize);
        EXPECT_EQ(g_boardReceiveStream.GetMode(), CListStream::kListMode) << body;
        EXPECT_EQ(list.listReplies, 1) << body;
        ASSERT_EQ(List(rec), 1) << body;
        EXPECT_EQ(rec, Row(3)) << body;
    }
}

// ---- read replies through the read windows ------------------------------------

class ReadReply : public BoardStream {
protected:
    // Takes items until the reader has the body or nothing comes.
    template <class Win>
    void Receive(Win& w)
    {
        for (int i = 0; i < 8 && w.GetRecordCount() < 2; ++i)
            w.ReceiveItem();
    }
};

TEST_F(ReadReply, BodyOf5000BytesIsReadWhole)
{
    CBullReadWin w;
    g_boardReceiveStream.SetWindows(&list, &w);
    std::string body;
    for (int i = 0; i < 100; ++i)
        body += std::string(48, static_cast<char>('a' + i % 26)) + "\r\n";
    ASSERT_EQ(body.size(), 5000u);
    source.Append(Cat({BoardListMarker(), Row(1)}));
    Bytes rec;
    List(rec);
    List(rec);
    source.Append(BoardReadReply(BoardRecordFields{}, body, false));
    List(rec);  // the list reader meets the text marker
    Receive(w);
    ASSERT_EQ(w.GetRecordCount(), 2);
    ASSERT_EQ(w.GetLineCount(), 101);
    EXPECT_EQ(std::string(w.GetLine(0)), std::string(48, 'a') + "\r");
    EXPECT_EQ(std::string(w.GetLine(99)), std::string(48, 'a' + 99 % 26) + "\r");
    EXPECT_EQ(std::string(w.GetLine(100)), "");
    EXPECT_EQ(source.Available(), 0u);
}

TEST_F(ReadReply, BodyThatLooksLikeAListMarkerIsText)
{
    CMailReadWin w;
    g_boardReceiveStream.SetWindows(&list, &w);
    BoardRecordFields f;
    f.lines = 2;
    const std::string forged = std::string("\x01LST") + std::string(160, 'R') + "\nend";
    source.Append(BoardReadReply(f, forged, true));
    Bytes rec;
    List(rec);
    Receive(w);
    ASSERT_EQ(w.GetRecordCount(), 2);
    EXPECT_EQ(list.listReplies, 0);
    EXPECT_EQ(g_boardReceiveStream.GetMode(), CListStream::kTextMode);
    ASSERT_EQ(w.GetLineCount(), 2);
    EXPECT_EQ(std::string(w.GetLine(0)), forged.substr(0, 164));
    EXPECT_EQ(std::string(w.GetLine(1)), "end");
}

TEST_F(ReadReply, ShortAndEmptyBodiesAreTexts)
{
    for (uint32_t size : {0u, 1u, 2u}) {
        CBullReadWin w;
        g_boardReceiveStream.SetWindows(&list, &w);
        BoardRecordFields f;
        f.bodySize = size;
        Bytes reply = Cat({BoardTextMarker(), BoardRecord(f)});
        const char kBody[] = {'o', 0};
        reply.insert(reply.end(), kBody, kBody + size);
        source.Append(reply);
        Bytes rec;
        List(rec);
        Receive(w);
        ASSERT_EQ(w.GetRecordCount(), 2) << size;
        ASSERT_EQ(w.GetLineCount(), 1) << size;
        EXPECT_EQ(std::string(w.GetLine(0)), size == 0 ? "" : "o") << size;
        // A whole reply read, the reader still takes the next marker.
        source.Append(BoardListMarker());
        w.ReceiveItem();
        EXPECT_EQ(g_boardReceiveStream.GetMode(), CListStream::kListMode);
    }
}

TEST_F(ReadReply, BodyLargerThanAnyTextEndsTheConnection)
{
    CBullReadWin w;
    g_boardReceiveStream.SetWindows(&list, &w);
    BoardRecordFields f;
    f.bodySize = 70000;
    source.Append(Cat({BoardTextMarker(), BoardRecord(f), Bytes(5000, 'x')}));
    Bytes rec;
    List(rec);
    ASSERT_TRUE(m_socket.IsOpen());
    Receive(w);
    EXPECT_FALSE(m_socket.IsOpen());
    EXPECT_EQ(w.GetRecordCount(), 0);
    EXPECT_EQ(w.GetLineCount(), -1);
    EXPECT_EQ(g_boardRequestStream.Held(), 0u);
    // What was left of that connection is never read.
    EXPECT_EQ(source.Available(), 5000u);
}

TEST_F(ReadReply, MailLinesAreCountedFromTheBodyAndCappedByTheHeader)
{
    struct Case {
        uint32_t headerLines;
        int32_t shown;
    };
    for (const Case c : {Case{50, 3}, Case{2, 2}, Case{0, 0}}) {
        CMailReadWin w;
        g_boardReceiveStream.SetWindows(&list, &w);
        BoardRecordFields f;
        f.lines = c.headerLines;
        source.Append(BoardReadReply(f, "one\r\ntwo\r\nthree", true));
        Bytes rec;
        List(rec);
        Receive(w);
        ASSERT_EQ(w.GetLineCount(), c.shown) << c.headerLines;
        for (int32_t i = 0; i < c.shown; ++i)
            EXPECT_NE(w.GetLine(i), nullptr);
        EXPECT_EQ(w.GetLine(c.shown), nullptr);
        source.Append(BoardListMarker());
        w.ReceiveItem();
    }
}

TEST_F(BoardStream, NewConnectionDropsWhatTheOldOneLeftHalfRead)
{
    source.Append(Cat({BoardListMarker(), Bytes(100, 'z')}));
    Bytes rec;
    List(rec);
    EXPECT_EQ(List(rec), 0);
    EXPECT_GT(g_boardRequestStream.Held(), 0u);
    CMemoryByteSource next;
    g_boardRequestStream.SetByteSource(&next);
    next.Append(Row(5));
    ASSERT_EQ(List(rec), 1);
    EXPECT_EQ(rec, Row(5));
}

// ---- request texts --------------------------------------------------------------

TEST(BoardRequest, SearchTextsAreOneLineInTheServersEncoding)
{
    EXPECT_EQ(SearchRequest(1, "2000"), "LD2000\n");
    EXPECT_EQ(SearchRequest(0, "ab\ncd\r\x01"), "LTabcd\n");
    EXPECT_EQ(SearchRequest(2, "writer01"), "LIwriter01\n");
    EXPECT_EQ(SearchRequest(3, "x"), "");
    EXPECT_EQ(SearchRequest(-1, "x"), "");
    // Typed Hangul is Johab; the server gets CP949 ("가" is B0 A1 in CP949,
    // 88 61 in Johab).
    EXPECT_EQ(SearchRequest(0, "\x88\x61"), "LT\xB0\xA1\n");
    EXPECT_EQ(MailLoginLine("Ar\nin\x1F"), "Arin\n");
}

}  // namespace
