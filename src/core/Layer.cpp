#include "core/Layer.h"

#include "platform/Debug.h"

CLayer::~CLayer()
{
    QASSERT(m_groupRefs == 0);
}

void CLayer::GetSize(int32_t* w, int32_t* h)
{
    if (w)
        *w = m_width;
    if (h)
        *h = m_height;
}

int CLayer::SetSize(CSize size)
{
    m_width = size.cx;
    m_height = size.cy;
    return 1;
}

int CLayer::SetSize(int32_t w, int32_t h)
{
    m_width = w;
    m_height = h;
    return 1;
}
