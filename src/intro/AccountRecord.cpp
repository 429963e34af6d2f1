#include "intro/AccountRecord.h"

#include <cstring>

namespace {
bool ValidSlot(int slot) { return slot >= 1 && slot <= AccountRecord::kSlots; }
size_t SlotIndex(int slot) { return static_cast<size_t>(slot - 1); }
}  // namespace

int16_t AccountRecord::I16(size_t off) const
{
    if (off + 2 > kSize)
        return 0;
    return static_cast<int16_t>(bytes[off] | (bytes[off + 1] << 8));
}

void AccountRecord::SetI16(size_t off, int v)
{
    if (off + 2 > kSize)
        return;
    bytes[off] = static_cast<uint8_t>(v);
    bytes[off + 1] = static_cast<uint8_t>(v >> 8);
}

void AccountRecord::SetText(size_t off, size_t size, const char* text)
{
    if (size == 0 || off + size > kSize)
        return;
    std::memset(bytes.data() + off, 0, size);
    if (text)
        std::memcpy(bytes.data() + off, text, strnlen(text, size - 1));
}

void AccountRecord::GetText(size_t off, size_t size, char* out, size_t outSize) const
{
    if (!out || outSize == 0)
        return;
    out[0] = '\0';
    if (off + size > kSize)
        return;
    const char* src = reinterpret_cast<const char*>(bytes.data() + off);
    size_t n = strnlen(src, size);
    if (n > outSize - 1)
        n = outSize - 1;
    std::memcpy(out, src, n);
    out[n] = '\0';
}

bool AccountRecord::SlotExists(int slot) const { return SlotLevel(slot) != 0; }

int AccountRecord::SlotLevel(int slot) const
{
    return ValidSlot(slot) ? I16(kSlotLevels + 2 * SlotIndex(slot)) : 0;
}

int AccountRecord::SlotKind(int slot) const
{
    if (!ValidSlot(slot))
        return -1;
    const int kind = I16(kSlotKinds + 2 * SlotIndex(slot));
    return kind >= 0 && kind < kKinds ? kind : -1;
}

void AccountRecord::SlotName(int slot, char* out) const
{
    if (!out)
        return;
    out[0] = '\0';
    if (ValidSlot(slot))
        GetText(kSlotNames + kSlotNameSize * SlotIndex(slot), kSlotNameSize, out, kSlotNameSize);
}

void AccountRecord::SetSlot(int slot, int kind, const char* name, int level)
{
    if (!ValidSlot(slot))
        return;
    SetI16(kSlotKinds + 2 * SlotIndex(slot), kind);
    SetText(kSlotNames + kSlotNameSize * SlotIndex(slot), kSlotNameSize, name);
    SetI16(kSlotLevels + 2 * SlotIndex(slot), level);
}
