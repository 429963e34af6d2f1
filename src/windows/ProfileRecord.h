// The profile the profile window shows: the character's id, portrait, game
// year, name, record text and the three profile lines. The player's own
// lines are kept in "Profile.sav", three lines each ended by a line feed, in
// the player's data directory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

struct ProfileRecord {
    static constexpr size_t kSize = 140;
    static constexpr size_t kYearSize = 5;
    static constexpr size_t kNameSize = 20;
    static constexpr size_t kTextSize = 20;
    static constexpr size_t kLineSize = 30;
    static constexpr int kLines = 3;
    // The bytes a line of the file keeps.
    static constexpr size_t kLineKept = kLineSize - 1;
    static constexpr const char* kFileName = "Profile.sav";

    uint32_t charId = 0;
    // The class value; the window draws portrait frame 2 x index.
    uint8_t portrait = 0;
    char year[kYearSize] = {};
    char name[kNameSize] = {};
    char text[kTextSize] = {};
    char lines[kLines][kLineSize] = {};

    // The game year as its decimal text.
    void SetYear(int gameYear);
    // The player's own profile: id, class, year, name and record text from
    // the player's record, the lines from "Profile.sav" (empty without one).
    void LoadProfile();
    // Another character's: the id, and the class and name when the field
    // holds that character; the year and text are emptied, the lines kept.
    void FillProfileFromCharacter(uint32_t id);
    // Writes the lines to "Profile.sav", only for the player's own profile;
    // false when nothing was written.
    bool SaveProfile() const;

    // The lines from a file's bytes: each line read whole, a carriage
    // return before its line feed dropped, at most kLineKept bytes of it
    // kept (never half a double-byte character); a missing line is empty.
    void ParseLines(const uint8_t* data, size_t size);
    // The three lines as the file holds them.
    std::string FormatLines() const;
    void Clear() { *this = ProfileRecord{}; }
};

extern ProfileRecord g_profileRecord;

// Where the player's "Profile.sav" is written (the data directory).
std::string ProfileSavPath();
