#include "colony/TaxRateWin.h"

CTaxRateWin::CTaxRateWin() : CColonyPanel(kId, "data\\TaxRate.slr", 0) { SetLinkedIds(nullptr, 0); }

void CTaxRateWin::Refresh()
{
    RefreshPicture([](CInfoCanvas& c) {
        c.DrawText(50, 200, "Import  : 500");
        c.DrawText(50, 220, "Export  : 550");
        c.DrawText(50, 240, "Total   : -50");
    });
}
