// The UI command dispatcher: once per frame every command id the windows,
// hot keys, field clicks and scripts pushed is taken off the ring and
// executed.
#include "windows/DispatchCommands.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "app/CommandRing.h"
#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/ReceiveDispatch.h"
#include "app/StringTable.h"
#include "audio/Mixer.h"
#include "audio/SoundManager.h"
#include "colony/ColonyCommands.h"
#include "core/HanCodeConv.h"
#include "core/PaletteManager.h"
#include "intro/AccountRecord.h"
#include "platform/Debug.h"
#include "rules/AbilitySet.h"
#include "rules/CalcData.h"
#include "rules/ItemData.h"
#include "script/ExtraFunctions.h"
#include "script/ScriptService.h"
#include "social/ChatLine.h"
#include "social/RankFndWin.h"
#include "social/RankWin.h"
#include "social/Ranking.h"
#include "ui/InputFocus.h"
#include "ui/MessageRing.h"
#include "ui/MyCharacterView.h"
#include "windows/BoardCommands.h"
#include "windows/CharResetDlg.h"
#include "windows/DaradirUzedo.h"
#include "windows/ItemList.h"
#include "windows/MouseCursor.h"
#include "windows/PlayerInfo.h"
#include "windows/ProfileCommands.h"
#include "world/Character.h"
#include "world/ObjLayer.h"
#include "world/ObrItemEntry.h"

int32_t g_requestCooldown = 0;
int32_t g_areYouSureAction = 1;
int32_t g_musicVolume = 50;
int32_t g_soundVolume = 50;
int32_t g_lightLevel = 50;
int32_t g_transferPercent = 50;

int GetMusicVolume() { return g_musicVolume; }
int GetSoundVolume() { return g_soundVolume; }
int GetLightLevel() { return g_lightLevel; }
int GetTransferPercent() { return g_transferPercent; }

