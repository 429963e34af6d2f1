#include "app/ReceiveDispatch.h"

#include <algorithm>
#include <cstring>

#include "app/ExitGame.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "colony/ColonyService.h"
#include "core/ByteReader.h"
#include "core/ByteWriter.h"
#include "intro/DupLoginDlg.h"
#include "intro/IntroLayer.h"
#include "net/MySocket.h"
#include "net/PacketAssembler.h"
#include "platform/Debug.h"
#include "platform/Dialogs.h"
#include "platform/Window.h"
#include "social/ChatLine.h"
#include "windows/DaradirUzedo.h"
#include "world/ObjLayer.h"

uint16_t g_myId;
uint32_t g_versionConfirmed;
uint32_t g_playerIdState;
int32_t g_readyAnswer;
int32_t g_colonyAnswer;
std::array<int16_t, 12> g_rememberedBattles;
AccountRecord g_loginRecord;
uint32_t g_receiveCounter;

namespace {

// How the dispatcher takes a command: the length of the fixed part it reads
// before calling the handler, or one of these.
constexpr int kNoEntry = -2;
constexpr int kFieldGate = -1;

constexpr std::array<int16_t, 126> MakePreReadTable()
{
    std::array<int16_t, 126> t{};
    for (auto& v : t)
        v = kNoEntry;
    struct Item {
        uint8_t cmd;
        int16_t pre;
    };
    constexpr Item items[] = {
        {1, 2},   {2, 2},   {3, 11},  {4, 11},  {6, 2},   {7, kFieldGate}, {8, kFieldGate},
        {10, 6},  {11, 6},  {12, 10}, {21, 4},  {23, 4},  {25, 4},  {26, 6},  {27, 11},
        {28, 6},  {29, 2},  {30, 6},  {33, 6},  {35, 2},  {50, 1},  {51, 1},  {52, 3},
        {60, 14}, {61, 14}, {62, 2},  {63, 2},  {67, 2},  {68, 4},  {69, 4},  {80, 2},
        {81, 80}, {82, 80}, {83, 14}, {84, 2},  {102, kFieldGate},  {106, 1}, {110, 1},
        {120, 1}, {121, 1}, {123, 1}, {124, 1}, {125, 1},
    };
    for (const Item& i : items)
        t[i.cmd] = i.pre;
    for (int c = 41; c <= 48; ++c)
        t[static_cast<size_t>(c)] = kFieldGate;
    return t;
}
constexpr auto kPreRead = MakePreReadTable();

// Command 110 reads its byte and 90 more; 81 and 82 read 80.
constexpr size_t kRankingReplySize = 91;
constexpr size_t kFixedPartSize = 128;
constexpr bool PreReadsFit()
{
    for (int16_t n : kPreRead)
        if (n > static_cast<int>(kFixedPartSize))
            return false;
    return kRankingReplySize <= kFixedPartSize;
}
static_assert(PreReadsFit(), "the fixed-part buffer must hold every pre-read");

uint8_t g_fixedPart[kFixedPartSize];

void ShowGameString(int id) { plat::MessageBox("", GetGameString(id)); }

void OnVersion(const uint8_t* fixed)
{
    if (g_versionConfirmed)
        return;
    CByteReader r(fixed, 2);
    if (r.U16() == kProtocolVersion) {
        g_versionConfirmed = 1;
        return;
    }
    ShowGameString(IDS_VERSION_MISMATCH);
    ExitGame();
}

// The duplicate log-in question: true when the player wants the other
// connection of the ID cut.
bool AskDisconnectOther()
{
    CDupLoginDlg dlg;
    plat::Window().ShowCursor(true);
    const int answer = dlg.DoModal();
    plat::Window().ShowCursor(false);
    return answer == CDupLoginDlg::IDOK;
}

void OnPlayerId(CObjLayer* layer, const uint8_t* fixed)
{
    if (g_playerIdState != 0)
        return;
    CByteReader r(fixed, 2);
    const uint16_t id = r.U16();
    if (id == 0) {
        if (AskDisconnectOther())
            g_playerIdState = 2;
        else
            ExitGame();
        return;
    }
    if (layer) {
        layer->m_myId = id;
        layer->m_myId2 = id;
    }
    g_myId = id;
    g_playerIdState = 1;
}

void OnLoginResult(CIntroLayer* intro)
{
    uint8_t result = 0;
    if (NetRead(&result, 1) != 1)
        return;
    uint8_t subCode = 0;
    if (result == 5 || result == 6) {
        NetRead(&subCode, 1);
        NetRead(g_loginRecord.bytes.data(), kAccountRecordSize);
    }
    if (intro)
        intro->OnLoginReply(result, subCode);
}

// A text in a field of n bytes with its terminator; a longer text is cut
// to fit. The rest of the field is zero.
void PutText(CByteWriter& w, const char* text, size_t n) { w.FixedString(text ? text : "", n); }

}  // namespace

