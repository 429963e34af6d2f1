// The colony screen without its windows: the cursor's clicks and frames,
// the placement rule messages, the facility info pages and the .btx reader.
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/CommandRing.h"
#include "app/FrameClock.h"
#include "app/MouseState.h"
#include "colony/BtxText.h"
#include "colony/FacilityInfo.h"
#include "colony/InfoCanvas.h"
#include "colony/SimCursor.h"
#include "colony/SimTerrain.h"
#include "core/Blit.h"
#include "fixtures/ColonySprites.h"
#include "platform/Settings.h"
#include "ColonyTestSupport.h"

namespace {

using Packets = std::vector<SentPacket>;

// The page's drawing calls, in order.
class CRecordingCanvas : public CInfoCanvas {
public:
    void SetColors(uint8_t text, uint8_t shadow) override { log.Add("SetColors", text, shadow); }
    void DrawText(int x, int y, const char* text) override { log.Add("DrawText", x, y, text); }
    void DrawTextCentered(int x, int y, const char* text) override { log.Add("Centered", x, y, text); }
    void FillRect(int x0, int y0, int x1, int y1, uint8_t colour) override
    {
        log.Add("FillRect", x0, y0, x1, y1, colour);
    }
    CCallLog log;
};

std::string Colors(int text) { return CCallLog::Call("SetColors", text, 255); }
std::string Text(int x, int y, const std::string& s) { return CCallLog::Call("DrawText", x, y, s); }
std::string Centered(int x, int y, const std::string& s) { return CCallLog::Call("Centered", x, y, s); }
std::string Notice(const char* text) { return CCallLog::Call("ShowNotice", text, 60); }

CArchiveBuilder ScreenArchive()
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CColonySprites::AddTo(b);
    CColonySprites::AddScreenTo(b);
    // A carriage return stays in its line; the last line has no line feed.
    b.Add("Power.btx", std::string_view("First line\r\nSecond line\nlost line#after the end\n"));
    return b;
}

class ColonyScreen : public ColonyTest {
protected:
    ColonyScreen() : ColonyTest(ScreenArchive())
    {
        Colony().LoadSprites();
        SetSpriteClipRect(0, 0, 800, 600);
    }
    ~ColonyScreen() override
    {
        SetSpriteClipRect(0, 0, 800, 480);
        g_gmFlag = 0;
    }

    // One colony frame with the mouse on the map cell: the objects (the
    // cursor's facility follows the mouse) and the cursor.
    ScreenPoint Frame(int x, int y)
    {
        const ScreenPoint s = g_simTerrain.MapToScreen(x, y);
        g_mouseState.SetMouseEvent(MOUSE_MOVE, s.x, s.y);
        Colony().DrawObjects(screen.data());
        Colony().DrawCursor(s.x, s.y, screen.data());
        return s;
    }
    void ClickAt(int x, int y)
    {
        Frame(x, y);
        Colony().CursorClick();
    }
    std::vector<uint32_t> Pushed()
    {
        std::vector<uint32_t> out;
        for (uint32_t id; (id = g_commandRing.Pop()) != CCommandRing::kEmpty;)
            out.push_back(id);
        return out;
    }

    std::vector<uint8_t> screen = std::vector<uint8_t>(800 * 600, 255);
};

}  // namespace

