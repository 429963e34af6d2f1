#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/MouseState.h"
#include "core/Blit.h"
#include "core/HanCodeConv.h"
#include "core/TextLayer.h"
#include "fixtures/FontBuilder.h"

namespace {

constexpr uint8_t kInsert = 82, kDelete = 83, kBackspace = 14, kLeft = 75, kRight = 77, kHome = 71, kEnd = 79,
                  kTab = 15, kCtrl = 29, kShift = 42, kUp = 72;

// A Johab syllable from its fields, as two bytes lead first.
std::string J(int i5, int m5, int f5)
{
    const int code = 0x8000 | (i5 << 10) | (m5 << 5) | f5;
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

std::string ToJohab(const char* cp949)
{
    std::string out(std::strlen(cp949) + 1, '\0');
    CHanCodeConv::CP949ToJohab(cp949, out.data());
    out.resize(std::strlen(out.c_str()));
    return out;
}

class EditLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetInputState();
        Use(255);
    }
    void TearDown() override
    {
        ResetInputState();
        ResetBlitContexts();
    }

    // A heap block of exactly the given capacity, so ASan sees an overrun.
    void Use(int capacity, int maximum = -1)
    {
        buffer = std::make_unique<char[]>(static_cast<size_t>(capacity));
        std::memset(buffer.get(), 0x5A, static_cast<size_t>(capacity));
        cap = capacity;
        edit = std::make_unique<CTextLayer>(nullptr);
        edit->SetInputText(buffer.get(), capacity);
        edit->BeginInput(10, 20, maximum < 0 ? capacity : maximum);
    }
    void Type(const std::string& keys)
    {
        for (char c : keys) {
            const bool upper = c >= 'A' && c <= 'Z';
            g_keyState[kShift] = upper ? 1 : 0;
            edit->OnEditChar(static_cast<uint8_t>(c));
        }
        g_keyState[kShift] = 0;
    }
    // One press and release of an editing key.
    int Press(uint8_t scan)
    {
        g_keyState[scan] = 1;
        g_lastKey = scan;
        const int r = edit->HandleEditKeys();
        g_keyState[scan] = 0;
        g_lastKey = 0;
        edit->HandleEditKeys();
        return r;
    }
    void Latin()
    {
        if (edit->IsHangulMode()) {
            edit->RequestModeSwitch();
            edit->OnEditChar(1);
        }
    }
    void Hangul()
    {
        if (!edit->IsHangulMode()) {
            edit->RequestModeSwitch();
            edit->OnEditChar(1);
        }
    }
    std::string Text() const { return std::string(buffer.get(), static_cast<size_t>(edit->GetInputLength())); }
    void ExpectSane()
    {
        ASSERT_LE(edit->GetInputLength(), cap - 1);
        ASSERT_LE(edit->GetCursor(), edit->GetInputLength());
        ASSERT_EQ(buffer[edit->GetInputLength()], '\0');
        ASSERT_EQ(std::strlen(buffer.get()), static_cast<size_t>(edit->GetInputLength()));
    }

    std::unique_ptr<CTextLayer> edit;
    std::unique_ptr<char[]> buffer;
    int cap = 0;
};

}  // namespace

TEST_F(EditLineTest, ComposesSyllablesOnTheTwoSetLayout)
{
    Type("gks");
    EXPECT_EQ(Text(), ToJohab("한"));
    EXPECT_EQ(Text(), "\xD0\x65");
    Type("k");  // the final moves on
    EXPECT_EQ(Text(), ToJohab("하나"));

    edit->ClearInput();
    Type("gkrt");  // ㄱ + ㅅ: a compound final
    EXPECT_EQ(Text(), J(20, 3, 4));
    Type("k");  // and a vowel splits it
    EXPECT_EQ(Text(), ToJohab("학사"));

    edit->ClearInput();
    Type("Rk");  // Shift+r
    EXPECT_EQ(Text(), ToJohab("까"));
    edit->ClearInput();
    Type("rrk");
    EXPECT_EQ(Text(), ToJohab("까"));

    edit->ClearInput();
    Type("dhkddnjs dmlqjs QKfr");
    EXPECT_EQ(Text(), ToJohab("왕원 의번 빩"));

    edit->ClearInput();
    Type("dkfrk");  // ㄺ splits: 알가
    EXPECT_EQ(Text(), ToJohab("알가"));
    edit->ClearInput();
    Type("dkE");  // ㄸ cannot end a syllable
    EXPECT_EQ(Text(), ToJohab("아") + J(6, 2, 1));
    edit->ClearInput();
    Type("k");  // a vowel alone gets the fill initial
    EXPECT_EQ(Text(), J(1, 3, 1));
    Type("l");
    EXPECT_EQ(Text(), J(1, 4, 1));  // ㅏ + ㅣ = ㅐ
    Type("Gk1");
    EXPECT_EQ(Text(), J(1, 4, 1) + ToJohab("하") + "1");
    EXPECT_EQ(edit->GetComposeState(), 0);
}

