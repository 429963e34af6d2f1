// A read-only byte stream over one archive entry; words high byte first.
// The end of the entry is the end of the stream.
#pragma once
#include "core/DataStream.h"

class CResStream : public CDataStream {
public:
    // Opens the entry (its cursor is reset); IsOpen is false when absent.
    explicit CResStream(const char* name);
    ~CResStream() override;
    CResStream(const CResStream&) = delete;
    CResStream& operator=(const CResStream&) = delete;

    // The stream is read-only: puts write nothing.
    void PutByte(uint8_t) override {}
    void PutWord(uint16_t) override {}
    void PutBytes(const uint8_t*, int32_t) override {}
    int GetByte() override;
    uint8_t* GetBytes(uint8_t* dest, int32_t n) override;
    bool IsOpen() const override { return m_handle != -1; }

private:
    int m_handle;
};