TEST_F(ColonyScreen, CursorPicksPlacesAndDemolishesThroughTheColonysRules)
{
    SetMoney(1000);
    Layout({{kSimHeadquarters, 0, 0}, {2, 8, 0}, {kSimEdgeFacility, -9, 0}, {kSimEmptyBase, 0, 9}, {kSimRock, 0, -9}});
    g_commandRing.Reset();
    TakeSentPackets();
    const int kStay = -1;
    struct Row {
        int mode;
        int x, y;
        std::vector<uint32_t> pushed;
        int pickedType;  // the picked facility's type afterwards
        const char* notice;
        size_t packets;
        int firstByte;  // of the first packet sent
    } rows[] = {
        {CSimCursor::kPick, 0, 0, {76}, kSimHeadquarters, nullptr, 0, 0},
        {CSimCursor::kPick, 8, 0, {82}, 2, nullptr, 0, 0},
        {CSimCursor::kPick, -9, 0, {79}, kSimEdgeFacility, nullptr, 0, 0},
        {CSimCursor::kPick, 0, 9, {81}, kSimEmptyBase, nullptr, 0, 0},
        // Empty ground and a rock: no pick, the last one kept.
        {CSimCursor::kPick, 30, 30, {}, kStay, nullptr, 0, 0},
        {CSimCursor::kPick, 0, -9, {}, kStay, nullptr, 0, 0},
        {CSimCursor::kPlace, 1, 1, {}, kStay, "Too close to another facility.", 0, 0},
        {CSimCursor::kPlace, 40, 0, {}, kStay, "Too far from the colony's centre.", 0, 0},
        // A base: 'g', the resources and the money.
        {CSimCursor::kPlace, 9, 9, {}, kStay, nullptr, 3, 'g'},
        // The new base is picked, not the cursor's facility left on it.
        {CSimCursor::kPick, 9, 9, {81}, kSimEmptyBase, nullptr, 0, 0},
        // The headquarters is passed over in demolish mode: nothing at all.
        {CSimCursor::kDemolish, 0, 0, {}, kStay, nullptr, 0, 0},
        {CSimCursor::kDemolish, 0, 9, {}, kStay, nullptr, 1, 'h'},
        // The picked base goes, and the cursor forgets it.
        {CSimCursor::kDemolish, 9, 9, {}, 0, nullptr, 1, 'h'},
    };
    int picked = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode << " at " << r.x << "," << r.y);
        ui.log.Clear();
        g_simCursor.SetMode(r.mode);
        ClickAt(r.x, r.y);
        EXPECT_EQ(Pushed(), r.pushed);
        if (r.pickedType != kStay)
            picked = r.pickedType;
        EXPECT_EQ(g_simCursor.GetPickedFacility()->m_type, picked);
        EXPECT_EQ(g_simCursor.GetMode(), CSimCursor::kPick) << "every click ends in pick mode";
        std::vector<std::string> notices;
        if (r.notice)
            notices.push_back(Notice(r.notice));
        EXPECT_EQ(ui.log.Calls(), notices);
        const Packets sent = TakeSentPackets();
        ASSERT_EQ(sent.size(), r.packets);
        if (r.packets) {
            EXPECT_EQ(sent[0][0], r.firstByte);
        }
    }
    // The forgotten pick is the fixed empty facility, not freed memory.
    const CSimFacility& none = *g_simCursor.GetPickedFacility();
    EXPECT_EQ(std::tuple(none.m_type, none.m_x, none.m_y, none.GetProgress()), std::tuple(0, 0, 0, 0));
    EXPECT_FALSE(g_simCursor.HasPick());

    // Locked (the tech-cube box is open): clicks and right clicks do nothing.
    g_simCursor.SetLocked(1);
    g_simCursor.SetMode(CSimCursor::kPlace);
    ClickAt(-9, 9);
    Colony().CursorResetMode();
    EXPECT_EQ(g_simCursor.GetMode(), CSimCursor::kPlace);
    EXPECT_TRUE(TakeSentPackets().empty());
    g_simCursor.SetLocked(0);
    Colony().CursorResetMode();
    EXPECT_EQ(g_simCursor.GetMode(), CSimCursor::kPick);
}