void RememberBattle(int16_t number)
{
    auto& slots = g_rememberedBattles;
    for (int16_t& slot : slots) {
        if (slot == 0) {
            slot = number;
            return;
        }
    }
    for (size_t i = 0; i + 1 < slots.size(); ++i) {
        size_t smallest = i;
        for (size_t j = i + 1; j < slots.size(); ++j)
            if (slots[j] < slots[smallest])
                smallest = j;
        if (slots[smallest] < slots[i])
            std::swap(slots[i], slots[smallest]);
    }
    slots[0] = number;
}

void ResetReceiveState()
{
    g_myId = 0;
    g_versionConfirmed = 0;
    g_playerIdState = 0;
    g_readyAnswer = 0;
    g_colonyAnswer = 0;
    g_rememberedBattles.fill(0);
    g_loginRecord.Clear();
    g_receiveCounter = 0;
    g_packetAssembler.Reset();
}

void CQuillonView::ReceiveDispatch()
{
    if (!AssemblePacket())
        return;
    uint8_t command = 0;
    if (NetRead(&command, 1) != 1)
        return;
    plat::DebugPrintf("#%d receive command %d\n", g_receiveCounter++, command);

    const int pre = command < kPreRead.size() ? kPreRead[command] : kNoEntry;
    if (pre == kNoEntry) {
        ShowGameString(IDS_PROTOCOL_ERROR);
        ExitGame();
        return;
    }
    CObjLayer* layer = m_pObjLayer;
    if (pre == kFieldGate) {
        if (!layer || !layer->m_pMyChar)
            return;  // dropped; the framing has taken the packet whole
        switch (command) {
        case 7: layer->OnChatLine(); break;
        case 8: g_chatLine.OnReply(); break;
        case 41: layer->OnItemPickedUp(); break;
        case 42: layer->OnItemDropped(); break;
        case 43: layer->OnDropAccepted(); break;
        case 44: layer->OnMouseItemCleared(); break;
        case 45: layer->OnPlaceGroundItems(); break;
        case 46: layer->OnItemReceived(); break;
        case 47: layer->OnItemGiven(); break;
        case 48: layer->OnItemRefused(); break;
        case 102: Colony().OnSimPacket(); break;
        default: break;
        }
        return;
    }
    if (command == 120) {
        OnLoginResult(m_pIntroLayer);
        return;
    }
    if (NetRead(g_fixedPart, pre) < pre)
        return;
    const uint8_t* f = g_fixedPart;
    switch (command) {
    case 1: OnVersion(f); return;
    case 2: OnPlayerId(layer, f); return;
    case 11: case 51: return;  // read and ignored
    case 50: g_readyAnswer = f[0] ? 1 : -1; return;
    case 106: g_colonyAnswer = f[0] ? 1 : -1; return;
    case 84: {
        CByteReader r(f, 2);
        RememberBattle(r.I16());
        return;
    }
    case 110:
        if (f[0] == 'e')
            std::memset(g_fixedPart + 1, 0, 90);  // nothing of an earlier packet behind the 'e'
        else if (NetRead(g_fixedPart + 1, 90) < 90)
            return;
        if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
            ui->OnRankingReply(g_fixedPart);
        return;
    case 121:
        if (m_pIntroLayer)
            m_pIntroLayer->OnRegisterReply(f[0]);
        return;
    case 123: OnPasswordChangeReply(f[0]); return;
    case 124: OnCharacterResetReply(f[0]); return;
    case 125:
        if (m_pIntroLayer)
            m_pIntroLayer->OnCharacterNameReply(f[0]);
        return;
    default: break;
    }
    if (!layer)
        return;
    switch (command) {
    case 3: layer->OnEnterField(f); break;
    case 4: layer->OnCharacterAppear(f); break;
    case 6: layer->OnCharacterLeave(f); break;
    case 10: layer->OnAreaUpdate(f); break;
    case 12: layer->OnCharacterMove(f); break;
    case 21: layer->OnAttack(f); break;
    case 23: layer->OnHit(f); break;
    case 25: layer->OnChallenge(f); break;
    case 26: layer->OnBattleMark(f); break;
    case 27: layer->OnBattleJoinReply(f); break;
    case 28: layer->OnBattleMarkRemoved(f); break;
    case 29: layer->OnBattleMarks(f); break;
    case 30: layer->OnBattleCommand(f); break;
    case 33: layer->OnBattleMove(f); break;
    case 35: layer->OnBattleLogout(f); break;
    case 52: layer->OnCharacterField(f); break;
    case 60: layer->OnGroupInvited(f); break;
    case 61: layer->OnGroupJoined(f); break;
    case 62: layer->OnGroupMemberAdded(f); break;
    case 63: layer->OnGroupMemberAdded2(f); break;
    case 67: layer->OnGroupDisbanded(f); break;
    case 68: layer->OnGroupExpelled(f); break;
    case 69: layer->OnGroupLeaderChanged(f); break;
    case 80: layer->OnGroupMemberLeft(f); break;
    case 81: layer->OnGroupMemberList(f); break;
    case 82: layer->OnGroupMemberInfo(f); break;
    case 83: layer->OnDuelRequested(f); break;
    default: break;
    }
}

