#include "social/ChatLine.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/CommandRing.h"
#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/GameData.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "colony/SimColony.h"
#include "core/BiString.h"
#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "core/HanCodeConv.h"
#include "net/MySocket.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/Dialogs.h"
#include "rules/CalcData.h"
#include "ui/TextCut.h"
#include "windows/DaradirUzedo.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/StageLoader.h"

CChatLine g_chatLine;
int g_simResetArmed;
std::array<char, 12> g_lastWhisperer;

namespace {

// ---- texts ------------------------------------------------------------------------

const CBiString kNoAuthority("권한이 없습니다.\0You have no authority");
const CBiString kResetFieldOnly("필드에서만 초기화가 가능합니다.\0The colony can be reset only from the field.");
const CBiString kResetConfirm("정말로 초기화하시려면 '/delsimul'을 치십시오\0To really reset the colony, type '/delsimul'");
const CBiString kRescueInField("필드 모드에서는 구조신호가 불가능합니다.\0You cannot call for rescue in the field.");
const CBiString kRescueNotAllowed("구조 요청할 권한이 없습니다.\0You may not call for rescue.");
const CBiString kNoWhisperer("귓속말을 보낼 사람이 없습니다.\0There is no player to wisper");
const CBiString kWhisperSuffix(" 대화\0 dialog");

const CBiString kWhoCount("현재 %d명이 Tolmar에 들어와 있습니다.\0Now %d players is in Tolmar");
const CBiString kWhoOnline("%s님은 Tolmar을 여행 중입니다.\0%s is during travel in Tolmar");
const CBiString kWhoOffline("%s님은 Tolmar에 들어오지 않았습니다.\0%s do not enter Tolmar");
const CBiString kWhereMe("당신은 지금 %s에 있습니다.\0You are now in %s");
const CBiString kWhereRegion("%s님은 지금 %s에 있습니다.\0%s is now in %s");
const CBiString kWhereCell("%s님은 지금 %s에 있습니다. (%d / %d)\0%s is now in %s (%d / %d)");
const CBiString kWherePrison("%s님은 지금 감옥에 있습니다.\0%s is in the prison now");
const CBiString kWhereArea("%s님은 지금 %s에 있습니다. (%d / %d) #%d\0%s is now in %s (%d / %d) #%d");
const CBiString kAbsent("%s님은 Tolmar에 들어오지 않았습니다.\0%s does not enter Tolmar");
const CBiString kDismissed("운영자의 명령으로 당신은 퇴장되었습니다.\0You are dismissed by administrator.");
const CBiString kDelUserDone("/deluser 성공\0/deluser succeeded");
const CBiString kDelUserFailed("/deluser 실패\0/deluser failed");
const CBiString kDelGhostDone("/delghost 성공\0/delghost succeeded");
const CBiString kDelGhostFailed("/delghost 실패\0/delghost failed");
const CBiString kRescueAsked("%s님이 지금 당신에게 구조요청을 보내왔습니다. %s (%d / %d) #%d\0"
                             "%s asks you to rescue now%s (%d / %d) #%d");
const CBiString kRescueSent("%s님에게 구조요청을 보냈습니다.\0I ask %s to rescue");
const CBiString kTeleported("운영자에 의해서 순간이동 되었습니다.\0You are twenkly transfered by managers ");
const CBiString kTeleportDone("%s님을 순간이동 하였습니다.\0You twenkly transfer now");
const CBiString kMadeWanted("운영자에 의해서 현상범이 되었습니다.\0The managers have made you wanted.");
const CBiString kPkDone("%s님을 현상수배 했습니다.\0%s is wanted now.");
const CBiString kWantedLifted("운영자에 의해서 수배가 해제되었습니다.\0The managers have lifted your wanted status.");
const CBiString kUnpkDone("%s님을 수배 해제했습니다.\0%s is no longer wanted.");
const CBiString kRefusedYou("%s님이 당신의 귓말을 거부하였습니다.\0%s don't hear whisper");
const CBiString kRefuseDone("당신은 이제 %s님의 귓속말을 듣지 않습니다.\0You can't hear %s's whisper now");
const CBiString kRefuseListed("%s님은 귓속말 거부자 명단에 있습니다.\0You already reject %s");
const CBiString kRefuseFull("귀속말 거부자 수가 초과되었습니다.\0it's over for rejector numbers");
const CBiString kAllowDone("당신은 이제부터 %s님의 귓속말을 듣습니다.\0You can hear %s's whisper from now");
const CBiString kAllowUnknown("%s는 설정되지 않는 ID입니다.\0You're not a whisper rejector");
const CBiString kRefusedListText("귓속말 거부자 : %s\0Whisper rejectors : %s");
const CBiString kRefusedNone("귓속말 거부자가 없습니다.\0there are no whisper rejectors");

const CBiString kRegions[CChatLine::kRegionCount] = {
    CBiString("Nothing\0Nothing"),
    CBiString("유라시아 북부\0Northen Eurasia"),
    CBiString("유라시아 서부\0Westen Eurasia"),
    CBiString("유라시아 동부\0Easten Eurasia"),
    CBiString("유라시아 남부\0Southen Eurasia"),
    CBiString("쿠스코\0Cusco"),
    CBiString("아비도스\0Abydos"),
};

// String-table texts of the word filter and the money transfer.
constexpr int kStrInsult = 153;
constexpr int kStrMoneySent = 154;
constexpr int kStrMoneyReceived = 155;
constexpr int kStrMoneyAbsent = 156;
constexpr int kStrMoneyToSelf = 159;

// The reply values the handlers know.
constexpr uint16_t kValueMe = 99;
constexpr uint16_t kValueAsked = 1001;
// Where an ended wanted status takes a jailed player.
constexpr int kReleaseX = 175, kReleaseY = 298;
constexpr int16_t kWantedByManagers = 3;
// The window whose data the word filter's penalty reloads.
constexpr int32_t kPenaltyWindow = 69;

enum : uint8_t { kModeNormal = 0, kModeWhisper = 1, kModeApostrophe = 2, kModeGroup = 3 };

// ---- text helpers ----------------------------------------------------------------

bool IsBlank(char c) { return c == ' '; }

// The slash words in the order they are compared. Korean words are held in
// Johab, the code of the input line.
enum class EWord {
    kSimInit,
    kDelSimul,
    kWall,
    kWhoKo,
    kWho,
    kWhereKo,
    kWhere,
    kDelUser,
    kDelGhost,
    kPassword,
    kRescue,
    kRefuse,
    kRefusedList,
    kAllow,
    kTeleport,
    kPk,
    kUnpk,
};

struct SWord {
    EWord word;
    const char* text;  // CP949 (or ASCII)
};

constexpr SWord kWords[] = {
    {EWord::kSimInit, "siminit"}, {EWord::kDelSimul, "delsimul"}, {EWord::kWall, "wall"},
    {EWord::kWhoKo, "누구"},      {EWord::kWho, "who"},           {EWord::kWhereKo, "어디"},
    {EWord::kWhere, "where"},     {EWord::kDelUser, "deluser"},   {EWord::kDelGhost, "delghost"},
    {EWord::kPassword, "암호"},   {EWord::kRescue, "구조"},       {EWord::kRefuse, "거부"},
    {EWord::kRefusedList, "거부자"}, {EWord::kAllow, "허용"},     {EWord::kTeleport, "이동"},
    {EWord::kPk, "pk"},           {EWord::kUnpk, "unpk"},
};
constexpr size_t kWordCount = sizeof kWords / sizeof kWords[0];
constexpr size_t kWordBytes = 8;

// The words as 8 zero-padded Johab bytes, made on first use.
const std::array<std::array<char, kWordBytes>, kWordCount>& JohabWords()
{
    static const auto words = [] {
        std::array<std::array<char, kWordBytes>, kWordCount> out{};
        for (size_t i = 0; i < kWordCount; ++i) {
            char buf[16] = {};
            std::strncpy(buf, kWords[i].text, sizeof buf - 1);
            CHanCodeConv::CP949ToJohab(buf, buf);
            std::memcpy(out[i].data(), buf, std::min(std::strlen(buf), kWordBytes));
        }
        return out;
    }();
    return words;
}

// CP949 text to Johab in a line of the chat window.
void ToJohab(const char* cp949, char* out, size_t size)
{
    CopyTextCut(out, size, cp949);
    CHanCodeConv::CP949ToJohab(out, out);
}

// The next word of text (up to a blank), at most 11 bytes cut on a character
// boundary, the rest of a longer word skipped; converted from Johab to
// CP949. False at the end of the text.
bool NextName(const char*& p, char (&out)[CChatLine::kNameSize])
{
    std::memset(out, 0, sizeof out);
    while (IsBlank(*p))
        ++p;
    if (*p == '\0')
        return false;
    size_t n = 0;
    while (p[n] != '\0' && !IsBlank(p[n])) {
        const size_t w = CharWidth(p + n);
        if (n + w > CChatLine::kNameSize - 1)
            break;
        n += w;
    }
    std::memcpy(out, p, n);
    p += n;
    while (*p != '\0' && !IsBlank(*p))
        ++p;
    CHanCodeConv::JohabToCP949(out, out);
    return true;
}

// A name of a received record: at most 11 bytes, terminated.
void RecordName(const uint8_t* record, char (&out)[CChatLine::kNameSize])
{
    std::memset(out, 0, sizeof out);
    std::memcpy(out, record, CChatLine::kNameSize - 1);
}

struct SRecord {
    char name[CChatLine::kNameSize];
    uint8_t region;
    uint16_t x;
    uint16_t y;
    uint32_t number;
};

SRecord ReadRecord(const uint8_t* p)
{
    SRecord r{};
    RecordName(p, r.name);
    CByteReader br(p + CChatLine::kNameSize, CChatLine::kRecordSize - CChatLine::kNameSize);
    r.region = br.U8();
    r.x = br.U16();
    r.y = br.U16();
    r.number = br.U32();
    return r;
}

void PutRecord(CByteWriter& w, const char* name, uint8_t region = 0, uint16_t x = 0, uint16_t y = 0,
               uint32_t number = 0)
{
    w.FixedString(name, CChatLine::kNameSize).U8(region).U16(x).U16(y).U32(number);
}

// ---- where the lines go -------------------------------------------------------------

CWidget* Window(int32_t id)
{
    CDaradirUzedo* ui = g_layerHolder.GetLayer();
    return ui ? ui->GetRootContainer()->FindChild(id) : nullptr;
}

// A CP949 line into the chat window (in Johab).
void AddLine(const char* cp949)
{
    char line[CChatLine::kLineSize];
    ToJohab(cp949, line, sizeof line);
    if (CWidget* chat = Window(CChatLine::kChatWindow))
        chat->AddTextLine(line, CChatLine::kReplyColour);
}

void RefreshChatWindows()
{
    if (CWidget* chat = Window(CChatLine::kChatWindow))
        chat->Refresh();
    if (CWidget* big = Window(CChatLine::kBigChatWindow))
        big->Refresh();
}

template <class... Args>
void AddLineF(const char* format, Args... args)
{
    char line[CChatLine::kLineSize];
    FormatTextCutF(line, sizeof line, format, args...);
    AddLine(line);
}

template <class... Args>
void RingLineF(const char* format, Args... args)
{
    char line[CChatLine::kLineSize];
    FormatTextCutF(line, sizeof line, format, args...);
    Ui().AddLine(line);
}

void Notice(const char* text) { Ui().ShowNotice(text, CChatLine::kNoticeTicks); }

// The player's record and, while it stands on the field, my character's.
template <class F>
void ForMyRecords(F f)
{
    CObjLayer* layer = GetObjLayer();
    if (!layer)
        return;
    f(layer->MyRecord());
    if (CCharacter* me = layer->GetMyCharacter())
        f(me->GetCharRecord());
}

bool InBattleGroup(const CObjLayer& layer, uint32_t id)
{
    for (const OpponentRecord& rec : layer.m_opponents) {
        if (rec.key == 0)
            continue;
        for (int j = 0; j < OpponentRecord::kPairs; ++j)
            if (rec.first[static_cast<size_t>(j)] == id || rec.second[static_cast<size_t>(j)] == id)
                return true;
    }
    return false;
}

// ---- the word filter ----------------------------------------------------------------

// The filter's character walk: 32..122 is one byte, anything else starts two.
size_t FilterWidth(uint8_t c) { return c >= 32 && c <= 122 ? 1 : 2; }

// A word of the table at copy[pos...].
bool WordAt(const char* copy, size_t len, size_t pos, const char* word, size_t wordLen)
{
    if (wordLen == 0 || pos + wordLen > len)
        return false;
    if (FilterWidth(static_cast<uint8_t>(word[0])) == 1) {
        if (wordLen < 3)
            return false;
    } else if (wordLen % 2 != 0) {
        return false;
    }
    return std::memcmp(copy + pos, word, wordLen) == 0;
}

bool HasInsult(const char* text)
{
    char copy[CChatLine::kLineSize] = {};
    size_t len = 0;
    for (const char* p = text; *p && len < sizeof copy - 1; ++p)
        if (!IsBlank(*p))
            copy[len++] = *p;
    size_t walk = 0;
    while (walk < len)
        walk += FilterWidth(static_cast<uint8_t>(copy[walk]));
    if (walk == len)
        CHanCodeConv::JohabToCP949(copy, copy);
    for (size_t pos = 0; pos < len; pos += FilterWidth(static_cast<uint8_t>(copy[pos]))) {
        for (const auto& word : g_insultWords) {
            const size_t wordLen = strnlen(word.data(), word.size());
            if (WordAt(copy, len, pos, word.data(), wordLen))
                return true;
        }
    }
    return false;
}

// A tenth of the maximum HP; a player at 3 HP or less keeps what he has.
void ApplyInsultPenalty()
{
    CObjLayer* layer = GetObjLayer();
    if (layer) {
        const CharacterRecord& own = layer->MyRecord();
        const int64_t maxHp = CalcMaxHp(own);
        const auto penalty = static_cast<int64_t>(static_cast<double>(maxHp) * 0.1);
        const int64_t hp = own.I32(CharacterRecord::kHp);
        const int64_t after = std::max(hp - penalty, std::min<int64_t>(hp, 3));
        ForMyRecords([after](CharacterRecord& rec) { rec.SetU32(CharacterRecord::kHp, static_cast<uint32_t>(after)); });
        const CharacterRecord& rec = layer->MyRecord();
        layer->SendBattleStatus(rec.I32(CharacterRecord::kHp), rec.I32(CharacterRecord::kMp),
                                rec.I32(CharacterRecord::kConstitution), rec.I32(CharacterRecord::kWisdom));
    }
    if (CWidget* w = Window(kPenaltyWindow)) {
        w->ReloadData();
        w->Refresh();
    }
    Ui().AddLine(GetGameString(kStrInsult));
}

size_t TrimmedLength(const char* text)
{
    size_t n = std::strlen(text);
    while (n > 0 && IsBlank(text[n - 1]))
        --n;
    return n;
}

}  // namespace

