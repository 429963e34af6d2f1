// One run-length coded picture: the base of the frames of every sprite set.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Blit.h"
#include "core/Layer.h"
#include "core/RleFrame.h"

class CByteReader;
class CRFile;

class CRleImage {
public:
    CRleImage() = default;
    virtual ~CRleImage() = default;
    CRleImage(const CRleImage&) = default;
    CRleImage& operator=(const CRleImage&) = default;

    virtual void Draw(int x, int y, const BlitTarget& target);
    virtual void DrawRemap(int x, int y, const BlitTarget& target, const uint8_t* table);
    virtual void DrawBlend(int x, int y, const BlitTarget& target, const uint8_t* table);
    // The two half-coverage draws.
    virtual void DrawStipple(int x, int y, const BlitTarget& target, uint32_t phase);
    virtual void DrawChecker(int x, int y, const BlitTarget& target, uint32_t phase);
    // Reads the image's record; 0, or -1 when it is short or damaged (the
    // image is then empty). A plain image has no record of its own.
    virtual int Read(CByteReader& r);
    virtual const RleRect* GetRect(int i) const;
    virtual const RlePoint* GetPoint(int i) const;
    // Reads the image from a whole archive entry; 0 or -1.
    int Load(const char* name);

    const RlePoint& GetHotSpot() const { return m_hotSpot; }
    const CSize& GetSize() const { return m_size; }
    const uint8_t* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    size_t GetDataSize() const { return m_data.size(); }
    // The frame's own width and height, from its data.
    uint32_t GetDataWidth() const { return RleFrameWidth(GetData(), GetDataSize()); }
    uint32_t GetDataHeight() const { return RleFrameHeight(GetData(), GetDataSize()); }

    // Takes data that already passed RleFrameValid.
    void SetData(std::vector<uint8_t> data) { m_data = std::move(data); }

protected:
    // Frame data of `size` bytes with one- or two-byte pixels; false (and no
    // data) when it is not a whole valid frame.
    bool ReadData(CByteReader& r, uint32_t size, int pixelBytes);

    RlePoint m_hotSpot;
    CSize m_size;
    std::vector<uint8_t> m_data;
};