TEST_F(ColonyScreen, CursorFramesFollowTheModeAndStandStillWhenNotValid)
{
    // The frame drawn is told by its colour: frame i is solid 200 + i.
    auto drawnFrames = [&](int mode, int valid, int locked) {
        g_simCursor.Reset();
        g_simCursor.SetMode(mode);
        g_simCursor.SetLocked(locked);
        std::map<int, int> seen;
        for (int i = 0; i < 30; ++i) {
            g_simCursor.SetValid(valid);
            g_simCursor.Draw(100, 100, screen.data());
            ++seen[screen[108 * 800 + 108] - CColonySprites::kCursorColour];
            screen[108 * 800 + 108] = 255;
        }
        return seen;
    };
    using Seen = std::map<int, int>;
    EXPECT_EQ(drawnFrames(CSimCursor::kPick, 1, 0), (Seen{{0, 6}, {1, 6}, {2, 6}, {3, 6}, {4, 6}}));
    EXPECT_EQ(drawnFrames(CSimCursor::kDemolish, 1, 0), (Seen{{5, 15}, {6, 15}}));
    EXPECT_EQ(drawnFrames(CSimCursor::kPlace, 1, 0), (Seen{{7, 5}, {8, 5}, {9, 5}, {10, 5}, {11, 5}, {12, 5}}));
    EXPECT_EQ(drawnFrames(CSimCursor::kPlace, 0, 0), (Seen{{7, 30}}));
    EXPECT_EQ(drawnFrames(CSimCursor::kDemolish, 0, 1), (Seen{{0, 6}, {1, 6}, {2, 6}, {3, 6}, {4, 6}}));
    EXPECT_EQ(drawnFrames(7, 1, 0), (Seen{{255 - CColonySprites::kCursorColour, 30}})) << "no frame";
}

TEST_F(ColonyScreen, RuleTestsShowTheirMessageWhereTheyFail)
{
    struct Row {
        int type;
        int bit;
        int otherType;
        int distance;  // of the other object; 0: none
        const char* message;  // null: the rule holds
    } rows[] = {
        {34, 4, kSimRock, 5, nullptr},
        {34, 4, kSimRock, 6, "This facility must be near rock"},
        {34, 4, kSimRock, 0, "This facility must be near rock"},
        {31, 2, kSimForest, 5, nullptr},
        {31, 2, kSimForest, 6, "This facility must be near forest"},
        {16, 8, kSimLava, 5, nullptr},
        {16, 8, kSimLava, 6, "This facility must be near magma"},
        {7, 32, kSimForest, 9, "This facility must not be near forest"},
        {7, 32, kSimForest, 10, nullptr},
        {7, 64, kSimRock, 9, "This facility must not be near rock"},
        {7, 128, kSimLava, 9, "This facility must not be near magma"},
        {7, 128, kSimLava, 10, nullptr},
        {2, 16, 2, 49, "Other Police Station is in near."},
        {2, 16, 2, 50, nullptr},
        {4, 1, 4, 998, "Other Garden of Pray has been built."},
        {4, 1, 4, 999, nullptr},
        // The same cell is distance 0: not another facility.
        {4, 1, 4, -1, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "type " << r.type << " bit " << r.bit << " at " << r.distance);
        if (r.distance == 0)
            Layout({{r.type, 0, 0}});
        else
            Layout({{r.type, 0, 0}, {r.otherType, r.distance < 0 ? 0 : r.distance, 0}});
        const CSimFacility& f = *FirstOfType(r.type);
        CRecordingCanvas canvas;
        EXPECT_EQ(CFacilityInfo::TestRule(r.bit, f, &canvas), r.message ? 0 : 1);
        std::vector<std::string> drawn;
        if (r.message)
            drawn = {Colors(119), Text(40, 300, r.message)};
        EXPECT_EQ(canvas.log.Calls(), drawn);
        EXPECT_EQ(CFacilityInfo::TestRule(r.bit, f, nullptr), r.message ? 0 : 1) << "without a panel";
    }
}

