// The talk box's wrap of the NPC talk text.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "windows/TalkBoxWin.h"

namespace {

std::vector<std::string> Lines(const std::string& text, int* count)
{
    // Exactly the text's bytes: a read past them is caught under ASan.
    auto buf = std::make_unique<char[]>(text.size());
    std::memcpy(buf.get(), text.data(), text.size());
    TalkLines lines;
    std::memset(&lines, 'Z', sizeof lines);
    *count = WrapTalkText(buf.get(), text.size(), lines);
    std::vector<std::string> out;
    for (int i = 0; i < *count; ++i)
        out.emplace_back(lines[static_cast<size_t>(i)].data());
    for (int i = *count; i < kTalkLines; ++i)
        EXPECT_EQ(lines[static_cast<size_t>(i)][0], '\0') << "unused line " << i;
    return out;
}

TEST(TalkBoxWrap, LinesOfFortyTwoBytesWholeCharactersAndTenAtMost)
{
    const std::string a42(42, 'a'), a41(41, 'a'), han = "\xB0\xA1";
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } rows[] = {
        {std::string(1, '\0'), {""}},
        {"hello" + std::string(1, '\0') + "stale", {"hello"}},
        {a41 + '\0', {a41}},
        // The end is found at the start of the second line, which counts.
        {a42 + '\0', {a42, ""}},
        {a42 + "b" + '\0', {a42, "b"}},
        // A character from byte 41 stays whole: a line of 43 bytes.
        {a41 + han + "b" + '\0', {a41 + han, "b"}},
        {std::string(40, 'a') + han + "bc" + '\0', {std::string(40, 'a') + han, "bc"}},
        // One leading blank is dropped, at the text's start and a line's.
        {"  x" + std::string(1, '\0'), {" x"}},
        {a42 + " next" + '\0', {a42, "next"}},
        // A lone lead byte ends the text before it, whatever follows.
        {"ab\xB0" + std::string(1, '\0') + "stale", {"ab"}},
        {"ab\xB0", {"ab"}},
        {a42 + "\xB0", {a42, ""}},
        // Without a terminator the text ends with its buffer.
        {"abc", {"abc"}},
    };
    for (const auto& r : rows) {
        int count = 0;
        EXPECT_EQ(Lines(r.text, &count), r.lines) << r.text;
    }

    // 43-byte lines of characters, and more text than ten lines hold.
    std::string long1;
    for (int i = 0; i < 300; ++i)
        long1 += han;
    int count = 0;
    const auto cut = Lines(long1 + '\0', &count);
    ASSERT_EQ(count, kTalkLines);
    for (const auto& line : cut)
        EXPECT_EQ(line.size(), 42u);
    const auto cut2 = Lines(std::string(1024, 'x'), &count);
    ASSERT_EQ(count, kTalkLines);
    EXPECT_EQ(cut2[9], std::string(42, 'x'));
}

}  // namespace