namespace {

constexpr int kLastCommand = 250;
constexpr int32_t kCooldownFrames = 45;
constexpr int32_t kNoArgument = -1;
// The form texts hold 9 bytes and their terminator.
constexpr size_t kFormText = 9;

using Row = CommandRow;

constexpr std::array<Row, kLastCommand + 1> BuildRows()
{
    std::array<Row, kLastCommand + 1> rows{};
    for (int id : {0,   1,   2,   3,   4,   5,   6,   7,   11,  12,  13,  14,  15,  16,  17,  18,  19,  20,
                   29,  30,  31,  32,  33,  34,  35,  36,  44,  45,  47,  69,  74,  100, 101, 102, 103, 104,
                   105, 106, 107, 110, 111, 112, 113, 114, 115, 116, 118, 119, 120, 121, 138, 139, 146, 89, 90, 91, 92, 93, 94, 95,
                   70,  71,  72,  73,  76,  77,  78,  79,  80,  81,  82,  83,  84,  85,  86,  87,  88,  108,
                   109, 123, 124, 125, 126, 127, 128, 129, 131, 250, 75, 132, 133, 134, 135, 136, 137, 140, 141,
                   142})
        rows[static_cast<size_t>(id)] = Row::kWritten;
    // The boards and the mail.
    for (int id : {48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61,
                   62, 63, 66, 67, 68})
        rows[static_cast<size_t>(id)] = Row::kWritten;
    // The battle bar's rows.
    for (int id : {37, 38, 39, 40, 41, 42, 43})
        rows[static_cast<size_t>(id)] = Row::kWritten;
    // The group, profile and hair-colour rows.
    for (int id : {8, 9, 10, 22, 23, 25, 26, 27, 28, 117, 143})
        rows[static_cast<size_t>(id)] = Row::kWritten;
    return rows;
}

constexpr std::array<Row, kLastCommand + 1> kRows = BuildRows();

// ---- windows by id, every lookup null-tolerant -------------------------------

CWidget* Win(CDaradirUzedo& ui, int id) { return ui.GetRootContainer()->FindChild(id); }

CWidget* Child(CDaradirUzedo& ui, int window, int child)
{
    CWidget* w = Win(ui, window);
    return w ? w->FindChild(child) : nullptr;
}

void SetState(CWidget* w, int32_t state)
{
    if (w)
        w->SetState(state);
}

void Open(CDaradirUzedo& ui, std::initializer_list<int> ids)
{
    for (int id : ids)
        SetState(Win(ui, id), CWidget::kOpening);
}

void Close(CDaradirUzedo& ui, std::initializer_list<int> ids)
{
    for (int id : ids)
        SetState(Win(ui, id), CWidget::kClosing);
}

void Toggle(CDaradirUzedo& ui, std::initializer_list<int> ids)
{
    for (int id : ids)
        if (CWidget* w = Win(ui, id))
            w->Toggle();
}

void Refresh(CDaradirUzedo& ui, std::initializer_list<int> ids)
{
    for (int id : ids)
        if (CWidget* w = Win(ui, id))
            w->Refresh();
}

void Reload(CDaradirUzedo& ui, int id)
{
    if (CWidget* w = Win(ui, id))
        w->ReloadData();
}

void ClearBoxes(CDaradirUzedo& ui, int window, std::initializer_list<int> boxes)
{
    for (int id : boxes)
        if (CWidget* box = Child(ui, window, id))
            box->Clear();
}

// The box takes the text focus and is emptied.
void FocusAndClear(CWidget* box)
{
    if (!box)
        return;
    g_inputFocus.SetFocusWidget(box);
    box->Clear();
}

// After an input window closed: the chat line gets the focus back (a game
// master's only while the chat window is up).
void HandBackFocus(CDaradirUzedo& ui)
{
    if (!g_gmFlag || ui.IsWindowOpen(2))
        g_inputFocus.RestoreFocus();
    else
        g_inputFocus.ClearFocus();
}

void PinMainWindows(CDaradirUzedo& ui, int flag) { ui.GetRootContainer()->PinMainWindows(flag); }

CObjLayer* Layer() { return GetObjLayer(); }

bool InBattle()
{
    const CObjLayer* layer = Layer();
    return layer && layer->m_inBattle;
}

// The object layer exists and is not in a battle.
bool BattleFree()
{
    const CObjLayer* layer = Layer();
    return layer && !layer->m_inBattle;
}

void StopMyCharacter()
{
    if (CObjLayer* layer = Layer())
        if (CCharacter* me = layer->GetMyCharacter())
            me->Stop();
}

// A form box's text; "" for a missing box.
const char* BoxText(CDaradirUzedo& ui, int window, int box)
{
    CWidget* w = Child(ui, window, box);
    const char* text = w ? w->GetText() : nullptr;
    return text ? text : "";
}

// A box's text into a form text: false (nothing copied) when longer than 9
// bytes. Johab boxes are converted (the conversion keeps the length).
bool TakeFormText(std::array<char, 10>& out, const char* text, bool fromJohab)
{
    if (strnlen(text, kFormText + 1) > kFormText)
        return false;
    std::array<char, 10> copy{};
    std::memcpy(copy.data(), text, std::strlen(text));
    if (fromJohab)
        CHanCodeConv::JohabToCP949(copy.data(), copy.data());
    out = copy;
    return true;
}

// "first-second" against the 15-byte personal number of the log-in record.
bool MatchesPersonalNumber(const std::array<char, 10>& first, const std::array<char, 10>& second)
{
    char stored[AccountRecord::kResidentNumberSize + 1] = {};
    g_loginRecord.GetText(AccountRecord::kResidentNumber, AccountRecord::kResidentNumberSize, stored, sizeof stored);
    char joined[2 * kFormText + 2] = {};
    std::snprintf(joined, sizeof joined, "%s-%s", first.data(), second.data());
    return std::strcmp(joined, stored) == 0;
}

// The 10-byte account text of the log-in record that the password-change
// and deletion requests carry.
bool MatchesAccountText(const std::array<char, 10>& text)
{
    char stored[AccountRecord::kPasswordSize + 1] = {};
    g_loginRecord.GetText(AccountRecord::kPassword, AccountRecord::kPasswordSize, stored, sizeof stored);
    return std::strcmp(text.data(), stored) == 0;
}

void EmptyPasswordTexts(CDaradirUzedo& ui)
{
    for (auto* t : {&ui.m_pwAccount, &ui.m_pwNumber1, &ui.m_pwNumber2, &ui.m_pwNew, &ui.m_pwConfirm})
        t->fill('\0');
}

void EmptyDeletionTexts(CDaradirUzedo& ui)
{
    for (auto* t : {&ui.m_delAccount, &ui.m_delNumber1, &ui.m_delNumber2})
        t->fill('\0');
    ui.m_deletionChecked = false;
}

// Password change: the five boxes of window 77 checked against the log-in
// record; field 61 with the new password when they pass.
void ChangePassword(CDaradirUzedo& ui)
{
    const bool taken = TakeFormText(ui.m_pwAccount, BoxText(ui, 77, 78), true) &&
                       TakeFormText(ui.m_pwNumber1, BoxText(ui, 77, 79), false) &&
                       TakeFormText(ui.m_pwNumber2, BoxText(ui, 77, 80), false) &&
                       TakeFormText(ui.m_pwNew, BoxText(ui, 77, 81), true) &&
                       TakeFormText(ui.m_pwConfirm, BoxText(ui, 77, 82), true);
    if (!taken || !MatchesPersonalNumber(ui.m_pwNumber1, ui.m_pwNumber2)) {
        Open(ui, {90});
        return;
    }
    if (!MatchesAccountText(ui.m_pwAccount)) {
        Open(ui, {91});
        return;
    }
    if (std::strcmp(ui.m_pwNew.data(), ui.m_pwConfirm.data()) != 0) {
        Open(ui, {92});
        return;
    }
    if (CObjLayer* layer = Layer()) {
        std::memcpy(layer->m_uiText.data(), ui.m_pwNew.data(), layer->m_uiText.size());
        layer->SendCharacterField(61);
    }
}

// Character deletion, first step: the three boxes of window 83 checked; the
// confirmation box opens when they pass.
void CheckDeletion(CDaradirUzedo& ui)
{
    ui.m_deletionChecked = false;
    const bool taken = TakeFormText(ui.m_delAccount, BoxText(ui, 83, 84), true) &&
                       TakeFormText(ui.m_delNumber1, BoxText(ui, 83, 85), false) &&
                       TakeFormText(ui.m_delNumber2, BoxText(ui, 83, 86), false);
    if (!taken || !MatchesPersonalNumber(ui.m_delNumber1, ui.m_delNumber2)) {
        Open(ui, {90});
        return;
    }
    if (!MatchesAccountText(ui.m_delAccount)) {
        Open(ui, {91});
        return;
    }
    ui.m_deletionChecked = true;
    Open(ui, {89});
}

// The confirmation of a checked deletion: the reset question, then field
// 62, once; no leaves the box up for another try.
void ConfirmDeletion(CDaradirUzedo& ui)
{
    if (!ui.m_deletionChecked || !ui.IsWindowOpen(89))
        return;
    CCharResetDlg dlg;
    if (dlg.DoModal() != CCharResetDlg::IDOK)
        return;
    ui.m_deletionChecked = false;
    if (CObjLayer* layer = Layer())
        layer->SendCharacterField(62);
}

// The Enter key: the chat input goes out; a game master's Enter opens and
// closes the chat line while the chat window is down.
void EnterKey(CDaradirUzedo& ui)
{
    if (ui.IsWindowOpen(2)) {
        g_inputFocus.SubmitFocused();
        Refresh(ui, {2, 12, 3});
        return;
    }
    if (!g_gmFlag)
        return;
    if (ui.m_gmChatIdle == 1) {
        if (CWidget* chat = Win(ui, 2)) {
            chat->Clear();
            g_inputFocus.SetFocusWidget(chat);
        }
        g_inputFocus.BeginWidgetInput();
        ui.m_gmChatIdle = 0;
        return;
    }
    ui.m_gmChatIdle = 1;
    if (g_inputFocus.GetFocusWidget()) {
        g_inputFocus.SubmitFocused();
        Refresh(ui, {2, 12, 3});
        g_inputFocus.ClearFocus();
    }
}

void CloseFirstMessageBox(CDaradirUzedo& ui)
{
    for (int id : {90, 91, 92, 93}) {
        if (!ui.IsWindowOpen(id))
            continue;
        Close(ui, {id});
        if (id == 93)
            Close(ui, {77});
        return;
    }
}

// ---- the market, the bank and the money-transfer form ------------------------

constexpr int kMarket = 58;
constexpr int kBank = 94;
constexpr int kTransfer = 97;
constexpr int kRecipientBox = 95;
constexpr int kAmountBox = 96;
constexpr int kPercentSlider = 100;
constexpr int kCabinet = 98;
constexpr int kInventory = 9;
// The form's amounts stay below this, and the arrows step by 1000.
constexpr int64_t kTransferLimit = 100000;
constexpr int64_t kTransferStep = 1000;

// The player's record into the object layer's copy.
void CopyMyRecord()
{
    CObjLayer* layer = Layer();
    if (const CharacterRecord* rec = g_playerInfo.GetMyRecord(); layer && rec)
        layer->SetMyCharRecord(*rec);
}

// A typed amount: an optional sign and the digits that follow (the box
// holds 11 at most, so it stays far inside 64 bits); 0 when there are none.
int64_t ParseAmount(const char* text)
{
    size_t i = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '-' || text[0] == '+')
        ++i;
    int64_t v = 0;
    for (int n = 0; text[i] >= '0' && text[i] <= '9' && n < 15; ++i, ++n)
        v = v * 10 + (text[i] - '0');
    return negative ? -v : v;
}