TEST_F(ColonyScreen, UniqueRuleTakesTheParticleOfTheNameInKorean)
{
    const char* const kKey = "Control Panel\\International";
    plat::Settings().SetString(kKey, "Locale", "00000412");
    // 경찰서 ends without a final consonant, 기도의 정원 with one.
    for (auto [type, message] : {std::pair{2, "이미 다른 경찰서가 있습니다."}, std::pair{4, "이미 다른 기도의 정원이 있습니다."}}) {
        Layout({{type, 0, 0}, {type, 30, 0}});
        CRecordingCanvas canvas;
        EXPECT_EQ(CFacilityInfo::TestRule(1, *FirstOfType(type), &canvas), 0);
        EXPECT_EQ(canvas.log.Calls(), (std::vector<std::string>{Colors(119), Text(40, 300, message)}));
    }
    plat::Settings().SetString(kKey, "Locale", "00000409");
}

TEST_F(ColonyScreen, InfoPagesDrawProgressDescriptionEnergyAndBase)
{
    FacilityValues plant, school, gaia;
    plant.energy = 30;
    school.energy = -40;
    gaia.cost = {100, 5, 0, 0, 7};
    LoadValues(CFacilityDatBuilder().Add("ELL", plant).Add("EEB", school).Add("LLL", gaia));
    SetGameTime(1240);
    SetMoney(50);
    g_simColony.m_wood = 5;
    g_simColony.m_crystal = 6;
    const std::string plantName = GetFacilityName(52), gaiaName = GetFacilityName(49);

    // Energy (30 made, 40 used), the description, then the progress: 50 %
    // is a bar 99 pixels long; a game master sees the sum.
    g_gmFlag = 1;
    Layout({{kSimHeadquarters, 0, 0}, {52, 8, 0, 1, 1000}, {55, 0, 8, 1, 0}, {55, 9, 9, 0, 0}});
    CRecordingCanvas page;
    CFacilityInfo::DrawPage(CFacilityInfo::kEnergyPage, *FirstOfType(52), page);
    EXPECT_EQ(page.log.Calls(), (std::vector<std::string>{
                                    Colors(197), Text(40, 415, "Energe Product 30"), Colors(119),
                                    Text(40, 435, "Energe Spend   40"), Text(40, 460, "Energe Reserve -25%"),
                                    Colors(197), Centered(130, 60, plantName), Text(40, 205, "First line\r"),
                                    Text(40, 230, "Second line"), Colors(197), Centered(130, 60, plantName),
                                    CCallLog::Call("FillRect", 43, 487, 142, 497, 197),
                                    Text(10, 500, "(1240 - 1000) * 100 / 480 = 50%"),
                                }));
    // The bar: x from 43 up to 43 + p x 199 / 100, exclusive.
    struct Bar {
        uint32_t time;
        int end;  // 0: no bar
    } bars[] = {{1000, 43}, {1240, 142}, {1480, 0}, {1479, 240}, {900, 43}};
    g_gmFlag = 0;
    for (const Bar& b : bars) {
        SetGameTime(b.time);
        CRecordingCanvas progress;
        CFacilityInfo::DrawProgressPage(*FirstOfType(52), progress);
        std::vector<std::string> want{Colors(197), Centered(130, 60, plantName)};
        if (b.end)
            want.push_back(CCallLog::Call("FillRect", 43, 487, b.end, 497, 197));
        EXPECT_EQ(progress.log.Calls(), want) << "time " << b.time;
    }

    // The reserve: truncated toward zero, 0 when nothing is made or used.
    struct Reserve {
        int64_t made, used, percent;
    } reserves[] = {{30, 40, -25}, {40, 30, 25}, {0, 0, 0}, {0, 7, -100}, {3, 0, 100}, {2, 3, -33}};
    for (const Reserve& r : reserves)
        EXPECT_EQ(CFacilityInfo::EnergyReserve(r.made, r.used), r.percent) << r.made << "/" << r.used;

    // The base page of a Power of Gaia (rule 9) with another one near and no
    // lava: the unique rule is tested before the lava rule, and only its
    // message shows. Costs the colony cannot pay are in the warning colour.
    Layout({{kSimHeadquarters, 0, 0}, {49, 8, 0, 0, 0}, {49, 30, 0, 0, 0}});
    CRecordingCanvas base;
    CFacilityInfo::DrawBasePage(*FirstOfType(49), base);
    EXPECT_EQ(base.log.Calls(), (std::vector<std::string>{
                                    Colors(197), Centered(130, 60, "Base"),
                                    Text(40, 205, "Facility under construct : " + gaiaName),
                                    Colors(119), Text(40, 220, "needed fund    : 100"),
                                    Colors(197), Text(40, 235, "       wood    : 5"),
                                    Colors(197), Text(40, 250, "       stone   : 0"),
                                    Colors(197), Text(40, 265, "       ore     : 0"),
                                    Colors(119), Text(40, 280, "       crystal : 7"),
                                    Colors(119), Text(40, 300, "Other " + gaiaName + " has been built."),
                                }));
    Layout({{kSimHeadquarters, 0, 0}, {kSimEmptyBase, 8, 0}});
    CRecordingCanvas empty;
    CFacilityInfo::DrawPage(CFacilityInfo::kBasePage, *FirstOfType(kSimEmptyBase), empty);
    EXPECT_EQ(empty.log.Calls(), (std::vector<std::string>{
                                     Colors(197), Centered(130, 60, "Base"),
                                     Text(40, 205, "You can build new facility if"),
                                     Text(40, 230, "insert techcube to above slot"),
                                 }));
    // A page number the types do not use draws nothing.
    CRecordingCanvas none;
    CFacilityInfo::DrawPage(4, *FirstOfType(kSimEmptyBase), none);
    EXPECT_TRUE(none.log.Calls().empty());
}

