// The profile window (26): the character of the profile record (the player
// or another character) with portrait, name, year, record text, death-match
// counts and the profile text box (27); buttons to invite, join, challenge,
// accept and trade; and a whisper line to that character.
#pragma once
#include <array>
#include <cstdint>

#include "colony/ProfileTextView.h"
#include "core/SlrList.h"
#include "ui/EditWidget.h"

class CProfileList;
struct CharacterRecord;

class CProfileWin : public CEditWidget, public IProfileTextView {
public:
    static constexpr int32_t kId = 26;
    static constexpr int32_t kTextBoxId = 27;
    static constexpr int32_t kPortraitId = 34;
    // Bytes of the profile text the server takes, with its terminator.
    static constexpr size_t kSentText = 100;

    CProfileWin();
    ~CProfileWin() override;

    void SetState(int32_t state) override;
    void Draw(uint8_t* surface) override;
    void Refresh() override;
    void SubmitText() override;
    int OnChatMessage(const uint8_t* record, size_t size) override;
    void GetInputPos(CPoint* out) override;
    int32_t OnEscape() override;

    // The colony's greeting for the shown character goes into the box.
    void SetProfileText(const char* text) override;

    // The shown character's record: mine, or the field's character; null
    // when the field does not hold it.
    static const CharacterRecord* ShownRecord();
    static bool ShowsMe();

private:
    // What Refresh drew from, to redraw once the counts arrive.
    std::array<int32_t, 5> Shown() const;

    CSlrList m_faces;
    bool m_facesTried = false;
    CProfileList* m_textBox = nullptr;
    std::array<int32_t, 5> m_drawn{};
};
