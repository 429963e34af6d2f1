// What the widget tests share: a view and object layer (CTestWorld) on an
// archive with the framework's sprite files and a few window and button
// images, a text layer with the test fonts, an 800 x 600 screen, the locale
// switch and, when asked for, a UI layer whose root container holds windows
// by id.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/TextLayer.h"
#include "fixtures/ArchiveBuilder.h"
#include "support/TestWorld.h"
#include "windows/DaradirUzedo.h"

// Records the mouse events offered to it (its id) and takes them when told
// to; counts its destruction.
class CProbe : public CWidget {
public:
    CProbe(int32_t id, int takes, std::vector<int32_t>* log, int* deaths = nullptr)
        : CWidget(id), m_takes(takes), m_log(log), m_deaths(deaths)
    {
    }
    ~CProbe() override
    {
        if (m_deaths)
            ++*m_deaths;
    }
    int OnLButtonDblClk(int32_t, int32_t) override { return Took(); }
    int OnLButtonDown(int32_t, int32_t) override { return Took(); }
    int OnRButtonDown(int32_t, int32_t) override { return Took(); }
    int OnMouseMove(int32_t, int32_t) override { return Took(); }
    int OnRButtonUp(int32_t, int32_t) override { return Took(); }
    int OnLButtonUp(int32_t, int32_t) override { return Took(); }

private:
    int Took()
    {
        if (m_log)
            m_log->push_back(m_id);
        return m_takes;
    }
    int m_takes;
    std::vector<int32_t>* m_log;
    int* m_deaths;
};

class UiTest : public ::testing::Test {
public:
    // Images in the archive: a 4-frame button (30 x 16, colours 10..13), a
    // 3-button row (6 frames 40 x 12, colours 20..25), a window picture
    // (200 x 150), the fan's three buttons (24 x 24, colours 30..32) and a
    // slider bar (120 x 12, colour 110).
    static constexpr const char* kButton = "data\\Btn.slr";
    static constexpr const char* kRow = "data\\Row.slr";
    static constexpr const char* kWindow = "data\\Win.slr";
    static constexpr const char* kFan = "data\\Fan.slr";
    static constexpr const char* kBar = "data\\Bar.slr";
    static constexpr const char* kMissing = "data\\Missing.slr";

protected:
    UiTest();
    ~UiTest() override;

    // The root container of a UI layer made on first use (g_layerHolder).
    CWidgetContainer& Root();
    // Pops every pending command id.
    std::vector<int32_t> Commands();
    void English(bool on);
    // Draws w frames times with t UI ticks a frame.
    void Frames(CWidget& w, int frames, uint32_t ticks = 1);
    uint8_t* Screen() { return m_screen.data(); }
    uint8_t Pixel(int x, int y) const { return m_screen[static_cast<size_t>(y) * 800 + static_cast<size_t>(x)]; }
    void ClearScreen() { std::fill(m_screen.begin(), m_screen.end(), 0); }
    size_t Boxes() { return m_world.Platform().dialogs.boxes.size(); }
    CTestWorld& World() { return m_world; }

private:
    static CArchiveBuilder Archive();

    CTestWorld m_world;
    CTextLayer m_text{nullptr};
    std::unique_ptr<CDaradirUzedo> m_ui;
    std::vector<uint8_t> m_screen;
};
