// A byte stream over a disk file (stdio); words high byte first.
#pragma once
#include <cstdio>

#include "core/DataStream.h"

class CFileStream : public CDataStream {
public:
    // fopen of path in mode; IsOpen is false when that fails.
    CFileStream(const char* path, const char* mode);
    ~CFileStream() override;
    CFileStream(const CFileStream&) = delete;
    CFileStream& operator=(const CFileStream&) = delete;

    void PutByte(uint8_t value) override;
    void PutWord(uint16_t value) override;
    void PutBytes(const uint8_t* data, int32_t n) override;
    int GetByte() override;
    uint8_t* GetBytes(uint8_t* dest, int32_t n) override;
    bool IsOpen() const override { return m_file != nullptr; }

private:
    std::FILE* m_file;
};