void ShowTransferAmount(CDaradirUzedo& ui)
{
    if (ui.m_transferAmount < 1)
        ui.m_transferAmount = 0;
    char text[16];
    std::snprintf(text, sizeof text, "%d", ui.m_transferAmount);
    if (CWidget* box = Child(ui, kTransfer, kAmountBox))
        box->SetAndDrawText(text);
}

// The share of the money the amount is, 0..100 (0 below 100 in money).
int32_t TransferPercent(int64_t amount, int64_t money)
{
    const int64_t hundredth = money / 100;
    return hundredth > 0 ? static_cast<int32_t>(std::clamp<int64_t>(amount / hundredth, 0, 100)) : 0;
}

void CloseTransferForm(CDaradirUzedo& ui)
{
    ClearBoxes(ui, kTransfer, {kAmountBox, kRecipientBox});
    Close(ui, {kTransfer});
    for (int child : {kAmountBox, kRecipientBox, kPercentSlider})
        SetState(Child(ui, kTransfer, child), CWidget::kClosing);
    ui.m_transferAmount = 0;
    HandBackFocus(ui);
}

void TransferFromPercent(CDaradirUzedo& ui)
{
    if (!ui.IsWindowOpen(kTransfer)) {
        SetState(Child(ui, kTransfer, kPercentSlider), CWidget::kClosing);
        HandBackFocus(ui);
        return;
    }
    // The amount box takes the focus and the edit line moves onto it.
    if (CWidget* box = Child(ui, kTransfer, kAmountBox))
        box->TakeFocus();
    const int64_t base = std::min<int64_t>(g_playerInfo.GetMoney(), kTransferLimit);
    ui.m_transferAmount = static_cast<int32_t>(std::clamp<int64_t>(g_transferPercent * (base / 100), 0, kTransferLimit));
    ShowTransferAmount(ui);
}

