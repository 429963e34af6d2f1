#include "ui/WidgetGlobals.h"

#include "ui/AbilityList.h"
#include "ui/FieldView.h"
#include "ui/FloatTextList.h"
#include "ui/InputFocus.h"
#include "ui/MessageRing.h"
#include "ui/MyCharacterView.h"
#include "ui/NoticeList.h"
#include "ui/Widget.h"

void ResetWidgetGlobals()
{
    ResetMessageRing();
    g_floatTexts.Clear();
    g_noticeList.Clear();
    g_inputFocus.Reset();
    SetFieldViewRight(800);
    g_uiFrameTicks = 0;
    SetMyAbilitySet(nullptr);
    ForgetAbilityRankNames();
}