// ---- parsing ------------------------------------------------------------------------

int CChatLine::ParseCommand(const char* line)
{
    if (!line)
        return 0;
    const char* p = line;
    while (IsBlank(*p))
        ++p;
    if (*p != '/') {
        g_simResetArmed = 0;
        return 0;
    }
    ++p;
    std::array<char, kWordBytes> word{};
    size_t n = 0;
    while (n < kWordBytes && p[n] != '\0' && !IsBlank(p[n])) {
        char c = p[n];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        word[n++] = c;
    }
    const char* args = p + n;

    const auto& words = JohabWords();
    size_t match = kWordCount;
    for (size_t i = 0; i < kWordCount && match == kWordCount; ++i)
        if (std::memcmp(word.data(), words[i].data(), kWordBytes) == 0)
            match = i;
    // Past the two colony words every line disarms the reset.
    if (match == kWordCount || (kWords[match].word != EWord::kSimInit && kWords[match].word != EWord::kDelSimul))
        g_simResetArmed = 0;
    // A word that is not in the table is swallowed.
    if (match == kWordCount)
        return 1;

    switch (kWords[match].word) {
    case EWord::kSimInit:
        if (g_colonyMode) {
            Notice(kResetFieldOnly.Get());
        } else {
            g_simResetArmed = 1;
            Notice(kResetConfirm.Get());
        }
        break;
    case EWord::kDelSimul:
        if (!g_colonyMode && g_simResetArmed)
            g_simColony.ResetSimulation();
        g_simResetArmed = 0;
        break;
    case EWord::kWall: SendWall(args); break;
    case EWord::kWhoKo:
    case EWord::kWho: SendWho(args); break;
    case EWord::kWhereKo:
    case EWord::kWhere: SendWhere(args); break;
    case EWord::kDelUser: SendDelete(args, kDelUser); break;
    case EWord::kDelGhost: SendDelete(args, kDelGhost); break;
    case EWord::kPassword: g_commandRing.Push(111); break;
    case EWord::kRescue: SendRescue(args); break;
    case EWord::kRefuse: SendRefuse(args); break;
    case EWord::kRefusedList: SendRefusedList(); break;
    case EWord::kAllow: SendAllow(args); break;
    case EWord::kTeleport: SendTeleport(args); break;
    case EWord::kPk: SendPk(args); break;
    case EWord::kUnpk: SendUnpk(args); break;
    }
    return 1;
}