// The arrows: up or down by 1000 within the money, the percentage following.
void StepTransfer(CDaradirUzedo& ui, bool up)
{
    if (!ui.IsWindowOpen(kTransfer))
        return;
    const int64_t typed = ParseAmount(BoxText(ui, kTransfer, kAmountBox));
    if (up && typed >= kTransferLimit)
        return;
    const int64_t money = g_playerInfo.GetMoney();
    int64_t amount = std::clamp<int64_t>(typed, 0, kTransferLimit);
    if (up ? money > amount + kTransferStep : amount - kTransferStep > 0) {
        amount += up ? kTransferStep : -kTransferStep;
        g_transferPercent = TransferPercent(amount, money);
    }
    ui.m_transferAmount = static_cast<int32_t>(amount);
    ShowTransferAmount(ui);
}

// OK on the form: the checks in order, each with its message, then the
// transfer leaves by chat and the form closes.
void SendTransfer(CDaradirUzedo& ui)
{
    // The box holds Johab, which the transfer sends in CP949; the check
    // against my own name compares in CP949 too.
    const char* typed = BoxText(ui, kTransfer, kRecipientBox);
    char recipient[64];
    std::snprintf(recipient, sizeof recipient, "%s", typed);
    CHanCodeConv::JohabToCP949(recipient, recipient);
    const int64_t amount = ParseAmount(BoxText(ui, kTransfer, kAmountBox));
    char me[32] = {};
    g_playerInfo.GetCharName(me, sizeof me);
    int refusal = 0;
    if (!recipient[0])
        refusal = 157;
    else if (amount == 0)
        refusal = 158;
    else if (std::strcmp(recipient, me) == 0)
        refusal = 159;
    else if (amount >= kTransferLimit)
        refusal = 173;
    else if (amount < 1)
        refusal = 177;
    else if (amount > g_playerInfo.GetMoney())
        refusal = 178;
    if (refusal) {
        g_messageRing.AddLine(GetGameString(refusal));
        return;
    }
    ui.m_transferAmount = 0;
    g_chatLine.SendMoneyTransfer(typed, static_cast<uint32_t>(amount));
    CloseTransferForm(ui);
}

