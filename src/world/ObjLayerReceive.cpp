// The object layer's handlers of received commands: entering and presence
// and the character fields. The other field commands are in
// ObjLayerReceiveField.cpp, the group commands in ObjLayerGroup.cpp.
#include <algorithm>
#include <array>

#include "core/ByteReader.h"
#include "net/PacketAssembler.h"
#include "world/Character.h"
#include "world/ObjLayer.h"

namespace {
// The u16 at offset off of a fixed part of size n.
int FixedU16(const uint8_t* fixed, size_t n, size_t off)
{
    CByteReader r(fixed, n);
    r.Seek(off);
    return r.U16();
}
}  // namespace

void CObjLayer::OnEnterField(const uint8_t* fixed)
{
    if (m_inBattle)
        return;
    // An entry without a character id is the server's refusal.
    m_enteredAnswer = FixedU16(fixed, 11, 0) != 0 ? 1 : -1;
    if (m_enteredAnswer != 1)
        return;
    if (!m_pMyChar) {
        if (CCharacter* me = CreateMyCharacter(FixedU16(fixed, 11, 3), FixedU16(fixed, 11, 5))) {
            SetMyCharacter(me);
            m_stageChange.Finish();
        }
    }
    m_inField = 1;
}
void CObjLayer::OnCharacterAppear(const uint8_t*) {}
void CObjLayer::OnCharacterLeave(const uint8_t*) {}

void CObjLayer::OnAreaUpdate(const uint8_t* fixed) { NetSkip(FixedU16(fixed, 6, 4) * 10); }
void CObjLayer::OnCharacterMove(const uint8_t*) {}
void CObjLayer::OnBattleCommand(const uint8_t* fixed) { NetSkip(FixedU16(fixed, 6, 4)); }

void CObjLayer::OnCharacterField(const uint8_t* fixed)
{
    const uint16_t id = static_cast<uint16_t>(FixedU16(fixed, 3, 0));
    const int field = fixed[2];
    const int tail = CharacterFieldTailLength(field);
    if (tail < 0)
        return;  // the framing refuses such a packet before it gets here
    std::array<uint8_t, CharacterRecord::kFieldImageSize> payload{};
    const size_t n = static_cast<size_t>(std::min(tail, static_cast<int>(payload.size())));
    if (NetRead(payload.data(), static_cast<int>(n)) != static_cast<int>(n))
        return;
    OnCharacterField(id, field, payload.data(), n);
}
