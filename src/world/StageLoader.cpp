#include "world/StageLoader.h"

#include <string>

#include "app/QuillonView.h"
#include "core/ResFile.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/StageHolder.h"

int g_currentMapId;
int g_lastLoadedStage = -1;

namespace {
constexpr const char* kStageMaps[kStageCount] = {"1stage.map", "2stage.map", "3stage.map", "4stage.map",
                                                 "5stage.map", "6stage.map", "7stage.map"};
}  // namespace

const char* StageMapName(int stage)
{
    return (stage >= 0 && stage < kStageCount) ? kStageMaps[stage] : nullptr;
}

int LoadStage(int stage)
{
    g_lastLoadedStage = stage;
    CQuillonView* view = g_pStageHolder ? g_pStageHolder->GetView() : g_pView;
    CBGLayer* bg = view ? view->m_pBGLayer : nullptr;
    CObjLayer* layer = view ? view->m_pObjLayer : nullptr;
    if (!bg || !layer)
        return 0;
    bg->Reset();
    layer->ResetMap();

    const char* name = StageMapName(stage);
    const std::string path = std::string("data\\") + (name ? name : "?stage.map");
    bool loaded = false;
    if (name) {
        try {
            CRFile file(path.c_str(), CRFile::modeRead);
            loaded = bg->LoadMap(file) == 0 && layer->LoadMapObjects(file) == 0;
        } catch (const CRFileException&) {
            loaded = false;
        }
    }
    if (!loaded) {
        bg->ClearMap();
        layer->ResetMap();
        ReportUnreadableFile(path.c_str());
        return 0;
    }
    return 1;
}

void ResetStageLoader()
{
    g_currentMapId = 0;
    g_lastLoadedStage = -1;
    g_objectFilesRand = 0;
    ResetObjLayerGlobals();
}