// ---- senders ------------------------------------------------------------------------

void CChatLine::Send(int sub, const uint8_t* payload, size_t len)
{
    CByteWriter w(kHeadSize + len);
    w.U8(8).U8(static_cast<uint32_t>(sub)).U16(0).U16(static_cast<uint32_t>(len));
    if (len)
        w.Bytes(payload, len);
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}

void CChatLine::SetTarget(const char* cp949)
{
    m_targetName.fill(0);
    std::memcpy(m_targetName.data(), cp949, strnlen(cp949, kNameSize - 1));
}

void CChatLine::SendNames(const char* text, int sub, int max, bool remember, bool firstOnly)
{
    CByteWriter w(static_cast<size_t>(max) * kRecordSize);
    const char* p = text ? text : "";
    char name[kNameSize];
    for (int i = 0; i < max && NextName(p, name); ++i) {
        PutRecord(w, name);
        if (remember && (!firstOnly || i == 0))
            SetTarget(name);
    }
    Send(sub, w.Data(), w.Size());
}

void CChatLine::ShowNoAuthority() { Notice(kNoAuthority.Get()); }

void CChatLine::SendWall(const char* text)
{
    if (!g_gmFlag) {
        ShowNoAuthority();
        return;
    }
    const char* t = text ? text : "";
    // The text with its NUL; a u16 length holds it.
    const size_t n = std::min<size_t>(std::strlen(t), 0xFFFE);
    Send(kWall, reinterpret_cast<const uint8_t*>(t), n + 1);
}

