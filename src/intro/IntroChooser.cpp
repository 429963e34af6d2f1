// The intro layer's class chooser and title screen.
#include <algorithm>
#include <cstring>

#include "app/ExitGame.h"
#include "app/MouseState.h"
#include "app/ReceiveDispatch.h"
#include "core/PaletteManager.h"
#include "intro/IntroLayer.h"

namespace {

struct Figure {
    const char* file;
    int angle;
    int id;
};
constexpr Figure kFigures[CIntroLayer::kItemCount] = {
    {"data\\intro_Eric.slr", 0, 1},      {"data\\intro_celinne.slr", 60, 2},
    {"data\\Intro_Andrew.slr", 120, 3},  {"data\\Intro_Inqube.slr", 180, 4},
    {"data\\intro_reian.slr", 240, 5},   {"data\\Intro_IngeBro.slr", 300, 6}};

constexpr int kChooserBackColour = 36;
constexpr int kNameScrollStep = 16;

// Where the log-in record keeps each slot's class and level (i16 each).
constexpr size_t kRecordSlotKinds = 293;
constexpr size_t kRecordSlotLevels = 335;

void PutI16(uint8_t* p, int v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

// Colour buttons use the ordinary test: inclusive left and top.
bool InColourButton(const IntroRect& rc, int x, int y)
{
    return rc.left <= x && x < rc.right && rc.top <= y && y < rc.bottom;
}

int WrapColour(int c) { return c < 0 ? 7 : (c > 7 ? 0 : c); }

// The title menu's items.
constexpr IntroRect kTitleMenu[4] = {
    {40, 41, 370, 100}, {40, 101, 535, 154}, {40, 155, 291, 216}, {40, 235, 211, 298}};

}  // namespace

int CIntroLayer::ChooserRotation(int x, int y)
{
    if (y >= 300) {
        if (x < 250)
            return 60;
        if (x > 500)
            return -60;
        return 0;
    }
    if (x < 250)
        return 120;
    if (x > 500)
        return -120;
    if (x > 400)
        return -180;
    return 180;
}

void CIntroLayer::LoadChooser()
{
    for (int i = 0; i < kItemCount; ++i)
        m_items[static_cast<size_t>(i)].Load(kFigures[i].file, kFigures[i].angle, kFigures[i].id);
    if (g_pPalette) {
        g_pPalette->LoadPalette("data\\Tolmar.PAL");
        g_pPalette->LoadTransTable("data\\TransTable.tbl");
    }
    m_nameSlide.Load("data\\Intro_name.slr");
    m_buttonSlide.Load("data\\intro_botton.slr");
}

void CIntroLayer::SlideShow()
{
    if (!g_chooserLoaded) {
        g_chooserLoaded = 1;
        LoadChooser();
    }
    const int mx = g_mouseState.GetX(), my = g_mouseState.GetY();

    auto frontFigure = [this]() -> const CIntroItem* {
        for (const CIntroItem& item : m_items)
            if (item.GetFrontId() > 0)
                return &item;
        return nullptr;
    };
    auto rotateAll = [this](int degrees) {
        for (CIntroItem& item : m_items)
            item.Rotate(degrees);
        m_nameScrolling = 1;
        m_nameScroll = 0;
    };

    if (g_mouseState.IsMouseEvent(MOUSE_LDBLCLK) && m_chooserSelection >= 1) {
        m_chooserRotation = ChooserRotation(mx, my);
        const CIntroItem* front = frontFigure();
        if (m_chooserRotation == 0 && front) {
            const size_t slot = static_cast<size_t>(std::clamp(g_selectedSlot, 1, 3) - 1);
            PutI16(g_loginRecord.bytes.data() + kRecordSlotKinds + slot * 2, front->GetId() - 1);
            PutI16(g_loginRecord.bytes.data() + kRecordSlotLevels + slot * 2, 1);
            m_sceneState = kSceneCharacterSetup;
            g_slotExists[slot] = 0;
            return;
        }
        rotateAll(m_chooserRotation);
    }

    bool turn = true;
    if (g_mouseState.IsMouseEvent(MOUSE_LDOWN)) {
        m_pressedColourButton = 4;
        for (int b = 0; b < 4; ++b) {
            if (InColourButton(kColourButtons[static_cast<size_t>(b)], mx, my)) {
                m_pressedColourButton = b;
                break;
            }
        }
        switch (m_pressedColourButton) {
        case 0: m_colourA = WrapColour(m_colourA - 1); break;
        case 1: m_colourA = WrapColour(m_colourA + 1); break;
        case 2: m_colourB = WrapColour(m_colourB - 1); break;
        case 3: m_colourB = WrapColour(m_colourB + 1); break;
        default: break;
        }
        if (m_pressedColourButton < 4) {
            turn = false;
        } else {
            m_chooserRotation = ChooserRotation(mx, my);
            if (m_chooserRotation == 0) {
                if (const CIntroItem* front = frontFigure())
                    m_chooserSelection = front->GetId();
            }
            rotateAll(m_chooserRotation);
        }
    }

    if (turn) {
        for (CIntroItem& item : m_items)
            item.Animate();
        std::sort(m_itemOrder.begin(), m_itemOrder.end(), [this](int a, int b) {
            return CompareIntroItems(&m_items[static_cast<size_t>(a)], &m_items[static_cast<size_t>(b)]) < 0;
        });
    }

    const BlitTarget screen = Screen();
    ScreenFillRect(screen, 0, 0, kCols, kRows, kChooserBackColour);
    const uint8_t* blend = g_pPalette ? g_pPalette->GetBlendTable() : nullptr;
    for (int i : m_itemOrder)
        m_items[static_cast<size_t>(i)].Draw(screen, blend);

    // The banner names the figure in front; mid-turn no figure is there.
    const bool atRest = std::all_of(m_items.begin(), m_items.end(),
                                    [](const CIntroItem& item) { return item.IsAtRest(); });
    const CIntroItem* front = frontFigure();
    if (atRest && front) {
        m_frontItem = front->GetId() - 1;
        m_nameSlide.Draw(m_frontItem, 1010 - m_nameScroll, 20, screen);
        if (m_nameScrolling) {
            const int limit = static_cast<int>(m_nameSlide.GetFrameWidth(m_frontItem)) + 80;
            if (m_nameScroll + kNameScrollStep > limit)
                m_nameScrolling = 0;
            else
                m_nameScroll += kNameScrollStep;
        }
    }

    DrawChooserButtons(m_pressedColourButton);
    m_pressedColourButton = -1;

    if (!g_chooserFadedIn) {
        g_chooserFadedIn = 1;
        if (g_pPalette) {
            g_pPalette->SetRangeColor(0, 0, 0, 0, 255);
            g_pPalette->StartFade(100);
        }
    }
}

void CIntroLayer::DrawChooserButtons(int pressed)
{
    const BlitTarget screen = Screen();
    m_buttonSlide.Draw(0, 600, 517, screen);
    m_buttonSlide.Draw(pressed == 0 ? 3 : 2, 660, 514, screen);
    m_buttonSlide.Draw(pressed == 1 ? 5 : 4, 760, 514, screen);
    ScreenFillRect(screen, 680, 518, 60, 22, kColourTable[static_cast<size_t>(m_colourA & 7)]);
    m_buttonSlide.Draw(1, 600, 547, screen);
    m_buttonSlide.Draw(pressed == 2 ? 3 : 2, 660, 544, screen);
    m_buttonSlide.Draw(pressed == 3 ? 5 : 4, 760, 544, screen);
    ScreenFillRect(screen, 680, 548, 60, 22, kColourTable[static_cast<size_t>(m_colourB & 7)]);
}

// ---- the title screen ------------------------------------------------------
// Title fields: 0 background scroll (rows), 1 the menu item being left by the
// wipe, 2 credits shown, 3 logo x, 5 credits y.

void CIntroLayer::InitTitleScreen()
{
    LoadBackground("data\\intro.tle");
    m_pPicture4 = LoadPicture(m_image4, "data\\logo.tle");
    m_pPicture2 = LoadPicture(m_image2, "data\\credit.tle");
    m_pPicture3 = LoadPicture(m_image3, "data\\intromenu.tle");
    if (g_pPalette)
        g_pPalette->LoadPalette("intro.PAL");
}

void CIntroLayer::TitleMenu()
{
    int32_t& scroll = m_titleFields[0];
    int32_t& leaving = m_titleFields[1];
    int32_t& credits = m_titleFields[2];
    int32_t& logoX = m_titleFields[3];
    int32_t& creditsY = m_titleFields[5];

    if (m_pScreen && m_background.size() == kScreenBytes) {
        // The background scrolls up one row a frame, wrapping round.
        const size_t top = static_cast<size_t>(scroll) * kCols;
        std::memcpy(m_pScreen, m_background.data() + top, kScreenBytes - top);
        std::memcpy(m_pScreen + (kScreenBytes - top), m_background.data(), top);
        scroll = (scroll + 1) % kRows;
    }
    if (logoX > kTitleMenu[0].left)
        logoX = std::max(logoX - m_titleStep / 10, kTitleMenu[0].left);
    DrawPicture(m_pPicture4, logoX, 330);
    DrawPicture(m_pPicture3, kTitleMenu[0].left, kTitleMenu[0].top);
    if (credits && m_pPicture2) {
        DrawPicture(m_pPicture2, 420, creditsY);
        creditsY -= 2;
        if (creditsY < -static_cast<int>(m_pPicture2->GetDataHeight()))
            creditsY = kRows;
    }

    if (!leaving && g_mouseState.IsMouseEvent(MOUSE_LDOWN)) {
        const int x = g_mouseState.GetX(), y = g_mouseState.GetY();
        for (int i = 0; i < 4; ++i) {
            if (!HitTest(kTitleMenu[i], x, y))
                continue;
            if (i == 2)
                credits = !credits;
            else
                leaving = i + 1;
            break;
        }
    }
    if (leaving && WipeHide(m_pScreen) == 0) {
        const int item = leaving;
        leaving = 0;
        if (item == 4) {
            if (g_pPalette)
                g_pPalette->ApplyPalette();
            LogOutAndExit();
            return;
        }
        LogOutToTitle();
        if (g_pPalette)
            g_pPalette->ApplyPalette();
        m_sceneState = item == 1 ? kSceneLoginSetup : kSceneCharacterSetup;
        FreeScreen({&m_image2, &m_image3, &m_image4});
    }
}
