// Where the receive framing takes its bytes from: the main socket, or an
// in-memory stream in tests.
#pragma once

class IByteSource {
public:
    virtual ~IByteSource() = default;
    // Copies up to len bytes and stores the count in len: the count, 0 when
    // nothing is waiting, -1 when the stream is closed and drained.
    virtual int Read(void* dst, int& len) = 0;
};