void CChatLine::SendWho(const char* text) { SendNames(text, kWho, kMaxNames, false, false); }

void CChatLine::SendWhere(const char* text) { SendNames(text, kWhere, kMaxNames, false, false); }

void CChatLine::SendDelete(const char* text, int sub)
{
    if (!g_gmFlag) {
        ShowNoAuthority();
        return;
    }
    SendNames(text, sub, 1, false, false);
}

void CChatLine::SendRescue(const char* text)
{
    CObjLayer* layer = GetObjLayer();
    const char* refusal = nullptr;
    if (!layer || !layer->IsInBattle())
        refusal = kRescueInField.Get();
    else if (InBattleGroup(*layer, g_myId))
        refusal = kRescueNotAllowed.Get();
    if (refusal) {
        AddLine(refusal);
        RefreshChatWindows();
        return;
    }
    SendNames(text, kRescue, 1, true, false);
}

void CChatLine::SendTeleport(const char* text)
{
    if (!g_gmFlag) {
        ShowNoAuthority();
        return;
    }
    char copy[kLineSize] = {};
    CopyTextCut(copy, sizeof copy, text ? text : "");
    const char* words[5] = {};
    int count = 0;
    char* save = nullptr;
    for (char* w = strtok_r(copy, " ,\t\n", &save); w; w = strtok_r(nullptr, " ,\t\n", &save)) {
        if (count == 5)
            break;
        words[count++] = w;
    }
    if (count != 4)
        return;
    const char* p = words[0];
    char name[kNameSize];
    NextName(p, name);
    CByteWriter w(kRecordSize);
    PutRecord(w, name, static_cast<uint8_t>(std::strtol(words[1], nullptr, 10)),
              static_cast<uint16_t>(std::strtol(words[2], nullptr, 10)),
              static_cast<uint16_t>(std::strtol(words[3], nullptr, 10)));
    SetTarget(name);
    Send(kTeleport, w.Data(), w.Size());
}

