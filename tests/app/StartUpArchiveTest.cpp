#include <gtest/gtest.h>

#include "app/QuillonApp.h"
#include "core/ResFile.h"
#include "fixtures/ArchiveBuilder.h"
#include "support/Harness.h"

TEST(StartUpArchive, OpensBothArchivesBeforeTheFrame)
{
    CHarness h;
    ASSERT_TRUE(h.Start());
    EXPECT_GE(ResBindOpen("item.obr"), 0);
    EXPECT_GE(ResOpen("insult.txt"), 0);
    EXPECT_TRUE(h.Boxes().empty());
}

TEST(StartUpArchive, MissingArchiveEndsWithAnError)
{
    CTestArchive archive(Bytes{}, false);
    CHarness h;
    EXPECT_FALSE(h.Start());
    EXPECT_NE(theApp.m_startExitCode, 0);
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].caption, "Error~");
    EXPECT_EQ(h.Boxes()[0].text, "Data file not found!");
    theApp.m_startExitCode = 0;
}

TEST(StartUpArchive, DamagedNestedArchiveEndsWithAnError)
{
    CArchiveBuilder b = CArchiveBuilder::MinimalGame();
    b.Nested().Damage().badIndexMagic = true;
    CTestArchive archive(b, false);
    CHarness h;
    EXPECT_FALSE(h.Start());
    EXPECT_NE(theApp.m_startExitCode, 0);
    ASSERT_EQ(h.Boxes().size(), 1u);
    EXPECT_EQ(h.Boxes()[0].text, "Bind Data file not found!");
    theApp.m_startExitCode = 0;
}
