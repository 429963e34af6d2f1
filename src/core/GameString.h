// The game's own growable byte string: NUL-terminated text (CP949 or ASCII)
// in an owned buffer whose capacity starts at 8 and only ever doubles.
#pragma once
#include <cstddef>
#include <cstdint>

class CGameString {
public:
    CGameString();
    CGameString(const CGameString& other);
    CGameString& operator=(const CGameString& other);
    ~CGameString();

    const char* GetString() const { return m_text; }
    int GetLength() const;
    int GetCapacity() const { return m_capacity; }

    // Copies text (null: empty). text may point into this string.
    void Assign(const char* text);
    void AssignString(const CGameString& other);
    // Appends text; text may point into this string, also when it grows.
    void Append(const char* text);
    void AppendString(const CGameString& other);
    void AppendChar(char c);

    // Own byte minus other byte (unsigned) where they first differ or own
    // text ends; 0 when equal.
    int CompareChars(const char* other) const;
    int CompareChars(const CGameString& other) const { return CompareChars(other.m_text); }
    bool operator==(const char* other) const { return CompareChars(other) == 0; }

    // ASCII letters only; double-byte characters stay untouched.
    void MakeUpper();
    void MakeLower();

    // a followed by b, held in a ring of 16 temporaries: the result stays
    // valid until 16 further concatenations; copy it to keep it.
    static const CGameString& ConcatTemp(const CGameString& a, const CGameString& b);
    static const CGameString& ConcatTemp(const CGameString& a, const char* b);

private:
    // Makes room for a text of len bytes, keeping the current text; the old
    // buffer is freed only after the copy, so sources inside it stay valid
    // until the caller has copied them (it returns the old buffer).
    char* Grow(size_t len);

    char* m_text;
    int32_t m_capacity;
};