void CChatLine::SendPk(const char* text)
{
    if (!g_gmFlag) {
        ShowNoAuthority();
        return;
    }
    SendNames(text, kPk, kMaxNames, true, false);
}

void CChatLine::SendUnpk(const char* text)
{
    if (!g_gmFlag) {
        ShowNoAuthority();
        return;
    }
    SendNames(text, kUnpk, kMaxNames, true, false);
}

void CChatLine::SendRefuse(const char* text) { SendNames(text, kRefuse, kMaxNames, true, true); }

void CChatLine::SendAllow(const char* text) { SendNames(text, kAllow, kMaxNames, true, true); }

void CChatLine::SendRefusedList() { Send(kRefusedList, nullptr, 0); }

void CChatLine::SendMoneyTransfer(const char* names, uint32_t amount)
{
    CObjLayer* layer = GetObjLayer();
    const std::string own = layer ? layer->MyRecord().Name() : std::string();
    CByteWriter w(kMaxNames * kRecordSize);
    const char* p = names ? names : "";
    char name[kNameSize];
    bool toSelf = false;
    for (int i = 0; i < kMaxNames && NextName(p, name); ++i) {
        PutRecord(w, name, 0, 0, 0, amount);
        m_transferAmount = amount;
        SetTarget(name);
        toSelf = toSelf || (!own.empty() && own == name);
    }
    if (toSelf) {
        Ui().AddLine(GetGameString(kStrMoneyToSelf));
        ClearTarget();
        return;
    }
    Send(kMoneyTransfer, w.Data(), w.Size());
}

// ---- the chat sender ------------------------------------------------------------------

