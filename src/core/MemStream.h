// A byte stream over a block of memory (not owned); words in the machine's
// little-endian order. Reads and writes stop at the block's end.
#pragma once
#include <cstddef>

#include "core/DataStream.h"

class CMemStream : public CDataStream {
public:
    CMemStream(uint8_t* data, size_t size) : m_pos(data), m_end(data + size) {}

    void PutByte(uint8_t value) override;
    void PutWord(uint16_t value) override;
    void PutBytes(const uint8_t* data, int32_t n) override;
    int GetByte() override;
    int GetWord() override;
    uint8_t* GetBytes(uint8_t* dest, int32_t n) override;

    const uint8_t* Position() const { return m_pos; }

private:
    size_t Left() const { return static_cast<size_t>(m_end - m_pos); }

    uint8_t* m_pos;
    uint8_t* m_end;
};
