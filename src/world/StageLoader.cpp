#include "world/StageLoader.h"

#include <string>

#include "app/QuillonView.h"
#include "audio/MusicPlayer.h"
#include "core/PaletteManager.h"
#include "core/ResFile.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/StageHolder.h"
#include "world/StageTables.h"

int g_currentMapId;
int g_lastLoadedStage = -1;

namespace {

constexpr const char* kStageMaps[kStageCount] = {"1stage.map", "2stage.map", "3stage.map", "4stage.map",
                                                 "5stage.map", "6stage.map", "7stage.map"};

// The colour-cycling ranges of every stage, each at period 10.
constexpr struct {
    int from, to;
} kCycles[4] = {{16, 19}, {21, 26}, {27, 30}, {31, 35}};
constexpr int kCyclePeriod = 10;

// The town NPCs of stage 0: cell and sprite set.
constexpr struct {
    int x, y, type;
} kStage0Npcs[] = {{179, 292, 50}, {198, 268, 51}, {186, 314, 52}, {215, 309, 54}, {241, 265, 55}};

// Nothing of a stage that failed is kept: the game is ending.
int Refuse(CBGLayer* bg, CObjLayer* layer, const std::string& path)
{
    bg->ClearMap();
    layer->ResetMap();
    ReportUnreadableFile(path.c_str());
    return 0;
}

}  // namespace

const char* StageMapName(int stage)
{
    return (stage >= 0 && stage < kStageCount) ? kStageMaps[stage] : nullptr;
}

void PlaceStageNpcs(CObjLayer& layer)
{
    for (const auto& n : kStage0Npcs)
        layer.AddNpc(nullptr, n.x, n.y, 0, n.type);
}

int LoadStage(int stage)
{
    const char* name = StageMapName(stage);
    if (!name)
        return 0;
    g_lastLoadedStage = stage;
    CQuillonView* view = g_pStageHolder ? g_pStageHolder->GetView() : g_pView;
    CBGLayer* bg = view ? view->m_pBGLayer : nullptr;
    CObjLayer* layer = view ? view->m_pObjLayer : nullptr;
    if (!bg || !layer)
        return 0;
    if (g_pPalette)
        for (int slot = 0; slot < 4; ++slot)
            g_pPalette->SetCycle(slot, 1, kCycles[slot].from, kCycles[slot].to, kCyclePeriod);
    bg->Reset();
    layer->ResetMap();

    // The previous stage's tiles and structure kinds make way.
    bg->FreeTileSets();
    for (const std::string& path : StageTileFiles(stage))
        if (bg->LoadTileFile(path.c_str()) != 0)
            return Refuse(bg, layer, path);
    layer->FreeBuildingLists();
    for (const std::string& path : StageObjectFiles(stage))
        if (layer->LoadObr(path.c_str()) != 0)
            return Refuse(bg, layer, path);

    const std::string path = std::string("data\\") + name;
    bool loaded = false;
    try {
        CRFile file(path.c_str(), CRFile::modeRead);
        loaded = bg->LoadMap(file) == 0 && layer->LoadMapObjects(file) == 0;
    } catch (const CRFileException&) {
        loaded = false;
    }
    if (!loaded)
        return Refuse(bg, layer, path);

    if (stage == 0)
        PlaceStageNpcs(*layer);
    g_musicPlayer.SetFileName(StageMusic(stage == 3 ? 1 : stage));
    g_musicPlayer.Play();
    return 1;
}

void ResetStageLoader()
{
    g_currentMapId = 0;
    g_lastLoadedStage = -1;
    g_objectFilesRand = 0;
    ResetObjLayerGlobals();
}
