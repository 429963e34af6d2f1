#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "app/FrameClock.h"
#include "app/QuillonView.h"
#include "core/Display.h"
#include "fixtures/TempDir.h"
#include "platform/Settings.h"
#include "support/Harness.h"

namespace {

constexpr const char* kKey = "Software\\Brennix\\Quorvel";

TEST(WindowPlacement, AMovedWindowIsRemembered)
{
    CHarness h{5000};
    plat::ISettings& s = h.Platform().settings;
    s.SetDword(kKey, "default", 100);
    s.SetDword(kKey, "Window_Position_LEFT", 100);
    s.SetDword(kKey, "Window_Position_TOP", 50);
    s.SetDword(kKey, "Window_Position_RIGHT", 899);
    s.SetDword(kKey, "Window_Position_BOTTOM", 649);
    s.SetDword(kKey, "Window_Position_FS", 0);
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1; }, 1000));
    ASSERT_FALSE(g_pView->m_pDisplay->IsFullScreen());

    h.Platform().video.windowRect = plat::Rect{300, 200, 1100, 800};
    plat::RawEvent moved;
    moved.kind = plat::RawKind::WindowMoved;
    h.Loop().InjectInput(moved);
    h.Step();
    EXPECT_EQ(s.GetDword(kKey, "Window_Position_LEFT"), 300u);
    EXPECT_EQ(s.GetDword(kKey, "Window_Position_TOP"), 200u);
    EXPECT_EQ(s.GetDword(kKey, "Window_Position_FS"), 0u);
}

// The settings file, counting how often it is written.
class CCountedFileSettings : public plat::CFileSettings {
public:
    using CFileSettings::CFileSettings;
    int writes = 0;

protected:
    void Changed() override
    {
        ++writes;
        CFileSettings::Changed();
    }
};

TEST(WindowPlacement, ADragWritesTheFileOnceForEveryNewPlaceOnly)
{
    CTempDir dir;
    CCountedFileSettings file(dir.File("settings.ini"));
    {
        plat::CSettingsUpdate update(file);
        const std::pair<const char*, uint32_t> values[] = {
            {"default", 0},          {"Window_Position_LEFT", 100},   {"Window_Position_TOP", 50},
            {"Window_Position_RIGHT", 899}, {"Window_Position_BOTTOM", 649}, {"Window_Position_FS", 0}};
        for (const auto& [name, value] : values)
            file.SetDword(kKey, name, value);
        EXPECT_EQ(file.writes, 0) << "written when the update ends";
    }
    EXPECT_EQ(file.writes, 1) << "six values, one write";
    CHarness h{5000};
    plat::SetSettings(&file);
    ASSERT_TRUE(h.Start());
    ASSERT_TRUE(h.RunUntil([] { return g_gameFrameCount >= 1; }, 1000));
    ASSERT_FALSE(g_pView->m_pDisplay->IsFullScreen());

    // Dragged over three places, resting on the second for two moves.
    const int before = file.writes;
    for (int x : {300, 310, 310, 320}) {
        h.Platform().video.windowRect = plat::Rect{x, 200, x + 800, 800};
        plat::RawEvent moved;
        moved.kind = plat::RawKind::WindowMoved;
        h.Loop().InjectInput(moved);
        h.Step();
    }
    EXPECT_EQ(file.writes - before, 3);
    std::ifstream in(dir.File("settings.ini"));
    std::stringstream text;
    text << in.rdbuf();
    plat::CMemorySettings saved;
    saved.Parse(text.str());
    EXPECT_EQ(saved.GetDword(kKey, "Window_Position_LEFT"), 320u);
    EXPECT_EQ(saved.GetDword(kKey, "Window_Position_RIGHT"), 1119u);
    EXPECT_EQ(saved.GetDword(kKey, "Window_Position_FS"), 0u);
    plat::SetSettings(&h.Platform().settings);
}

}  // namespace
