#include "core/Locale.h"

#include "platform/Settings.h"

bool IsNonKoreanLocale()
{
    return plat::LocaleValue() != "00000412";
}