TEST_F(EditLineTest, BackspaceUndoesOneJamo)
{
    Latin();
    Type("ab");
    Press(kHome);
    Hangul();
    Type("gks");
    EXPECT_EQ(Text(), ToJohab("한") + "ab");
    Press(kBackspace);
    EXPECT_EQ(Text(), ToJohab("하") + "ab");
    Press(kBackspace);
    EXPECT_EQ(Text(), J(20, 2, 1) + "ab");
    Press(kBackspace);
    EXPECT_EQ(Text(), "ab");
    EXPECT_EQ(edit->GetCursor(), 0);

    // After a commit Backspace removes whole characters.
    edit->ClearInput();
    Type("gks1");
    Press(kBackspace);
    Press(kBackspace);
    EXPECT_EQ(Text(), "");
    ExpectSane();
}

TEST_F(EditLineTest, ModeSwitchAndKeysCommit)
{
    Type("gk");
    edit->RequestModeSwitch();
    Type("s");
    EXPECT_FALSE(edit->IsHangulMode());
    EXPECT_EQ(Text(), ToJohab("하") + "s");
    edit->RequestModeSwitch();
    Type("S");
    EXPECT_EQ(Text(), ToJohab("하") + "s" + J(4, 2, 1));

    edit->ClearInput();
    Type("gks");
    Press(kLeft);  // commits, then moves before the syllable
    EXPECT_EQ(edit->GetCursor(), 0);
    Press(kEnd);
    Type("k");     // nothing composes across a commit
    EXPECT_EQ(Text(), ToJohab("한") + J(1, 3, 1));
}

TEST_F(EditLineTest, EditingKeysActOncePerPress)
{
    Latin();
    Type("abc");
    g_keyState[kBackspace] = 1;
    g_lastKey = kBackspace;
    EXPECT_EQ(edit->HandleEditKeys(), 1);
    EXPECT_EQ(edit->HandleEditKeys(), 1);  // still held: consumed, no action
    edit->OnEditChar(8);                   // the key's own character
    EXPECT_EQ(Text(), "ab");
    g_keyState[kBackspace] = 0;
    g_lastKey = 0;
    EXPECT_EQ(edit->HandleEditKeys(), 0);
    Press(kBackspace);
    EXPECT_EQ(Text(), "a");

    EXPECT_EQ(Press(kUp), 1);  // swallowed
    EXPECT_EQ(Text(), "a");

    // Tab pads with blanks to the next multiple of 8; with Ctrl it is a hot key.
    EXPECT_EQ(Press(kTab), 1);
    EXPECT_EQ(Text(), "a       ");
    g_keyState[kCtrl] = 1;
    EXPECT_EQ(Press(kTab), 0);
    g_keyState[kCtrl] = 0;
    EXPECT_EQ(Text(), "a       ");
    g_keyState[kTab] = 1;
    g_lastKey = kTab;
    EXPECT_EQ(edit->HandleEditTab(), 1);
    g_keyState[kTab] = 0;
    g_lastKey = 0;
    EXPECT_EQ(edit->HandleEditTab(), 0);
}

TEST_F(EditLineTest, NeverWritesPastTheMaximumOrTheBuffer)
{
    for (int insert = 0; insert < 2; ++insert) {
        for (int hangul = 0; hangul < 2; ++hangul) {
            for (int capacity : {1, 2, 3, 8, 9}) {
                SCOPED_TRACE(testing::Message() << "insert " << insert << " hangul " << hangul << " cap " << capacity);
                Use(capacity);
                if (edit->IsInsertMode() != (insert != 0))
                    Press(kInsert);
                if (hangul)
                    Hangul();
                else
                    Latin();
                for (int round = 0; round < 3; ++round) {
                    Type("gksrmfdlwkqnxl12{}~");
                    ExpectSane();
                    EXPECT_LE(edit->GetInputLength(), capacity - 1);
                    Press(kLeft);
                    Press(kLeft);
                    Type("Rkrt9");
                    ExpectSane();
                    Press(kHome);
                    Type("tkfkd");
                    ExpectSane();
                    Press(kTab);
                    ExpectSane();
                    Press(kEnd);
                }
            }
        }
    }

    // A maximum beyond the buffer is cut to it.
    Use(8, 300);
    EXPECT_EQ(edit->GetMaxLength(), 7);
    Latin();
    Type("abcdefghij");
    EXPECT_EQ(Text(), "abcdefg");
    ExpectSane();

    // A syllable that no longer fits is not started; a letter still fits.
    Use(8);
    Type("gkgkgkgk");  // the last ㅎ cannot move on: no room for a fourth syllable
    EXPECT_EQ(Text(), ToJohab("하하핳"));
    Latin();
    Type("x");
    EXPECT_EQ(Text(), ToJohab("하하핳") + "x");
    ExpectSane();
}

