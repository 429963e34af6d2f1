// Arbitrary board server bytes into the list and read windows: byte 0
// picks the board or the mailbox (bit 0), the start mode (bit 1) and when
// the read window is closed, so that the list passes over what it leaves
// (bit 2 from the start, bit 3 from halfway), byte 1 the size of the pieces
// the bytes arrive in; the rest is the stream. Each frame both windows take
// what they take; afterwards every row and line the windows hold must be a
// terminated text inside them.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fixtures/BoardRecordWriter.h"
#include "fixtures/PacketStream.h"
#include "fuzz_seeds.h"
#include "social/BoardList.h"
#include "social/BoardListWin.h"
#include "social/BoardReadWin.h"
#include "social/ListStream.h"

namespace {

std::string Str(const Bytes& b) { return std::string(b.begin(), b.end()); }

void WriteSeeds(const std::string& dir)
{
    BoardRecordFields f;
    std::string rows = Str(BoardListMarker());
    for (int i = 0; i < 16; ++i) {
        f.number = i;
        rows += Str(BoardRecord(f));
    }
    WriteSeed(dir, "board_rows", std::string("\x00\x40", 2) + rows);
    std::string mailRows = Str(BoardListMarker());
    for (int i = 0; i < 3; ++i)
        mailRows += Str(MailRecord(f));
    WriteSeed(dir, "mail_rows", std::string("\x01\x07", 2) + mailRows);
    f.lines = 3;
    WriteSeed(dir, "board_read",
              std::string("\x00\x10", 2) + Str(BoardReadReply(f, std::string(120, 'x') + "\r\nsecond\r\n", false)));
    f.lines = 50;
    WriteSeed(dir, "mail_read", std::string("\x03\x03", 2) + Str(BoardReadReply(f, "one\ntwo\nthree", true)));
    WriteSeed(dir, "forged",
              std::string("\x02\x05", 2) + Str(BoardReadReply(f, "\x01LST" + std::string(200, 'R'), false)) + rows);
    WriteSeed(dir, "closed_reader", std::string("\x0A\x03", 2) + Str(BoardReadReply(f, "hello", false)) + rows);
    f.bodySize = 70000;
    WriteSeed(dir, "huge", std::string("\x00\xFF", 2) + Str(BoardTextMarker()) + Str(BoardRecord(f)) + rows);
}

struct Windows {
    CBullWin bull;
    CBullReadWin bullRead;
    CMailWin mail;
    CMailReadWin mailRead;
};

Windows* g_windows;

void CheckText(const char* text, size_t room)
{
    if (strnlen(text, room) >= room)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (const char* seeds = std::getenv("QUORVEL_FUZZ_SEED_DIR"))
        WriteSeeds(seeds);
    g_windows = new Windows;
    for (CWidget* w : {static_cast<CWidget*>(&g_windows->bull), static_cast<CWidget*>(&g_windows->bullRead),
                       static_cast<CWidget*>(&g_windows->mail), static_cast<CWidget*>(&g_windows->mailRead)})
        w->SetState(CWidget::kOpen);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const bool mail = data[0] & 1;
    const bool textFirst = data[0] & 2;
    const bool closedFirst = data[0] & 4;
    const bool closedLater = data[0] & 8;
    CBoardListWin& list = mail ? static_cast<CBoardListWin&>(g_windows->mail) : g_windows->bull;
    CBoardReadWin& reader = mail ? static_cast<CBoardReadWin&>(g_windows->mailRead) : g_windows->bullRead;
    const size_t piece = 1 + data[1];
    data += 2;
    size -= 2;

    reader.SetState(closedFirst ? CWidget::kClosed : CWidget::kOpen);
    ResetBoardState();
    CMemoryByteSource source;
    g_boardRequestStream.SetByteSource(&source);
    g_boardReceiveStream.SetWindows(&list, &reader);
    list.OnListReply();
    reader.ResetRequest(nullptr);
    if (textFirst) {
        // Start in text mode, as after a read request.
        const Bytes marker = BoardTextMarker();
        source.Append(marker);
        list.Draw(nullptr);
    }
    size_t fed = 0;
    // Frames until the stream is used up, and a few after.
    for (int idle = 0; idle < 4;) {
        if (fed < size) {
            const size_t n = std::min(piece, size - fed);
            source.Append(data + fed, n);
            fed += n;
            if (closedLater && fed >= size / 2)
                reader.SetState(CWidget::kClosed);
        }
        const size_t before = source.Taken();
        list.Draw(nullptr);
        reader.Draw(nullptr);
        if (fed == size && source.Taken() == before)
            ++idle;
    }

    char row[CBoardList::kRowSize];
    for (int i = 0; i < CBoardList::kRows; ++i) {
        const CBoardList::Entry* e = list.GetPage().GetEntry(i);
        CheckText(e->name, sizeof e->name);
        CheckText(e->date, sizeof e->date);
        CheckText(e->title, sizeof e->title);
        list.FormatRow(i, row, sizeof row);
        CheckText(row, sizeof row);
    }
    if (list.GetRowsReceived() > CBoardList::kRows)
        __builtin_trap();
    for (int32_t i = 0; i < reader.GetLineCount(); ++i) {
        const char* line = reader.GetLine(i);
        if (!line)
            __builtin_trap();
        CheckText(line, CListStream::kMaxItem * 2);
    }
    reader.PrevPage();
    reader.NextPage();
    if (reader.GetTopLine() < 0 || (reader.GetLineCount() > 0 && reader.GetTopLine() >= reader.GetLineCount()))
        __builtin_trap();
    g_boardRequestStream.SetByteSource(nullptr);
    reader.SetState(CWidget::kOpen);
    return 0;
}
