#include "social/Ranking.h"

#include <algorithm>
#include <cstring>

#include "core/BiString.h"
#include "core/HanCodeConv.h"
#include "net/MySocket.h"
#include "social/RankWin.h"
#include "ui/TextCut.h"
#include "windows/DaradirUzedo.h"
#include "windows/SystemWindows.h"

int32_t g_rankingPage = kRankingAwaited;
std::array<uint8_t, kRankingEntries * kRankingEntrySize> g_rankingEntries{};

namespace {

constexpr uint8_t kCmdRanking = 'n';
constexpr int kNoticeTicks = 60;
constexpr int kSearchWindow = 68;
const CBiString kNotInRanking("%s님은 순위 안에 없습니다.\0%s is not in ranking.");

void Send(const uint8_t* bytes, size_t n)
{
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(bytes, static_cast<int>(n));
}

// The leading decimal number of text, saturated: atoi without overflow.
int64_t LeadingNumber(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = *text++ == '-';
    int64_t v = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        v = std::min<int64_t>(v * 10 + (*text - '0'), 1'000'000);
    return negative ? -v : v;
}

}  // namespace

SRankingEntry GetRankingEntry(int i)
{
    SRankingEntry e{};
    if (i < 0 || i >= kRankingEntries)
        return e;
    const uint8_t* p = g_rankingEntries.data() + static_cast<size_t>(i) * kRankingEntrySize;
    std::memcpy(e.name, p, kRankingNameSize);
    e.name[kRankingNameSize] = '\0';
    e.value = p[12];
    e.score = p[13] | p[14] << 8;
    return e;
}

size_t BuildRankingFirstPage(uint8_t* out)
{
    out[0] = kCmdRanking;
    out[1] = 0;
    return 2;
}

size_t BuildRankingPage(uint8_t* out, int64_t first)
{
    out[0] = kCmdRanking;
    out[1] = 2;
    out[2] = static_cast<uint8_t>(std::clamp<int64_t>(first, 0, 94));
    return 3;
}

size_t BuildRankingByName(uint8_t* out, const char* name)
{
    char cp949[256] = {};
    CopyTextCut(cp949, sizeof cp949, name ? name : "");
    CHanCodeConv::JohabToCP949(cp949, cp949);
    out[0] = kCmdRanking;
    out[1] = 1;
    std::memset(out + 2, 0, kRankingNameSize);
    std::memcpy(out + 2, cp949, CutLength(cp949, kRankingNameSize));
    return 2 + kRankingNameSize;
}

size_t BuildRankingByRank(uint8_t* out, const char* text)
{
    out[0] = kCmdRanking;
    out[1] = 3;
    out[2] = static_cast<uint8_t>(std::clamp<int64_t>(LeadingNumber(text), 1, 100));
    return 3;
}

void ResetRankingGlobals()
{
    g_rankingPage = kRankingAwaited;
    g_rankingEntries.fill(0);
}

// ---- the UI layer's requests and the reply ------------------------------------

void CDaradirUzedo::SendRankingRequest()
{
    g_rankingPage = kRankingAwaited;
    uint8_t b[kRankingRequestMax];
    Send(b, BuildRankingFirstPage(b));
}

void CDaradirUzedo::SendRankingPage(int64_t first)
{
    g_rankingPage = kRankingAwaited;
    uint8_t b[kRankingRequestMax];
    Send(b, BuildRankingPage(b, first));
}

void CDaradirUzedo::SendRankingByName(const char* name)
{
    uint8_t b[kRankingRequestMax];
    Send(b, BuildRankingByName(b, name));
}

void CDaradirUzedo::SendRankingByRank(const char* text)
{
    uint8_t b[kRankingRequestMax];
    Send(b, BuildRankingByRank(b, text));
}

void CDaradirUzedo::OnRankingReply(const uint8_t* buf)
{
    if (buf[0] == kRankingNotFound) {
        // The typed text and the notice line are Johab; the literal is CP949.
        char typed[CWidgetWindow::kInputSize + 1] = {};
        if (CWidget* find = m_root.FindChild(kSearchWindow))
            CopyTextCut(typed, sizeof typed, find->GetText() ? find->GetText() : "");
        char format[CNoticeLine::kTextSize];
        CopyTextCut(format, sizeof format, kNotInRanking.Get());
        CHanCodeConv::CP949ToJohab(format, format);
        char notice[CNoticeLine::kTextSize];
        FormatTextCutF(notice, sizeof notice, format, typed);
        if (g_currentNoticeLine)
            g_currentNoticeLine->Show(notice, kNoticeTicks);
        return;
    }
    g_rankingPage = buf[0];
    std::memcpy(g_rankingEntries.data(), buf + 1, g_rankingEntries.size());
    if (CWidget* win = m_root.FindChild(CRankWin::kId))
        win->Refresh();
}