void OpenTransferForm(CDaradirUzedo& ui)
{
    Close(ui, {kBank});
    if (ui.IsWindowOpen(kTransfer)) {
        ClearBoxes(ui, kTransfer, {kAmountBox, kRecipientBox});
        Close(ui, {kTransfer});
        HandBackFocus(ui);
        return;
    }
    FocusAndClear(Child(ui, kTransfer, kRecipientBox));
    Open(ui, {kTransfer});
}

// The cabinet opens beside the inventory and closes with it.
void ToggleCabinet(CDaradirUzedo& ui)
{
    if (g_mouseCursor.IsCarrying())
        return;
    Close(ui, {kBank});
    if (ui.IsWindowOpen(kCabinet)) {
        Close(ui, {kCabinet});
        Toggle(ui, {kInventory});
    } else {
        Open(ui, {kCabinet});
    }
    if (ui.IsWindowOpen(kCabinet) && !ui.IsWindowOpen(kInventory))
        Toggle(ui, {kInventory});
}

// ---- the quick restores ---------------------------------------------------------

// The first slot holding a restore item, used when the value is below its
// maximum: the chosen quick item's two pairs of its kind, or else one of
// the built-in potions' fixed amount. The slot closes up.
void QuickRestore(CDaradirUzedo& ui, bool hp)
{
    const CObjLayer* layer = Layer();
    CharacterRecord* rec = g_playerInfo.GetMyRecord();
    if (!rec || g_mouseCursor.GetItemId() != 0 ||
        (layer && layer->m_inBattle && layer->m_battleNumber >= static_cast<uint32_t>(CObjLayer::kDeathMatchFirst)))
        return;
    const size_t field = hp ? CharacterRecord::kHp : CharacterRecord::kMp;
    const int kind = hp ? 10 : 11;
    const int64_t max = hp ? CalcMaxHp(*rec) : CalcMaxMp(*rec);
    const int quick = hp ? ui.m_hpQuickItem : ui.m_mpQuickItem;
    struct Builtin {
        int id, amount;
    };
    static constexpr Builtin kHpItems[] = {{74, 40}, {77, 80}, {80, 80}};
    static constexpr Builtin kMpItems[] = {{75, 40}, {78, 80}, {81, 80}};
    for (int slot = 0; slot < CPlayerInfo::kItemSlots; ++slot) {
        const int id = CPlayerInfo::GetItem(*rec, slot);
        int64_t value = rec->I32(field);
        if (id <= 0 || value >= max)
            continue;
        bool found = false;
        if (quick != 0) {
            const CObrItemEntry* entry = id == quick ? ItemEntryOrNull(id) : nullptr;
            if (!entry)
                continue;
            const ItemRecord& item = entry->GetRecord();
            for (const auto& [k, amount] : {std::pair{item.kind1, item.value1}, std::pair{item.kind2, item.value2}})
                if (k == kind)
                    value = std::min<int64_t>(value + amount, max);
            found = true;
        } else {
            for (const Builtin& b : hp ? kHpItems : kMpItems)
                if (b.id == id) {
                    value = std::min<int64_t>(value + b.amount, max);
                    found = true;
                }
        }
        if (!found)
            continue;
        rec->SetU32(field, static_cast<uint32_t>(std::max<int64_t>(value, 0)));
        Reload(ui, 6);
        Refresh(ui, {6});
        // In battle the others see the new value (outside nothing is sent).
        if (CObjLayer* battle = Layer())
            battle->SendBattleStatus(rec->I32(CharacterRecord::kHp), rec->I32(CharacterRecord::kMp),
                                     rec->I32(CharacterRecord::kConstitution), rec->I32(CharacterRecord::kWisdom));
        CMouseCursor::RemoveSlotItem(slot);
        return;
    }
}

