#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "fixtures/BoardRecordWriter.h"
#include "fixtures/PacketStream.h"
#include "net/MySocket.h"
#include "social/BoardList.h"
#include "social/BoardListWin.h"
#include "social/BoardReadWin.h"
#include "social/BoardTestEnv.h"
#include "social/ListStream.h"
#include "social/SearchWin.h"
#include "ui/ButtonWidget.h"

namespace {

Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

BoardRecordFields Fields(int32_t number, const std::string& name)
{
    BoardRecordFields f;
    f.number = number;
    f.name = name;
    f.title = "entry " + std::to_string(number);
    return f;
}

class BoardWindows : public BoardTest {
protected:
    // An open window with its image, fed from memory.
    template <class Win>
    void OpenOnMemory(Win& w, CWidget* reader = nullptr)
    {
        w.SetState(CWidget::kOpen);
        w.Refresh();
        g_boardRequestStream.SetByteSource(&source);
        g_boardReceiveStream.SetWindows(&w, reader);
    }
    void Frames(CWidget& w, int n)
    {
        for (int i = 0; i < n; ++i)
            w.Draw(Screen());
    }
    CMemoryByteSource source;
};

TEST_F(BoardWindows, RowHitTestStartsBelowTheHeaderBandAndEndsAtRow14)
{
    CBullWin w;
    OpenOnMemory(w);
    const int32_t wy = w.GetPos()->y;
    EXPECT_EQ(w.RowAt(wy + 60), 0);
    EXPECT_EQ(w.RowAt(wy + 60 + 19 * 14), 14);
    EXPECT_EQ(w.RowAt(wy + 60 + 19 * 15 - 1), 14);
    EXPECT_EQ(w.RowAt(wy + 60 + 19 * 15), -1);
    EXPECT_EQ(w.RowAt(wy + 59), -1);
    EXPECT_EQ(w.RowAt(wy + 50), -1);
}

TEST_F(BoardWindows, SixteenRecordReplyFillsFifteenRowsOnePerFrame)
{
    CBullWin w;
    OpenOnMemory(w);
    Bytes reply = BoardListMarker();
    for (int i = 1; i <= 16; ++i) {
        const Bytes r = BoardRecord(Fields(100 + i, "W" + std::to_string(i)));
        reply.insert(reply.end(), r.begin(), r.end());
    }
    source.Append(reply);
    Frames(w, 1);  // the marker: the page is cleared
    EXPECT_EQ(w.GetRowsReceived(), 0);
    Frames(w, 3);
    EXPECT_EQ(w.GetRowsReceived(), 3);
    Frames(w, 20);
    EXPECT_EQ(w.GetRowsReceived(), 15);
    EXPECT_EQ(source.Available(), 0u);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(w.GetPage().GetEntry(i)->number, 101 + i);
}

TEST_F(BoardWindows, ClickSelectsAndDoubleClickReadsOnlyOnRowsWithEntries)
{
    CBullWin w;
    OpenOnMemory(w);
    source.Append(Cat({BoardListMarker(), BoardRecord(Fields(7, "Bram")), BoardRecord(Fields(9, "Arin"))}));
    Frames(w, 3);
    const int32_t wx = w.GetPos()->x, wy = w.GetPos()->y;
    // The header band above row 0 is no row.
    w.OnLButtonDblClk(wx + 100, wy + 50);
    EXPECT_EQ(w.GetSelected(), -1);
    EXPECT_TRUE(Commands().empty());
    // An empty row selects nothing.
    w.OnLButtonDown(wx + 100, wy + 60 + 19 * 5);
    EXPECT_EQ(w.GetSelected(), -1);
    EXPECT_EQ(w.GetReadButton()->GetLook(), CButtonWidget::kLookDisabled);
    w.OnLButtonDown(wx + 100, wy + 60 + 19 * 1 + 3);
    EXPECT_EQ(w.GetSelected(), 9);
    EXPECT_EQ(w.GetReadButton()->GetLook(), CButtonWidget::kLookNormal);
    EXPECT_TRUE(Commands().empty());
    w.OnLButtonDblClk(wx + 100, wy + 60 + 2);
    EXPECT_EQ(w.GetSelected(), 7);
    EXPECT_EQ(Commands(), std::vector<int32_t>{58});
    // A new page clears the selection.
    source.Append(BoardListMarker());
    Frames(w, 1);
    EXPECT_EQ(w.GetSelected(), -1);
}

TEST_F(BoardWindows, EraseIsEnabledForTheWritersOwnEntryOrAGameMaster)
{
    struct Case {
        const char* writer;
        uint32_t gm;
        int32_t look;
    };
    for (const Case c : {Case{"Bram", 0, CButtonWidget::kLookDisabled}, Case{"Arin", 0, CButtonWidget::kLookNormal},
                         Case{"Bram", 1, CButtonWidget::kLookNormal}}) {
        CBullWin w;
        OpenOnMemory(w);
        g_gmFlag = c.gm;
        source.Append(Cat({BoardListMarker(), BoardRecord(Fields(3, c.writer))}));
        Frames(w, 2);
        w.OnLButtonDown(w.GetPos()->x + 50, w.GetPos()->y + 61);
        ASSERT_EQ(w.GetSelected(), 3);
        EXPECT_EQ(w.GetEraseButton()->GetLook(), c.look) << c.writer << " gm " << c.gm;
    }
}

TEST_F(BoardWindows, RowsAreFormattedFieldByFieldAndBounded)
{
    CBoardList::Entry e;
    BoardRecordFields f = Fields(12, "Arin");
    f.date = "2000-01-02";
    f.lines = 3;
    f.counter = 7;
    f.title = "Hello";
    CBoardList::FillFromBoardRecord(e, BoardRecord(f).data());
    char row[CBoardList::kRowSize];
    CBoardList::FormatBoardRow(e, row, sizeof row);
    EXPECT_STREQ(row, "   12  Arin               00-01-02      3     7    Hello");

    // Fields without their NUL stop at the field's end; a date of two bytes
    // shows nothing.
    f.name = std::string(20, 'N');
    f.date = "20";
    f.title = std::string(80, 'T');
    CBoardList::FillFromBoardRecord(e, BoardRecord(f).data());
    EXPECT_EQ(std::string(e.name), std::string(16, 'N'));
    EXPECT_STREQ(e.date, "");
    EXPECT_EQ(std::string(e.title), std::string(80, 'T'));

    f = Fields(5, "Bram");
    f.date = "2000-01-02";
    f.lines = 4;
    CBoardList::FillFromMailRecord(e, MailRecord(f).data());
    CBoardList::FormatMailRow(e, row, sizeof row);
    EXPECT_STREQ(row, "    5  Bram               2000-01-02      4   entry 5");
    e.number = -1;
    CBoardList::FormatMailRow(e, row, sizeof row);
    EXPECT_STREQ(row, "");
}

TEST_F(BoardWindows, BoardTextWrapsAtEightyColumnsWithoutSplittingACharacter)
{
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;
    };
    const std::string ga = "\xB0\xA1";  // one Hangul syllable, two columns
    std::string hangul;
    for (int i = 0; i < 41; ++i)
        hangul += ga;
    const std::vector<Case> cases = {
        {"Hundred", std::string(100, 'x'), {std::string(80, 'x') + "\r", std::string(20, 'x')}},
        {"HangulLine", hangul, {hangul.substr(0, 80) + "\r", ga}},
        {"Straddling", std::string(79, 'y') + ga + "z", {std::string(79, 'y') + ga + "\r", "z"}},
        {"ShortLinesStay", "ab\r\ncd", {"ab\r", "cd"}},
    };
    for (const Case& c : cases) {
        CBullReadWin w;
        OpenOnMemory(w);
        const std::string wrapped = CBullReadWin::Wrap(c.text.c_str());
        w.SetPageText(static_cast<int32_t>(std::count(wrapped.begin(), wrapped.end(), '\n') + 1), wrapped.c_str());
        std::vector<std::string> got;
        for (int32_t i = 0; i < w.GetLineCount(); ++i)
            got.emplace_back(w.GetLine(i));
        EXPECT_EQ(got, c.lines) << c.name;
    }
}

