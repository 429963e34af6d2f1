// The base of everything placed on the field map: a name, a cell and the
// world pixel of its foot point, the pool-slot and living flags, the kind,
// and the object layer whose pools and grids hold it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "world/ObjHandle.h"

class CObjLayer;

class CObj {
public:
    enum Kind : int32_t {
        kindCharacter = 0,
        kindCreatureAlt = 1,
        kindCreature = 2,
        kindNpc = 3,
        kindStructure = 4,
        kindObj = 7,
    };
    static constexpr size_t kNameSize = 32;

    CObj() = default;
    virtual ~CObj() = default;
    CObj(const CObj&) = delete;
    CObj& operator=(const CObj&) = delete;

    // Off the grids (when on the map); the slot is free again.
    virtual void RemoveFromMap();
    virtual void Update() {}
    virtual void SetOnGrid(int /*on*/) {}

    int IsActive() const { return m_active; }
    int IsAlive() const { return m_alive; }
    int GetKind() const { return m_kind; }
    int GetTileX() const { return m_tileX; }
    int GetTileY() const { return m_tileY; }
    int GetPixelX() const { return m_pixelX; }
    int GetPixelY() const { return m_pixelY; }
    std::string_view GetName() const;
    CObjLayer* GetLayer() const { return m_pLayer; }
    // The tile line from (x0, y0) toward (x1, y1) over the object grid: 1
    // when no cell before the target holds an object (out = the cell before
    // the target), 0 at the first that does (out = the cell before it).
    int TraceLine(int x0, int y0, int x1, int y1, int* outX, int* outY) const;
    // The handle the grids hold for this object; given once by its pool.
    ObjHandle GetHandle() const { return m_handle; }
    void SetHandle(ObjHandle h) { m_handle = h; }

protected:
    // Name (cut to 31 bytes), cell and the pixel at the cell's centre.
    void Place(CObjLayer* layer, std::string_view name, int x, int y);

    char m_name[kNameSize] = {};
    int32_t m_tileX = 0;
    int32_t m_tileY = 0;
    int32_t m_pixelX = 0;
    int32_t m_pixelY = 0;
    int32_t m_animation = -1;
    int32_t m_active = 0;
    int32_t m_alive = 0;
    int32_t m_kind = kindObj;
    CObjLayer* m_pLayer = nullptr;
    ObjHandle m_handle = kCellEmpty;
};