// One row of the table; args are the entries popped for it (-1: the ring
// ran out).
void Execute(CDaradirUzedo& ui, int id, const int32_t* args)
{
    switch (id) {
    case 1: ui.GetRootContainer()->Refresh(); break;
    case 2: Toggle(ui, {2}); Refresh(ui, {2}); break;
    case 3: Toggle(ui, {3}); Refresh(ui, {3}); break;
    case 4:
        Toggle(ui, {6});
        if (CWidget* status = Win(ui, 6); status && status->GetState() == CWidget::kOpening)
            status->Refresh();
        break;
    case 5: Toggle(ui, {7, 8}); break;
    case 6: Toggle(ui, {9}); break;
    case 7: Toggle(ui, {12}); break;
    case 11: Toggle(ui, {35}); break;
    case 12:
        if (!InBattle())
            Toggle(ui, {26});
        break;
    case 13:
    case 14:
    case 15:
        if (CWidget* abilities = Win(ui, 8))
            abilities->MoveToFront(id - 13);
        break;
    case 16:
        Close(ui, {35});
        PinMainWindows(ui, 1);
        Open(ui, {37, 38, 39, 40, 41});
        break;
    case 17:
    case 18:
        Close(ui, {35});
        PinMainWindows(ui, 1);
        Open(ui, {36});
        g_areYouSureAction = id == 17 ? 1 : 0;
        break;
    case 19:
        PinMainWindows(ui, 0);
        Close(ui, {36});
        if (g_areYouSureAction == 0) {
            ExitGame();
        } else if (g_areYouSureAction == 1) {
            Open(ui, {83});
            FocusAndClear(Child(ui, 83, 84));
        }
        break;
    case 20:
        PinMainWindows(ui, 0);
        Open(ui, {35});
        Close(ui, {36});
        break;
    case 8:
    case 9:
    case 10:
    case 22:
    case 23:
    case 25:
    case 26:
    case 27:
    case 28:
    case 117:
    case 143: RunProfileCommand(ui, id); break;
    case 29: EnterKey(ui); break;
    case 30:
        PinMainWindows(ui, 0);
        Open(ui, {35});
        Close(ui, {37, 38, 39, 40, 41});
        break;
    case 31:
        if (ui.IsWindowOpen(37))
            g_mixer.SetVolume(static_cast<uint32_t>(GetMusicVolume() * 655));
        break;
    case 32: g_soundManager.SetVolume(GetSoundVolume()); break;
    case 33:
        if (g_pPalette)
            g_pPalette->SetLightLevel(GetLightLevel());
        break;
    case 34:
    case 35:
    case 36:
        if (args[0] == kNoArgument || (id == 36 && args[1] == kNoArgument))
            break;
        if (CWidget* grid = Child(ui, 9, 11)) {
            if (id == 34)
                grid->ItemCommandA(args[0]);
            else if (id == 35)
                grid->ItemCommandC(args[0]);
            else
                grid->ItemCommandB(args[0], args[1]);
            grid->ItemCommandDone();
        }
        break;
    case 37:
    case 38:
        for (int button : {43, 44, 45, 46, 47})
            SetState(Child(ui, 42, button), id == 37 ? CWidget::kOpening : CWidget::kClosing);
        break;
    case 39:
    case 40:
    case 41:
    case 43:
        if (CAbilitySet* set = g_playerInfo.GetBattleState() ? GetMyAbilitySet() : nullptr)
            set->SelectCategory(id == 43 ? 6 : id - 38);
        break;
    case 42:
        if (CWidget* reaction = g_playerInfo.GetBattleState() ? Child(ui, 42, 46) : nullptr)
            reaction->Activate();
        break;
    case 44: Open(ui, {7, 8}); break;
    case 45:
        if (g_pView)
            g_pView->ToggleColonyMode();
        break;
    case 47: Toggle(ui, {51}); break;
    case 69: Toggle(ui, {10}); Refresh(ui, {10}); break;
    case 70:
        if (ui.IsWindowOpen(kMarket)) {
            CopyMyRecord();
            Close(ui, {kMarket});
        } else {
            Open(ui, {kMarket});
            Refresh(ui, {kMarket});
        }
        break;
    case 71:
        CopyMyRecord();
        Close(ui, {kMarket});
        break;
    case 72: g_itemList.BuySelected(); Refresh(ui, {kMarket}); break;
    case 73: g_itemList.SellSelected(); Refresh(ui, {kMarket}); break;
    case 74:
        if (args[0] != kNoArgument)
            ui.RemoveInventoryItem(args[0]);
        break;
    case 75: ui.TalkToNpc(args[0]); break;
    case 76:
    case 77:
    case 78:
    case 79:
    case 80:
    case 81:
    case 82:
    case 83:
    case 84:
    case 85:
    case 86:
    case 87:
    case 88:
    case 250: DispatchColonyCommand(id); break;
    case 89:
        Toggle(ui, {CRankWin::kId});
        if (CWidget* w = Win(ui, CRankWin::kId); w && w->GetState() == CWidget::kOpening)
            ui.SendRankingRequest();
        break;
    case 90: ui.SendRankingPage(int64_t{g_rankingPage} + 6); break;
    case 91: ui.SendRankingPage(int64_t{g_rankingPage} - 6); break;
    case 92: ui.SendRankingPage(g_rankingPage); break;
    case 93: Toggle(ui, {CRankFndWin::kId}); break;
    case 94:
    case 95:
        if (CWidget* find = Win(ui, CRankFndWin::kId)) {
            const char* text = find->GetText() ? find->GetText() : "";
            if (id == 94)
                ui.SendRankingByName(text);
            else
                ui.SendRankingByRank(text);
        }
        Close(ui, {CRankFndWin::kId});
        break;
    case 100:
        if (BattleFree()) {
            Toggle(ui, {59});
            Reload(ui, 59);
        }
        break;
    case 101: Reload(ui, 8); Refresh(ui, {8}); break;
    case 102:
    case 103:
    case 104:
        StopMyCharacter();
        Open(ui, {71 + id - 102});
        break;
    case 105:
    case 106:
    case 107:
        ui.CloseRegionMaps();
        ui.m_travelRequest[static_cast<size_t>(id == 107 ? 0 : id - 104)] = 1;
        break;
    case 108:
    case 109: QuickRestore(ui, id == 109); break;
    case 110: Refresh(ui, {8}); break;
    case 111:
        Open(ui, {77});
        if (ui.IsWindowOpen(77))
            FocusAndClear(Child(ui, 77, 78));
        StopMyCharacter();
        break;
    case 112:
        ClearBoxes(ui, 77, {78, 79, 80, 81, 82});
        EmptyPasswordTexts(ui);
        Close(ui, {77});
        HandBackFocus(ui);
        break;
    case 113: ChangePassword(ui); break;
    case 114:
    case 120:
        ClearBoxes(ui, 83, {84, 85, 86});
        EmptyDeletionTexts(ui);
        Close(ui, {83});
        if (id == 120)
            Close(ui, {89});
        HandBackFocus(ui);
        break;
    case 115: CheckDeletion(ui); break;
    case 116:
    case 118: Toggle(ui, {87}); break;
    case 119: ConfirmDeletion(ui); break;
    case 121: CloseFirstMessageBox(ui); break;
    case 123: Toggle(ui, {kBank}); break;
    case 124: OpenTransferForm(ui); break;
    case 125: ToggleCabinet(ui); break;
    case 126: SendTransfer(ui); break;
    case 127: CloseTransferForm(ui); break;
    case 128:
    case 129: StepTransfer(ui, id == 128); break;
    case 131: TransferFromPercent(ui); break;
    case 132:
    case 134:
    case 136:
        // Colony mode (45) or the market (70) runs later in this pass.
        g_commandRing.Push(id == 132 ? 45 : 70);
        Close(ui, {101 + (id - 132) / 2});
        break;
    case 133:
    case 135:
    case 137: {
        constexpr const char* kScripts[] = {"SimMode", "WepMerc", "DefMerc"};
        ui.m_talkTopLine = 0;
        Scripts().Load(kScripts[(id - 133) / 2]);
        Close(ui, {101 + (id - 133) / 2});
        break;
    }
    case 140:
        for (int w : {101, 102, 103, 104})
            if (ui.IsWindowOpen(w))
                Close(ui, {w});
        break;
    case 141:
        if (ui.m_talkTopLine > 0)
            --ui.m_talkTopLine;
        break;
    case 142:
        if (ui.m_talkTopLine <= ui.m_talkLineCount - 3)
            ++ui.m_talkTopLine;
        break;
    case 146:
        if (g_gmFlag)
            g_mixer.SetVolume(0);
        break;
    default:
        // The boards' and the mail's rows; 0, 138 and 139 do nothing.
        RunBoardCommand(ui, id);
        break;
    }
}

}  // namespace

