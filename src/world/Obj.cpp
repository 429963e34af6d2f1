#include "world/Obj.h"

#include <algorithm>
#include <cstring>

#include "world/BGLayer.h"
#include "world/ObjLayer.h"
#include "world/TileGeometry.h"

void CObj::RemoveFromMap()
{
    if (m_active)
        SetOnGrid(0);
    m_active = 0;
    m_alive = 0;
}

std::string_view CObj::GetName() const
{
    size_t len = 0;
    while (len < kNameSize && m_name[len] != '\0')
        ++len;
    return {m_name, len};
}

void CObj::Place(CObjLayer* layer, std::string_view name, int x, int y)
{
    m_pLayer = layer;
    std::memset(m_name, 0, sizeof m_name);
    std::memcpy(m_name, name.data(), std::min(name.size(), kNameSize - 1));
    m_tileX = x;
    m_tileY = y;
    CBGLayer::TileToPixel(x, y, m_pixelX, m_pixelY);
    m_pixelX += CBGLayer::kTileWidth / 2;
    m_pixelY += CBGLayer::kTileHeight / 2;
}

int CObj::TraceLine(int x0, int y0, int x1, int y1, int* outX, int* outY) const
{
    const CObjLayer* layer = m_pLayer;
    return ::TraceLine(x0, y0, x1, y1, outX, outY,
                       [layer](int x, int y) { return layer && layer->GetObjectCell(x, y) != kCellEmpty; });
}