void CChatLine::SendChat(char* text)
{
    if (!text)
        return;
    text[kLineSize - 1] = '\0';
    // Trim: a line of at most one character is not sent.
    size_t end = TrimmedLength(text);
    if (end <= 1)
        return;
    text[end] = '\0';
    size_t start = 0;
    while (IsBlank(text[start]))
        ++start;
    if (start > 0)
        std::memmove(text, text + start, end - start + 1);
    end -= start;
    if (end == 1)
        return;

    if (HasInsult(text)) {
        ApplyInsultPenalty();
        return;
    }

    char suffix[32];
    CopyTextCut(suffix, sizeof suffix, kWhisperSuffix.Get());
    CHanCodeConv::CP949ToJohab(suffix, suffix);
    const size_t suffixLen = std::strlen(suffix);
    const bool endsWithSuffix = end >= suffixLen && std::memcmp(text + end - suffixLen, suffix, suffixLen) == 0;

    uint8_t mode = kModeNormal;
    if (text[0] != '!' && !endsWithSuffix) {
        if (end >= 2 && text[end - 2] == ' ' && text[end - 1] == '\'') {
            end -= 2;
            text[end] = '\0';
            mode = kModeApostrophe;
        } else if (text[0] == '@') {
            std::memmove(text, text + 1, end);
            --end;
            mode = kModeGroup;
        }
    } else {
        mode = kModeWhisper;
        if (text[0] == '!') {
            std::memmove(text, text + 1, end);
            --end;
        } else {
            end -= suffixLen;
            text[end] = '\0';
        }
        if (text[0] == '!') {
            const size_t nameLen = strnlen(g_lastWhisperer.data(), g_lastWhisperer.size());
            if (nameLen == 0) {
                Notice(kNoWhisperer.Get());
                return;
            }
            // The last whisperer, a blank and the rest, within the line.
            char line[kLineSize] = {};
            std::memcpy(line, g_lastWhisperer.data(), nameLen);
            line[nameLen] = ' ';
            CopyTextCut(line + nameLen + 1, sizeof line - nameLen - 1, text + 1);
            std::memcpy(text, line, sizeof line);
            end = std::strlen(text);
        } else {
            size_t n = 0;
            while (text[n] != '\0' && !IsBlank(text[n]))
                ++n;
            const char keep = text[n];
            text[n] = '\0';
            CHanCodeConv::JohabToCP949(text, text);
            text[n] = keep;
        }
    }
    if (mode == kModeApostrophe && g_playerInfo.GetBattleState() > 0)
        mode = kModeNormal;

    char name[kNameSize + 1] = {};
    g_playerInfo.GetCharName(name, sizeof name);
    const size_t len = std::strlen(text) + 1;
    CByteWriter w(18 + len);
    w.U8(7).U16(g_playerInfo.GetCharId()).FixedString(name, kNameSize).U8(mode).U16(static_cast<uint32_t>(len));
    w.Bytes(text, len);
    if (g_pMainSocket)
        g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}

// ---- replies ------------------------------------------------------------------------

void CChatLine::OnReply()
{
    uint8_t head[5] = {};
    if (NetRead(head, sizeof head) != static_cast<int>(sizeof head)) {
        plat::DebugPrintf("chat reply: short head\n");
        return;
    }
    CByteReader r(head, sizeof head);
    const uint8_t sub = r.U8();
    const uint16_t value = r.U16();
    const uint16_t length = r.U16();
    std::array<uint8_t, kReplyKeep> payload{};
    size_t kept = std::min<size_t>(length, payload.size());
    if (kept > 0) {
        const int got = NetRead(payload.data(), static_cast<int>(kept));
        if (got != static_cast<int>(kept)) {
            plat::DebugPrintf("chat reply: short payload (%d of %u)\n", got, static_cast<unsigned>(length));
            kept = static_cast<size_t>(std::max(got, 0));
        }
    }
    if (length > kept)
        NetSkip(static_cast<int>(length - kept));
    Dispatch(sub, value, kept, payload.data());
}

void CChatLine::Dispatch(int sub, uint16_t value, size_t len, const uint8_t* payload)
{
    if (!payload)
        len = 0;
    switch (sub) {
    case kWall:
        if (len >= 1) {
            // What the game master typed, Johab as it went out.
            char text[kReplyKeep + 1] = {};
            std::memcpy(text, payload, len);
            Ui().ShowJohabNotice(text, kNoticeTicks);
        }
        break;
    case kWho: OnWhoReply(value, len, payload); break;
    case kWhere: OnWhereReply(value, len, payload); break;
    case kDelUser: OnDelUserReply(value, len, payload); break;
    case kDelGhost: OnDelGhostReply(value, len, payload); break;
    case kRescue: OnRescueReply(value, len, payload); break;
    case kTeleport: OnTeleportReply(value, len, payload); break;
    case kPk: OnPkReply(value, len, payload); break;
    case kUnpk: OnUnpkReply(value, len, payload); break;
    case kRefuse: OnRefuseReply(value, len, payload); break;
    case kAllow: OnAllowReply(value, len, payload); break;
    case kRefusedList: OnRefusedListReply(value, len, payload); break;
    case kMoneyTransfer: OnMoneyTransferReply(value, len, payload); break;
    default: break;
    }
}

