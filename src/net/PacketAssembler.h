// The receive framing of the game connection: a packet is a command byte, a
// fixed part whose length the command gives and a tail whose length follows
// from the fixed part. The assembler cuts the byte stream into packets, one
// per call, and resumes exactly where a short read left it.
#pragma once
#include <array>
#include <cstdint>

#include "net/ByteSource.h"

// The largest packet the client accepts; a longer one is a protocol error.
constexpr int kPacketBufferSize = 10000;

// The fixed length after the command byte, or -1 for a command the framing
// does not accept.
int PacketFixedLength(int command);
// The tail length from a packet whose command byte and fixed part are in
// packet; -1 for a selector the protocol does not know.
int PacketTailLength(const uint8_t* packet);
// The tail of a character field (command 52) by field id; -1 for an
// unknown field.
int CharacterFieldTailLength(int field);

class CPacketAssembler {
public:
    enum Result {
        kIncomplete = 0,
        kReady = 1,
        kReadError,      // the source is closed and drained
        kProtocolError,  // unknown command or field, or a packet too long
    };

    // Takes bytes from src until one packet is complete; at most one packet
    // per call. After an error nothing more is interpreted until Reset.
    Result Assemble(IByteSource& src);
    // Makes the buffer's first length bytes the current packet.
    void MarkPacketReady(int length);
    // Copies the next n bytes of the current packet and returns the count.
    // A request past the end copies what remains; the rest of dst is zeroed.
    int NetRead(void* dst, int n);
    int Remaining() const { return m_packetLen - m_readPos; }

    int PacketLength() const { return m_packetLen; }
    uint32_t CurrentCommand() const { return m_command; }
    const uint8_t* Packet() const { return m_buffer.data(); }
    bool Failed() const { return m_failed; }
    void Reset();

private:
    Result Read(IByteSource& src, int end);

    std::array<uint8_t, kPacketBufferSize> m_buffer{};
    uint32_t m_inProgress = 0;
    int m_received = 0;
    int m_headerLen = 1;
    int m_fixedEnd = 0;
    int m_tailEnd = 0;
    int m_readPos = 0;
    int m_packetLen = 0;
    uint32_t m_command = 0;
    bool m_failed = false;
};

// The framing of the main connection.
extern CPacketAssembler g_packetAssembler;

// Where AssemblePacket reads from instead of the main socket (null: the
// main socket). Tests and tools feed streams through it.
void SetPacketSource(IByteSource* source);

// 1 when a packet is complete and current, 0 otherwise. A closed connection
// or a protocol error shows its message and starts the exit.
int AssemblePacket();
void MarkPacketReady(int length);
int NetRead(void* dst, int n);
// Reads and drops n bytes of the current packet; returns the count.
int NetSkip(int n);