TEST(BtxText, LinesEndAtLineFeedsUpToTheHashOrTheEnd)
{
    const std::string longLine(300, 'x');
    // 36 ASCII bytes then a two-byte character that would end past 38: cut
    // before it, never through it.
    const std::string wide = std::string(37, 'a') + "\xB0\xA1" + "\n";
    struct Row {
        std::string file;
        std::vector<std::string> lines;
    } rows[] = {
        {"one\ntwo\n#three\n", {"one", "two"}},
        {"no hash\nat all\nlast", {"no hash", "at all"}},
        {"cr\r\n\n#", {"cr\r", ""}},
        {"#\n", {}},
        {"", {}},
        {longLine + "\nafter\n", {std::string(38, 'x'), "after"}},
        {wide, {std::string(37, 'a')}},
        {std::string(36, 'a') + "\xB0\xA1\n", {std::string(36, 'a') + "\xB0\xA1"}},
        {std::string(20, '\n'), std::vector<std::string>(16, "")},
        // A lead byte at the very end of a line is a byte of its own.
        {"ab\xB0\n", {"ab\xB0"}},
    };
    for (const Row& r : rows) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(r.file.data());
        EXPECT_EQ(CBtxText::Parse(bytes, r.file.size()), r.lines) << r.file.substr(0, 40);
    }
    EXPECT_TRUE(CBtxText::Parse(nullptr, 10).empty());
}

TEST_F(ColonyScreen, MissingDescriptionShowsOnlyTheNameAndProgress)
{
    // Type 31 names "Wood.btx", which the archive does not hold.
    Layout({{kSimHeadquarters, 0, 0}, {31, 8, 0, 1, 0}});
    SetGameTime(480);
    CRecordingCanvas page;
    CFacilityInfo::DrawDescriptionPage(*FirstOfType(31), page);
    const std::string name = GetFacilityName(31);
    EXPECT_EQ(page.log.Calls(),
              (std::vector<std::string>{Colors(197), Centered(130, 60, name), Colors(197), Centered(130, 60, name)}));
    EXPECT_TRUE(CBtxText::Load("Wood.btx").empty());
    EXPECT_TRUE(CBtxText::Load(nullptr).empty());
}
