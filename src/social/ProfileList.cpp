#include "social/ProfileList.h"

#include "windows/PlayerInfo.h"
#include "windows/ProfileRecord.h"

int CProfileList::OnLButtonDown(int32_t x, int32_t y)
{
    if (g_profileRecord.charId != g_playerInfo.GetCharId())
        return 0;
    return CInputBox::OnLButtonDown(x, y);
}
