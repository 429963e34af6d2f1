#include "core/GameString.h"

#include <array>
#include <cstring>
#include <new>

namespace {

constexpr int32_t kInitialCapacity = 8;
constexpr int kRingSize = 16;
// Doubling stays within int32_t.
constexpr size_t kMaxCapacity = size_t{1} << 30;

std::array<CGameString, kRingSize>& Ring()
{
    static std::array<CGameString, kRingSize> ring;
    return ring;
}
int g_ringIndex = 0;

}  // namespace

CGameString::CGameString() : m_text(new char[kInitialCapacity]), m_capacity(kInitialCapacity)
{
    m_text[0] = '\0';
}

CGameString::CGameString(const CGameString& other) : CGameString()
{
    AssignString(other);
}

CGameString& CGameString::operator=(const CGameString& other)
{
    AssignString(other);
    return *this;
}

CGameString::~CGameString()
{
    delete[] m_text;
}

int CGameString::GetLength() const
{
    return static_cast<int>(std::strlen(m_text));
}

char* CGameString::Grow(size_t len)
{
    if (len < static_cast<size_t>(m_capacity))
        return nullptr;
    if (len >= kMaxCapacity)
        throw std::bad_alloc();
    int32_t capacity = m_capacity;
    while (static_cast<size_t>(capacity) <= len)
        capacity *= 2;
    char* text = new char[static_cast<size_t>(capacity)];
    std::memcpy(text, m_text, std::strlen(m_text) + 1);
    char* old = m_text;
    m_text = text;
    m_capacity = capacity;
    return old;
}

void CGameString::Assign(const char* text)
{
    if (!text)
        text = "";
    size_t len = std::strlen(text);
    char* old = Grow(len);
    std::memmove(m_text, text, len + 1);
    delete[] old;
}

void CGameString::AssignString(const CGameString& other)
{
    Assign(other.m_text);
}

void CGameString::Append(const char* text)
{
    if (!text)
        return;
    size_t own = std::strlen(m_text);
    size_t len = std::strlen(text);
    char* old = Grow(own + len);
    std::memmove(m_text + own, text, len + 1);
    delete[] old;
}

void CGameString::AppendString(const CGameString& other)
{
    Append(other.m_text);
}

void CGameString::AppendChar(char c)
{
    size_t own = std::strlen(m_text);
    delete[] Grow(own + 1);
    m_text[own] = c;
    m_text[own + 1] = '\0';
}

int CGameString::CompareChars(const char* other) const
{
    if (!other)
        other = "";
    const auto* a = reinterpret_cast<const unsigned char*>(m_text);
    const auto* b = reinterpret_cast<const unsigned char*>(other);
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return static_cast<int>(*a) - static_cast<int>(*b);
}

void CGameString::MakeUpper()
{
    for (char* p = m_text; *p; ++p)
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - ('a' - 'A'));
}

void CGameString::MakeLower()
{
    for (char* p = m_text; *p; ++p)
        if (*p >= 'A' && *p <= 'Z')
            *p = static_cast<char>(*p + ('a' - 'A'));
}

const CGameString& CGameString::ConcatTemp(const CGameString& a, const CGameString& b)
{
    return ConcatTemp(a, b.m_text);
}

const CGameString& CGameString::ConcatTemp(const CGameString& a, const char* b)
{
    g_ringIndex = (g_ringIndex + 1) % kRingSize;
    CGameString& slot = Ring()[static_cast<size_t>(g_ringIndex)];
    // b may lie in the slot's own text (a result 16 concatenations old),
    // which assigning a overwrites or frees.
    const auto at = reinterpret_cast<uintptr_t>(b);
    const auto start = reinterpret_cast<uintptr_t>(slot.m_text);
    if (b && at >= start && at - start < static_cast<uintptr_t>(slot.m_capacity)) {
        CGameString copy;
        copy.Assign(b);
        slot.AssignString(a);
        slot.AppendString(copy);
    } else {
        slot.AssignString(a);
        slot.Append(b);
    }
    return slot;
}
