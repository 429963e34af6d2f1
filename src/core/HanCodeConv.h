// Conversion of Korean text between CP949 (the system's code: dialogs, the
// string table, what the server stores) and Johab (the code the game's own
// fonts compose syllables from). Covers all 11,172 modern syllables; every
// other byte and code passes through unchanged.
#pragma once

class CHanCodeConv {
public:
    // Convert a NUL-terminated text; src and dst may be the same buffer.
    // dst needs strlen(src) + 1 bytes: every character keeps its width. A
    // lead byte right before the NUL is copied as it is. Returns dst.
    static char* CP949ToJohab(const char* src, char* dst);
    static char* JohabToCP949(const char* src, char* dst);

    // True when the last character of the CP949 text is a Hangul syllable
    // with a final consonant (which picks the particle after a name).
    static bool HasFinalConsonant(const char* text);
};