const char* CChatLine::RegionName(int region)
{
    return kRegions[region >= 0 && region < kRegionCount ? region : 0].Get();
}

void CChatLine::OnWhoReply(uint16_t value, size_t len, const uint8_t* payload)
{
    if (value > 0) {
        AddLineF(kWhoCount.Get(), static_cast<int>(value));
    } else {
        for (size_t i = 0; i + kRecordSize <= len; i += kRecordSize) {
            const SRecord r = ReadRecord(payload + i);
            AddLineF(r.region ? kWhoOnline.Get() : kWhoOffline.Get(), r.name);
        }
    }
    RefreshChatWindows();
}

void CChatLine::OnWhereReply(uint16_t value, size_t len, const uint8_t* payload)
{
    if (value > 0) {
        AddLineF(kWhereMe.Get(), RegionName(value));
    } else {
        for (size_t i = 0; i + kRecordSize <= len; i += kRecordSize) {
            const SRecord r = ReadRecord(payload + i);
            const char* region = RegionName(r.region);
            if (r.region == 0)
                AddLineF(kWhoOffline.Get(), r.name);
            else if (r.x == kNoPosition)
                AddLineF(kWhereRegion.Get(), r.name, region);
            else if (r.number == 0)
                AddLineF(kWhereCell.Get(), r.name, region, static_cast<int>(r.x), static_cast<int>(r.y));
            else if (r.number == 1 && r.x == 0 && r.y == 0)
                AddLineF(kWherePrison.Get(), r.name);
            else
                AddLineF(kWhereArea.Get(), r.name, region, static_cast<int>(r.x), static_cast<int>(r.y),
                         static_cast<int>(r.number));
        }
    }
    RefreshChatWindows();
}

void CChatLine::OnDelUserReply(uint16_t value, size_t, const uint8_t*)
{
    if (value == kValueMe) {
        // The player reads why before the game ends.
        plat::MessageBox("", kDismissed.Get());
        ExitGame();
    } else {
        AddLine(value ? kDelUserDone.Get() : kDelUserFailed.Get());
    }
    RefreshChatWindows();
}

void CChatLine::OnDelGhostReply(uint16_t value, size_t, const uint8_t*)
{
    AddLine(value ? kDelGhostDone.Get() : kDelGhostFailed.Get());
    RefreshChatWindows();
}

void CChatLine::OnRescueReply(uint16_t value, size_t len, const uint8_t* payload)
{
    if (value == kValueAsked) {
        if (len >= kRecordSize) {
            const SRecord r = ReadRecord(payload);
            AddLineF(kRescueAsked.Get(), r.name, RegionName(r.region), static_cast<int>(r.x), static_cast<int>(r.y),
                     static_cast<int>(r.number));
            g_rescueBattle = r.number;
            g_rescuerId = g_myId;
        }
    } else if (value != 0) {
        AddLineF(kRescueSent.Get(), GetTargetName());
        ClearTarget();
        g_rescuerId = value;
    } else {
        AddLineF(kAbsent.Get(), GetTargetName());
        ClearTarget();
    }
    RefreshChatWindows();
}

void CChatLine::OnTeleportReply(uint16_t value, size_t len, const uint8_t* payload)
{
    if (value == kValueMe) {
        CObjLayer* layer = GetObjLayer();
        if (layer && len >= kRecordSize) {
            const SRecord r = ReadRecord(payload);
            const int stage = r.region - 1;
            if (stage >= 0 && stage < kStageCount)
                layer->StageChange().Init(CStageChange::kMove, stage, r.x, r.y);
        }
        AddLine(kTeleported.Get());
    } else if (value == 1) {
        AddLineF(kTeleportDone.Get(), GetTargetName());
        ClearTarget();
    } else if (value == 0) {
        AddLineF(kAbsent.Get(), GetTargetName());
        ClearTarget();
    }
    RefreshChatWindows();
}

