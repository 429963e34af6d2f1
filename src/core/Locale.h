// The language switch: Korean texts only for the Korean locale value.
#pragma once

// True unless the locale value is "00000412"; read on every call.
bool IsNonKoreanLocale();