TEST_F(BoardWindows, ReadPagesClampToTheLastFullPage)
{
    CMailReadWin w;
    OpenOnMemory(w);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "\n";
    w.SetPageText(41, text.c_str());
    ASSERT_EQ(w.GetLineCount(), 41);
    std::vector<int32_t> tops;
    for (int i = 0; i < 3; ++i) {
        w.NextPage();
        tops.push_back(w.GetTopLine());
    }
    w.PrevPage();
    tops.push_back(w.GetTopLine());
    w.PrevPage();
    tops.push_back(w.GetTopLine());
    EXPECT_EQ(tops, (std::vector<int32_t>{17, 24, 24, 7, 0}));
    w.SetPageText(5, "a\nb\nc\nd\ne");
    w.NextPage();
    EXPECT_EQ(w.GetTopLine(), 0);
}

TEST_F(BoardWindows, ListRequestsLeaveByteExactOnTheBoardConnection)
{
    CFakeServer& server = BoardServer();
    CBullWin list;
    CBullReadWin reader;
    list.SetState(CWidget::kOpen);
    list.OpenConnection("BOARD\n");
    g_boardRequestStream.SetSocket(GetBoardSocket());
    g_boardReceiveStream.SetWindows(&list, &reader);
    ASSERT_TRUE(PumpUntil([&] { return Received(server) == "BOARD\n"; }));
    server.Send(Cat({BoardListMarker(), BoardRecord(Fields(5, "Arin"))}));
    ASSERT_TRUE(PumpUntil([&] {
        list.Draw(Screen());
        return list.GetRowsReceived() == 1;
    }));
    list.OnLButtonDown(list.GetPos()->x + 40, list.GetPos()->y + 65);
    ASSERT_EQ(list.GetSelected(), 5);
    list.NextPage();
    list.PrevPage();
    list.RequestEntry(&reader);
    EXPECT_EQ(reader.GetSocket(), GetBoardSocket());
    list.DeleteEntry();
    EXPECT_EQ(list.GetSelected(), -1);
    // Nothing is asked for without a selection.
    list.RequestEntry(&reader);
    list.DeleteEntry();
    list.Search(1, "2000");
    list.Search(0, "a\nDD1");
    const std::string expected = "BOARD\nF\nB\n5\nDD5\nLD2000\nLTaDD1\n";
    ASSERT_TRUE(PumpUntil([&] { return Received(server).size() >= expected.size(); }));
    Pump();
    EXPECT_EQ(Received(server), expected);

    // Opening again starts a new connection with its first line.
    list.OpenConnection("NOTICE\n");
    ASSERT_TRUE(PumpUntil([&] { return server.ClientClosed(); }));
}