TEST_F(EditLineTest, CharacterBoundariesComeFromTheStart)
{
    // 개 + b is 88 81 62: the 0x81 is a trail byte, not a lead.
    char gaeb[] = "\x88\x81" "b";
    Use(16);
    std::memcpy(buffer.get(), gaeb, sizeof gaeb);
    edit->SetInputText(buffer.get(), 16);
    Press(kBackspace);
    EXPECT_EQ(Text(), "\x88\x81");
    Latin();
    Type("b");
    Press(kLeft);
    EXPECT_EQ(edit->GetCursor(), 2);
    Press(kLeft);
    EXPECT_EQ(edit->GetCursor(), 0);
    Press(kDelete);
    EXPECT_EQ(Text(), "b");
    Press(kRight);
    EXPECT_EQ(edit->GetCursor(), 1);
    ExpectSane();

    // '{' and '~' are one byte everywhere.
    edit->ClearInput();
    Type("a{b~");
    Press(kLeft);
    Press(kLeft);
    EXPECT_EQ(edit->GetCursor(), 2);
    Press(kLeft);
    Press(kDelete);
    EXPECT_EQ(Text(), "ab~");
    Press(kEnd);
    Press(kBackspace);
    EXPECT_EQ(Text(), "ab");
    ExpectSane();

    // Overwriting the first byte of a syllable leaves a blank for its second.
    edit->ClearInput();
    Hangul();
    Type("gks");
    Latin();
    Type("a");
    Press(kHome);
    Press(kInsert);
    Type("x");
    EXPECT_EQ(Text(), "x a");
    ExpectSane();
}

TEST_F(EditLineTest, SetInputTextIsBoundedByTheCapacity)
{
    auto raw = std::make_unique<char[]>(6);
    std::memset(raw.get(), 'q', 6);  // no NUL at all
    edit->SetInputText(raw.get(), 6);
    EXPECT_EQ(edit->GetInputLength(), 5);
    EXPECT_EQ(raw[5], '\0');

    // BeginInputWithText keeps the text; BeginInput on an inactive line clears it.
    CTextLayer other(nullptr);  // never started
    char text[32] = "hello";
    other.SetInputText(text);
    other.BeginInputWithText(0, 0, 32);
    EXPECT_EQ(other.GetInputLength(), 5);
    EXPECT_EQ(other.GetCursor(), 5);
    EXPECT_FALSE(other.IsInputActive());
    other.BeginInput(0, 0, 32);
    EXPECT_TRUE(other.IsInputActive());
    EXPECT_EQ(other.GetInputLength(), 0);
    EXPECT_EQ(text[0], '\0');
}

TEST_F(EditLineTest, DrawsCursorTextAndPasswordStars)
{
    const Bytes han = CFontBuilder::HangulFont();
    const Bytes eng = CFontBuilder::EnglishFont();
    ASSERT_TRUE(edit->SetFontData(han.data(), han.size(), eng.data(), eng.size()));
    std::vector<uint8_t> screen(400 * 60, 0);
    edit->SetColor(0);
    edit->SetColors(15, 255);

    // Neighbouring 8-pixel cells overlap by 2: columns 2..5 of a cell are its own.
    auto starsDrawn = [&]() {
        int n = 0;
        for (int i = 0; i < 60; ++i) {
            const uint8_t* row1 = screen.data() + 21 * 400 + 10 + i * 6;
            const bool star = row1[2] == 15 && row1[3] == 0 && row1[4] == 15 && row1[5] == 0 &&
                              screen[20 * 400 + 10 + i * 6 + 3] == 15;  // '*' is 0x2A; row 0 a bar
            if (!star)
                break;
            ++n;
        }
        return n;
    };
    Latin();
    for (int len : {0, 1, 10, 11, 40}) {
        edit->ClearInput();
        Type(std::string(static_cast<size_t>(len), 'p'));
        std::fill(screen.begin(), screen.end(), 0);
        edit->SetTarget(screen.data(), 400, 60);
        edit->DrawPasswordLine();
        EXPECT_EQ(starsDrawn(), len);
    }

    // The cursor shows for 10 frames of every 20: an underline in insert mode.
    edit->ClearInput();
    Type("ab");
    int shown = 0;
    for (int frame = 0; frame < 40; ++frame) {
        std::fill(screen.begin(), screen.end(), 0);
        edit->DrawEditLine();
        const bool on = screen[(20 + 15) * 400 + 10 + 2 * 6] == 15;
        shown += on;
        EXPECT_EQ(screen[(20 + 13) * 400 + 10 + 2 * 6], 0);
        uint16_t rows[16];
        CFontBuilder::ReadCell(screen.data(), 400, 16, 20, 8, 15, rows);
        EXPECT_EQ(CFontBuilder::DecodeAscii(rows), 'b');
    }
    EXPECT_EQ(shown, 20);

    // Over a syllable in overwrite mode: a box 12 wide and 14 high.
    edit->ClearInput();
    Hangul();
    Type("gk");
    Press(kInsert);
    Press(kHome);
    for (int frame = 0; frame < 20; ++frame) {
        std::fill(screen.begin(), screen.end(), 0);
        edit->DrawEditLine();
        if (screen[(20 + 13) * 400 + 10 + 11] == 15)
            break;
    }
    EXPECT_EQ(screen[(20 + 13) * 400 + 10 + 11], 15);
    EXPECT_EQ(screen[(20 + 14) * 400 + 10 + 11], 0);
    EXPECT_NE(screen[(20 + 13) * 400 + 10 + 12], 15);
}
