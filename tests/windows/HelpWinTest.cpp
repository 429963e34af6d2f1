// The help pages' rows, and the help window's lazy loading and its search
// through the pages of an archive.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/ResFile.h"
#include "fixtures/HelpArchive.h"
#include "fixtures/WidgetSprites.h"
#include "ui/ListWidgetEx.h"
#include "windows/HelpPages.h"
#include "windows/HelpWin.h"

namespace {

std::vector<std::string> Rows(const std::string& page)
{
    std::vector<char> text(HelpPages::kTextSize, 'x');
    const size_t n =
        HelpPages::StorePage(reinterpret_cast<const uint8_t*>(page.data()), page.size(), text.data());
    EXPECT_EQ(text[n], '\n');
    EXPECT_EQ(text[n + 1], '\0');
    uint16_t starts[HelpPages::kMaxRows] = {};
    const int count = HelpPages::RowStarts(text.data(), n, starts);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.emplace_back(HelpPages::RowText(text.data(), n, starts[i]));
    return out;
}

TEST(HelpPages, RowsEndAtTheirLineFeedAndThePageAtItsFirstHash)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Rows("a\nb\n#c\nd\n"), (V{"a", "b"}));
    EXPECT_EQ(Rows("a\nb\n"), (V{"a", "b"})) << "a last line feed starts no row";
    EXPECT_EQ(Rows("a\n\nb"), (V{"a", "", "b"}));
    EXPECT_EQ(Rows("#a\n"), (V{""})) << "an empty page is one empty row";
    EXPECT_EQ(Rows("\xB0\xA1\n\xB0"), (V{"\xB0\xA1", "\xB0"}));
    // Without "#" the entry is read to 3839 bytes.
    const V capped = Rows(std::string(3838, 'a') + "bcd\n");
    ASSERT_EQ(capped.size(), 1u);
    EXPECT_EQ(capped[0], std::string(3838, 'a') + "b");
    // 128 rows at most.
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += std::to_string(i) + "\n";
    const V rows = Rows(many);
    ASSERT_EQ(rows.size(), 128u);
    EXPECT_EQ(rows.back(), "127");
}

CArchiveBuilder Archive(bool withPages)
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    CWidgetSprites::AddTo(b);
    CHelpArchive::AddWindowTo(b);
    if (withPages) {
        std::vector<std::string> move = CHelpArchive::Rows("move ", 20);
        move[2] = "top only";
        move[1] = "walk here";
        b.Add("Move.htx", CHelpArchive::Page(move));
        // Chat.htx is missing.
        std::vector<std::string> item = CHelpArchive::Rows("item ", 20);
        item[3] = "a sword, then walk";
        b.Add("Item.htx", CHelpArchive::Page(item));
        for (const char* name : {"Combat.htx", "Inform.htx", "Language.htx", "ETC.htx"})
            b.Add(name, CHelpArchive::Page({"nothing"}));
    }
    return b;
}

class HelpWin : public testing::Test {
protected:
    explicit HelpWin(bool withPages = true) : archive(Archive(withPages)) {}
    void SetUp() override
    {
        ResClearMissedNames();
        help.SetState(CWidget::kOpen);
        help.SetPos(*help.GetOpenPos());
        Draw();
    }
    void Draw() { help.Draw(screen.data()); }
    void Search(const char* word)
    {
        std::strcpy(help.GetText(), word);
        help.SubmitText();
    }
    std::string Row(int i) const
    {
        const char* text = help.GetList()->GetRow(i).text;
        return std::string(HelpPages::RowText(help.GetPageText(), help.GetPageSize(),
                                              static_cast<size_t>(text - help.GetPageText())));
    }
    // The file shown, its top row and the text of that row.
    std::string Shown() const
    {
        const int32_t top = help.GetList()->GetTopIndex();
        const std::string row = help.GetList()->GetRowCount() > top ? Row(top) : "-";
        return std::string(CHelpWin::kPages[static_cast<size_t>(help.GetPageIndex())].file) + " " +
               std::to_string(top) + " " + row;
    }

    CTestArchive archive;
    CHelpWin help;
    std::vector<uint8_t> screen = std::vector<uint8_t>(800 * 600);
};

TEST_F(HelpWin, SearchFindsTheNextRowHoldingTheWordThroughThePagesAndBackRound)
{
    // The first drawing shows "Move.htx".
    EXPECT_EQ(help.GetLoadedPage(), 9);
    EXPECT_EQ(help.GetList()->GetRowCount(), 20);
    EXPECT_EQ(Shown(), "Move.htx 0 move 0");

    // From the top row 2: "walk" is next in the Item page's row 3 (the Chat
    // page is missing); the row is on top.
    help.GetList()->SetTopIndex(2);
    Search("walk");
    EXPECT_EQ(Shown(), "Item.htx 3 a sword, then walk");
    EXPECT_EQ(ResMissedNames(), (std::vector<std::string>{"Chat.htx"}));
    // Again: on through the other pages and round to Move's row 1.
    Search("walk");
    EXPECT_EQ(Shown(), "Move.htx 1 walk here");

    // A word only in the top row: every other page once, then the start page
    // from its first row.
    help.GetList()->SetTopIndex(2);
    ResClearMissedNames();
    Search("top only");
    EXPECT_EQ(Shown(), "Move.htx 0 move 0");
    EXPECT_EQ(ResMissedNames(), (std::vector<std::string>{"Chat.htx"}));
    EXPECT_EQ(help.GetLoadedPage(), 9);

    // A row matches only within itself: "sword" is in Item's row 3, not in
    // the rows before it.
    Search("sword");
    EXPECT_EQ(Shown(), "Item.htx 3 a sword, then walk");
    // The text after the page's "#" is not part of it.
    Search("shown");
    EXPECT_EQ(Shown(), "Item.htx 0 item 0");
}

TEST_F(HelpWin, TopicButtonsLoadTheirPageOnceAndAMissingPageShowsNoRows)
{
    auto click = [&](int32_t x, int32_t y) {
        help.OnLButtonDown(528 + x + 2, y + 2);
        help.OnLButtonUp(528 + x + 2, y + 2);
        Draw();
    };
    help.GetList()->SetTopIndex(5);
    click(31, 285);  // the shown topic
    EXPECT_EQ(Shown(), "Move.htx 5 move 5") << "nothing was reloaded";
    click(157, 285);
    EXPECT_EQ(Shown(), "Item.htx 0 item 0");
    click(94, 285);
    EXPECT_EQ(help.GetLoadedPage(), 3);
    EXPECT_EQ(help.GetList()->GetRowCount(), 0);
    click(94, 285);
    EXPECT_EQ(ResMissedNames(), (std::vector<std::string>{"Chat.htx"}));
}

class HelpWinWithoutPages : public HelpWin {
protected:
    HelpWinWithoutPages() : HelpWin(false) {}
};

TEST_F(HelpWinWithoutPages, SearchEndsAfterEveryPageWasTried)
{
    EXPECT_EQ(help.GetList()->GetRowCount(), 0);
    ResClearMissedNames();
    Search("anything");
    EXPECT_EQ(ResMissedNames(), (std::vector<std::string>{"Chat.htx", "Item.htx", "Combat.htx", "Inform.htx",
                                                          "Language.htx", "ETC.htx", "Move.htx"}));
    EXPECT_EQ(help.GetPageIndex(), 0);
    EXPECT_EQ(help.GetList()->GetRowCount(), 0);
}

}  // namespace