TEST_F(BoardWindows, MailboxOpensWithTheCharacterNameLine)
{
    SetPlayer("Dana\x1F", "dana01");
    CFakeServer& server = MailServer();
    CMailWin list;
    list.OpenConnection(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !Received(server).empty(); }));
    Pump();
    EXPECT_EQ(Received(server), "Dana\n");
    list.CloseConnection();
    EXPECT_FALSE(GetMailSocket()->IsOpen());
    EXPECT_TRUE(PumpUntil([&] { return server.ClientClosed(); }));
}

TEST_F(BoardWindows, SearchWindowStartsByDateAndTheRadiosChooseTheMode)
{
    CSearchWin w;
    EXPECT_EQ(w.GetSelection(), CSearchWin::kByDate);
    w.SetState(CWidget::kOpen);
    Frames(w, 1);
    const int32_t wx = w.GetPos()->x, wy = w.GetPos()->y;
    // The title radio at (85, 65), then the ID radio at (145, 65), below
    // the text's rectangle (which reaches y 75).
    w.OnLButtonDown(wx + 86, wy + 78);
    EXPECT_EQ(w.GetSelection(), CSearchWin::kByTitle);
    w.OnLButtonDown(wx + 146, wy + 78);
    EXPECT_EQ(w.GetSelection(), CSearchWin::kById);
    CPoint p;
    w.GetInputPos(&p);
    EXPECT_EQ(p, (CPoint{wx + 30, wy + 30}));
    EXPECT_EQ(w.GetMaxLen(), CSearchWin::kTextMaxLen);
}

TEST_F(BoardWindows, EscapePostsTheWindowsCloseCommands)
{
    CMailWin list;
    CMailReadWin reader;
    EXPECT_EQ(list.OnEscape(), CMailWin::kId);
    reader.OnEscape();
    EXPECT_EQ(Commands(), (std::vector<int32_t>{62, 63}));
}

}  // namespace