void CChatLine::OnPkReply(uint16_t value, size_t, const uint8_t*)
{
    if (value == kValueMe) {
        ForMyRecords([](CharacterRecord& rec) { rec.SetU16(CharacterRecord::kWanted, kWantedByManagers); });
        AddLine(kMadeWanted.Get());
    } else if (value == 1) {
        AddLineF(kPkDone.Get(), GetTargetName());
        ClearTarget();
    } else if (value == 0) {
        AddLineF(kAbsent.Get(), GetTargetName());
        ClearTarget();
    }
    RefreshChatWindows();
}

void CChatLine::OnUnpkReply(uint16_t value, size_t, const uint8_t*)
{
    if (value == kValueMe) {
        if (CObjLayer* layer = GetObjLayer()) {
            if (layer->m_jailStartTime != 0) {
                layer->StageChange().Init(CStageChange::kMove, 0, kReleaseX, kReleaseY);
                layer->m_jailStartTime = 0;
                g_jailRemaining = 0;
                g_inJail = 0;
            }
            layer->m_wantedStartTime = 0;
        }
        ForMyRecords([](CharacterRecord& rec) { rec.SetU16(CharacterRecord::kWanted, 0); });
        AddLine(kWantedLifted.Get());
    } else if (value == 1) {
        AddLineF(kUnpkDone.Get(), GetTargetName());
        ClearTarget();
    } else if (value == 0) {
        AddLineF(kAbsent.Get(), GetTargetName());
        ClearTarget();
    }
    RefreshChatWindows();
}

void CChatLine::OnRefuseReply(uint16_t value, size_t len, const uint8_t* payload)
{
    if (value == kValueMe) {
        char name[kNameSize] = {};
        if (len >= kNameSize)
            RecordName(payload, name);
        AddLineF(kRefusedYou.Get(), name);
    } else if (value == 1 || value == 2) {
        AddLineF(value == 1 ? kRefuseDone.Get() : kRefuseListed.Get(), GetTargetName());
        ClearTarget();
    } else if (value == 3) {
        AddLine(kRefuseFull.Get());
        ClearTarget();
    }
    RefreshChatWindows();
}

void CChatLine::OnAllowReply(uint16_t value, size_t len, const uint8_t* payload)
{
    if (value == kValueMe) {
        char name[kNameSize] = {};
        if (len >= kNameSize)
            RecordName(payload, name);
        AddLineF(kAllowDone.Get(), name);
    } else if (value == 1 || value == 2) {
        AddLineF(value == 1 ? kAllowDone.Get() : kAllowUnknown.Get(), GetTargetName());
        ClearTarget();
    }
    RefreshChatWindows();
}

void CChatLine::OnRefusedListReply(uint16_t value, size_t len, const uint8_t* payload)
{
    if (value == 1) {
        char list[kListShown * kListNameSize + 1] = {};
        size_t at = 0;
        for (size_t i = 0; i < static_cast<size_t>(kListShown) && (i + 1) * kListNameSize <= len; ++i) {
            char name[kNameSize];
            RecordName(payload + i * kListNameSize, name);
            const size_t n = std::strlen(name);
            std::memcpy(list + at, name, n);
            at += n;
            list[at++] = ' ';
        }
        AddLineF(kRefusedListText.Get(), list);
    } else if (value == 0) {
        AddLine(kRefusedNone.Get());
    }
    RefreshChatWindows();
}

void CChatLine::OnMoneyTransferReply(uint16_t value, size_t len, const uint8_t* payload)
{
    if (value == kValueMe) {
        if (len < kRecordSize)
            return;
        const SRecord r = ReadRecord(payload);
        RingLineF(GetGameString(kStrMoneyReceived), r.name, static_cast<int>(r.number));
        ForMyRecords([&r](CharacterRecord& rec) {
            rec.SetU32(CharacterRecord::kMoney, static_cast<uint32_t>(rec.I32(CharacterRecord::kMoney)) + r.number);
        });
    } else if (value == 1) {
        RingLineF(GetGameString(kStrMoneySent), GetTargetName(), static_cast<int>(m_transferAmount));
        ForMyRecords([this](CharacterRecord& rec) {
            rec.SetU32(CharacterRecord::kMoney,
                       static_cast<uint32_t>(rec.I32(CharacterRecord::kMoney)) - m_transferAmount);
        });
        ClearTarget();
    } else if (value == 0) {
        RingLineF(GetGameString(kStrMoneyAbsent), GetTargetName());
        ClearTarget();
    }
}

void CChatLine::Reset()
{
    m_targetName.fill(0);
    m_transferAmount = 0;
}

void ResetChatLineState()
{
    g_chatLine.Reset();
    g_simResetArmed = 0;
    g_lastWhisperer.fill(0);
    g_rescuerId = 0;
    g_rescueBattle = 0;
}
