// A byte stream: the script loader reads compiled scripts through one.
// Words are two bytes; their order is the implementation's (high byte first
// in files and archive entries, little-endian in memory).
#pragma once
#include <cstdint>

class CDataStream {
public:
    virtual ~CDataStream() = default;
    virtual void PutByte(uint8_t value) = 0;
    virtual void PutWord(uint16_t value) = 0;
    virtual void PutBytes(const uint8_t* data, int32_t n) = 0;
    // 0..255, or -1 at the end.
    virtual int GetByte() = 0;
    // 0..65535, or -1 when either byte is past the end. High byte first
    // unless a stream says otherwise.
    virtual int GetWord()
    {
        const int hi = GetByte();
        if (hi < 0)
            return -1;
        const int lo = GetByte();
        if (lo < 0)
            return -1;
        return (hi << 8) | lo;
    }
    // Reads up to n bytes, stopping at the end; returns dest advanced past
    // the last byte stored.
    virtual uint8_t* GetBytes(uint8_t* dest, int32_t n) = 0;
    virtual bool IsOpen() const { return true; }
};
