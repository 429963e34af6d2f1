#include <gtest/gtest.h>

#include <string>

#include "app/ExitGame.h"
#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "app/StringTable.h"
#include "core/AnimSpriteSet.h"
#include "fixtures/IntroArchive.h"
#include "fixtures/MapFileBuilder.h"
#include "fixtures/ObrBuilder.h"
#include "support/Harness.h"
#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/ObrEntry.h"
#include "world/ObrItemEntry.h"
#include "world/StageHolder.h"
#include "world/StageLoader.h"

namespace {

std::string FileUnreadable(const char* path)
{
    char text[160];
    std::snprintf(text, sizeof text, GetGameString(IDS_FILE_UNREADABLE), path);
    return text;
}

// The client up to its first frame on an archive with these changes.
struct Client {
    explicit Client(CArchiveBuilder b) : archive(b, false) {}
    bool Start()
    {
        return h.Start() && h.RunUntil([] { return g_firstFrameDone != 0; }) && g_pView && g_pView->m_pObjLayer;
    }
    CObjLayer& Layer() { return *g_pView->m_pObjLayer; }
    CBGLayer& Ground() { return *g_pView->m_pBGLayer; }

    CTestArchive archive;
    CHarness h{5000};
};

}  // namespace

TEST(FieldStartUp, TheObjectFilesAreReadOnceAtStart)
{
    CArchiveBuilder b = CIntroArchive::Game();
    CObrBuilder eric("CHR");
    eric.Character("eric", CObrBuilder::CharRecord("0", 0, 0, 12)).AnimSet("eric");
    b.Replace("eric.obr", eric.Build());
    CObrBuilder orc("CHR");
    orc.Character("orc", CObrBuilder::CharRecord("1305", 3, 5, 8, "Orc")).AnimSet("orc").SecondVersion(259);
    b.Replace("remora.obr", orc.Build());
    CObrBuilder items("ITM");
    items.Item("none", "p").Item("potion", "p", {{100, 10}, {104, 50}}).AnimSet("p").Prefix(23);
    b.Replace("item.obr", items.Build());
    Client c(b);
    ASSERT_TRUE(c.Start());

    CObjLayer& layer = c.Layer();
    EXPECT_EQ(layer.GetCharEntryCount(), 2);
    EXPECT_EQ(layer.GetCharSetCount(), 2);
    EXPECT_EQ(layer.m_itemEntryCount, 2u);
    EXPECT_EQ(layer.GetItemEntry(1)->GetName(), "potion");
    EXPECT_EQ(layer.FindSpriteSetById(1305)->GetSpriteSet(), layer.GetCharSet(1));
    for (int i = 0; i < layer.GetCharSetCount(); ++i) {
        EXPECT_EQ(layer.GetCharSet(i)->GetAnimIndex(0), 0) << "WALK_0 is selected in slot 0";
        EXPECT_EQ(layer.GetCharSet(i)->GetAnimIndex(1), -1) << "the other 83 slots are empty";
        EXPECT_EQ(layer.GetCharSet(i)->GetAnimIndex(84), 0) << "beyond the table";
    }
    EXPECT_EQ(layer.MyRecord().bytes, layer.GetCharEntry(0)->GetCharRecord().bytes) << "the first character";
    EXPECT_EQ(layer.GetCharTemplate(0), &layer.GetCharEntry(0)->GetCharRecord());
    EXPECT_TRUE(c.h.Boxes().empty());
    EXPECT_FALSE(IsExiting());

    // The stage map: planes and objects from the archive's "1stage.map".
    ASSERT_EQ(LoadStage(0), 1);
    EXPECT_EQ(c.Ground().GetMapWidth(), 8);
    EXPECT_EQ(c.Ground().GetCellFlags(3, 3), 17);
    EXPECT_EQ(layer.GetMapName(), "stage 1");
    EXPECT_EQ(g_lastLoadedStage, 0);
}

TEST(FieldStartUp, AMissingObjectFileIsNamedAndEndsTheGame)
{
    CArchiveBuilder b = CIntroArchive::Game();
    b.Remove("berue.obr");
    Client c(b);
    ASSERT_TRUE(c.Start());
    ASSERT_EQ(c.h.Boxes().size(), 1u);
    EXPECT_EQ(c.h.Boxes()[0].text, FileUnreadable("data\\berue.obr"));
    EXPECT_TRUE(IsExiting());
    EXPECT_EQ(c.Layer().GetCharEntryCount(), 0) << "the empty sections before it";
}

TEST(FieldStartUp, ADamagedObjectFileIsNamedAndEndsTheGame)
{
    CArchiveBuilder b = CIntroArchive::Game();
    b.Replace("julia.obr", CObrBuilder("CHR").DeclaredEntries(2).Build());
    Client c(b);
    ASSERT_TRUE(c.Start());
    ASSERT_EQ(c.h.Boxes().size(), 1u);
    EXPECT_EQ(c.h.Boxes()[0].text, FileUnreadable("data\\julia.obr"));
    EXPECT_TRUE(IsExiting());
}

TEST(FieldStartUp, ADamagedStageMapIsNeverPlayed)
{
    CArchiveBuilder b = CIntroArchive::Game();
    CMapFileBuilder map(8, 8);
    map.Fill(1, 0, 0);
    Bytes cut = map.Build();
    cut.resize(cut.size() - 10);  // into the object section
    b.Replace("3stage.map", cut);
    b.Remove("4stage.map");
    Client c(b);
    ASSERT_TRUE(c.Start());
    for (auto [stage, path] : {std::pair{2, "data\\3stage.map"}, {3, "data\\4stage.map"}}) {
        ResetExitState();
        ASSERT_EQ(LoadStage(0), 1);
        EXPECT_EQ(LoadStage(stage), 0) << path;
        EXPECT_EQ(c.Ground().GetMapWidth(), 0) << path;
        EXPECT_EQ(c.Ground().GetCellFlags(3, 3), 0) << path;
        ASSERT_FALSE(c.h.Boxes().empty());
        EXPECT_EQ(c.h.Boxes().back().text, FileUnreadable(path));
        EXPECT_TRUE(IsExiting()) << path;
    }
    // A stage outside the tables is refused before anything is read or shown.
    ResetExitState();
    ASSERT_EQ(LoadStage(0), 1);
    const size_t boxes = c.h.Boxes().size();
    for (int stage : {-1, 7, 9}) {
        EXPECT_EQ(LoadStage(stage), 0) << stage;
        EXPECT_EQ(c.h.Boxes().size(), boxes) << stage;
        EXPECT_FALSE(IsExiting()) << stage;
    }
    EXPECT_GT(c.Ground().GetMapWidth(), 0) << "stage 0 stays loaded";
}
