// The header of the battle command family: [30][u8 flag][u16 battle]
// [u8 sub][u16 payload length], then the payload. The pair notices carry
// their addressee where the battle number would be.
#pragma once
#include <cstdint>

#include "core/ByteReader.h"
#include "core/ByteWriter.h"

struct BattlePacketHeader {
    static constexpr int kCommand = 30;
    static constexpr int kSize = 7;
    // The header bytes after the command byte, as the framing hands them on.
    static constexpr int kFixedSize = kSize - 1;
    // Header flags: ordinary traffic, the flagged hit, the pair notices.
    static constexpr int kFlagPlain = 0;
    static constexpr int kFlagHitFlagged = 1;
    static constexpr int kFlagPairNotice = 4;

    uint8_t flag = kFlagPlain;
    uint16_t battle = 0;
    uint8_t sub = 0;
    uint16_t length = 0;

    // From the fixed part after the command byte.
    static BattlePacketHeader ReadFixed(CByteReader& r)
    {
        BattlePacketHeader h;
        h.flag = r.U8();
        h.battle = r.U16();
        h.sub = r.U8();
        h.length = r.U16();
        return h;
    }
    // The whole header, command byte first.
    void Write(CByteWriter& w) const
    {
        w.U8(kCommand).U8(flag).U16(battle).U8(sub).U16(length);
    }
};

// The payload a received sub-command is read with; -1 for a sub-command
// that is a protocol error. Sub 6 is given its fixed part here (the item ids
// follow); 200 and 201 are read and dropped.
int BattlePayloadSize(int sub);
