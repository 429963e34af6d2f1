// Stand-ins for the rules and the service seams until they land; removed
// then.
#include "colony/ColonyService.h"
#include "core/ByteReader.h"
#include "rules/CalcData.h"
#include "rules/GameData.h"
#include "rules/ItemData.h"
#include "ui/FieldView.h"
#include "windows/PlayerInfo.h"
#include "windows/UiService.h"
#include "world/CharacterRecord.h"

int CalcMaxHp(const CharacterRecord& rec) { return static_cast<int>(rec.U32(CharacterRecord::kConstitution) % 1000) * 10; }
int CalcMaxMp(const CharacterRecord& rec) { return static_cast<int>(rec.U32(CharacterRecord::kWisdom) % 1000) * 10; }
int CalcLevelFromStats(const CharacterRecord& rec) { return static_cast<int>(rec.U32(CharacterRecord::kLevel)); }
int GetClassBaseValue(const CharacterRecord&) { return 7; }
void InitGameData() {}

bool ItemRecord::Read(CByteReader& r)
{
    const size_t start = r.Pos();
    r.Bytes(koreanName.data(), kNameSize);
    r.Seek(start + kKind1);
    kind1 = r.I32();
    value1 = r.I32();
    r.Seek(start + kSpriteSetName);
    r.Bytes(spriteSetName.data(), kNameSize);
    r.Seek(start + kSize);
    return r.Ok() && r.Pos() == start + kSize;
}
CItemData g_itemData;
void CItemData::Reset() {}
CRleImage* CItemData::GetGroundFrame(int) { return nullptr; }
CPlayerInfo g_playerInfo;

int GetFieldViewRight() { return 800; }

namespace {
class CNoUi : public IUi {
public:
    void AddLine(const char*) override {}
    void ClearMessages() override {}
    void AddFloatText(int, int, const char*) override {}
    int AddNotice(int, int, int, int, int, int, int) override { return 0; }
    void SetWindowState(int, int) override {}
    int GetWindowState(int) override { return 0; }
    void ToggleWindow(int) override {}
    bool IsWindowOpen(int) override { return false; }
    void RefreshWindows() override {}
    void DispatchMouseButtons() override {}
    void DispatchCommands() override {}
    void HandleHotKeys() override {}
    int RouteChatMessage(const char*) override { return 0; }
    void ShowNotice(const char*, int) override {}
    void ApplyToPlayer(CMouseCursor&) override {}
    void ReturnCarried(CMouseCursor&) override {}
    int LoadItemList(const char*) override { return 0; }
};
class CNoColony : public IColony {
public:
    void OnSimPacket() override {}
    void SendRequest(int, uint16_t) override {}
    void SendProfileText(const char*) override {}
    void SendResources() override {}
    void SendFacilities() override {}
    void SendCubes() override {}
    void Tick() override {}
    void LoadCubesFromInventory() override {}
    void LoadSprites() override {}
    void UnloadSprites() override {}
    int IsMapShown() override { return 0; }
    void DrawTerrain(uint8_t*) override {}
    void ScrollLeft() override {}
    void ScrollRight() override {}
    void ScrollUp() override {}
    void ScrollDown() override {}
    void CursorClick() override {}
    void CursorResetMode() override {}
    void DrawCursor(int, int, uint8_t*) override {}
};
CNoUi g_noUi;
CNoColony g_noColony;
IUi* g_ui = &g_noUi;
IColony* g_colony = &g_noColony;
}  // namespace

IUi& Ui() { return *g_ui; }
void SetUi(IUi* ui) { g_ui = ui ? ui : &g_noUi; }
IColony& Colony() { return *g_colony; }
void SetColony(IColony* colony) { g_colony = colony ? colony : &g_noColony; }
