#include "core/BiString.h"

#include "core/Locale.h"

const char* CBiString::Get() const
{
    return IsNonKoreanLocale() ? m_english : m_korean;
}