void CQuillonView::OnPasswordChangeReply(uint8_t result)
{
    if (result == 1) {
        if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
            ui->ResetPasswordForm();
        return;
    }
    plat::MessageBox("", "암호가 변경되지 않았습니다.");
}

void CQuillonView::OnCharacterResetReply(uint8_t result)
{
    if (result == 1) {
        plat::MessageBox("", "캐릭터가 초기화 되었습니다. 게임을 종료 하겠습니다");
        if (CDaradirUzedo* ui = g_layerHolder.GetLayer())
            ui->ToggleWindow(83);
        ExitGame();
        return;
    }
    plat::MessageBox("", "캐릭터가 초기화되지 않았습니다.");
}

// ---- the view's log-in senders -------------------------------------------

int CQuillonView::SendLogin(const char* id, const char* password)
{
    if (!g_pMainSocket)
        return 0;
    CByteWriter w;
    w.U8('x');
    PutText(w, id, 12);
    PutText(w, password, 10);
    return g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}

int CQuillonView::SendRegistration(const uint8_t* record)
{
    if (!g_pMainSocket || !record)
        return 0;
    CByteWriter w;
    w.U8('y').Bytes(record, kAccountRecordSize);
    return g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}

int CQuillonView::SendCharacterName(const char* name)
{
    if (!g_pMainSocket)
        return 0;
    CByteWriter w;
    w.U8('}');
    PutText(w, name, 12);
    return g_pMainSocket->SendCommand(w.Data(), w.SizeInt());
}