CommandRow GetCommandRow(int id)
{
    return id >= 0 && id <= kLastCommand ? kRows[static_cast<size_t>(id)] : Row::kUnassigned;
}

int CommandArgumentCount(int id)
{
    switch (id) {
    case 34:
    case 35:
    case 74:
    case 75: return 1;
    case 36: return 2;
    default: return 0;
    }
}

bool TakeRequestCooldown()
{
    if (g_requestCooldown != 0)
        return false;
    g_requestCooldown = kCooldownFrames;
    return true;
}

void ResetDispatchGlobals()
{
    g_requestCooldown = 0;
    g_areYouSureAction = 1;
    g_musicVolume = g_soundVolume = g_lightLevel = g_transferPercent = 50;
}

void CDaradirUzedo::DispatchCommands()
{
    if (g_requestCooldown > 0)
        --g_requestCooldown;
    for (;;) {
        const uint32_t entry = g_commandRing.Pop();
        if (entry == CCommandRing::kEmpty)
            return;
        const int id = static_cast<int>(entry);
        // The arguments leave the ring with their id, whatever becomes of it.
        std::array<int32_t, 2> args{kNoArgument, kNoArgument};
        for (int i = 0; i < CommandArgumentCount(id); ++i)
            args[static_cast<size_t>(i)] = static_cast<int32_t>(g_commandRing.Pop());
        if (g_uiCommandsSuspended)
            continue;
        if (GetCommandRow(id) == Row::kUnassigned) {
            plat::DebugPrintf("DaradirUzedo: command %u is not assigned; skipped\n", entry);
            continue;
        }
        Execute(*this, id, args.data());
    }
}

void CDaradirUzedo::CloseRegionMaps()
{
    for (int id : {71, 72, 73})
        if (IsWindowOpen(id))
            Close(*this, {id});
}

void CDaradirUzedo::RemoveInventoryItem(int itemId)
{
    const bool wasOpen = IsWindowOpen(9);
    if (wasOpen)
        Close(*this, {9});
    g_playerInfo.RemoveItem(itemId);
    if (wasOpen)
        Open(*this, {9});
}
