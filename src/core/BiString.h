// A Korean/English pair of texts; the language switch picks one at each use.
// Owns nothing: both halves are string literals.
#pragma once
#include <cstddef>

class CBiString {
public:
    // From one literal "korean\0english": the English half follows the first
    // NUL; a literal without one has an empty English half.
    template <size_t N>
    explicit CBiString(const char (&literal)[N]) : m_english(literal + N - 1), m_korean(literal)
    {
        for (size_t i = 0; i + 1 < N; ++i) {
            if (literal[i] == '\0') {
                m_english = literal + i + 1;
                break;
            }
        }
    }
    CBiString(const char* korean, const char* english) : m_english(english), m_korean(korean) {}

    // The English text unless the user's locale is Korean.
    const char* Get() const;

    const char* m_english;
    const char* m_korean;
};
