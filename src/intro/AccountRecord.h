// The 341-byte account record: what the registration sends and what a
// successful log-in returns, with the account's three character slots.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

struct AccountRecord {
    static constexpr size_t kSize = 341;
    static constexpr int kSlots = 3;
    static constexpr int kSlotNameSize = 12;
    static constexpr int kKinds = 6;         // portrait and class index 0..5
    static constexpr int kGmLevel = 70;      // account level of a game master
    // Offsets and sizes of the fields; texts are NUL-terminated and padded.
    enum : size_t {
        kId = 4,               kIdSize = 17,
        kText1 = 21,           kText1Size = 12,
        kPassword = 33,        kPasswordSize = 10,
        kResidentNumber = 43,  kResidentNumberSize = 15,
        kBirthDate = 58,       kBirthDateSize = 20,
        kText3 = 78,           kText3Size = 62,
        kText2 = 140,          kText2Size = 21,
        kText4 = 161,          kText4Size = 32,
        kLevel = 193,          // i16
        kSlotKinds = 293,      // 3 x i16
        kSlotNames = 299,      // 3 x 12 bytes
        kSlotLevels = 335,     // 3 x i16, 0 = empty slot
    };

    std::array<uint8_t, kSize> bytes{};

    void Clear() { bytes.fill(0); }
    int16_t I16(size_t off) const;
    void SetI16(size_t off, int v);
    // Copies text into a field of size bytes: cut to size - 1, the rest zero.
    void SetText(size_t off, size_t size, const char* text);
    // Copies the field's text into out (outSize bytes), always terminated.
    void GetText(size_t off, size_t size, char* out, size_t outSize) const;

    int Level() const { return I16(kLevel); }
    bool IsGm() const { return Level() >= kGmLevel; }
    // Slots are numbered 1..3. A slot exists when its level is not 0.
    bool SlotExists(int slot) const;
    int SlotLevel(int slot) const;
    // The slot's kind 0..5, or -1 for a kind this client does not know.
    int SlotKind(int slot) const;
    // The slot's name, at most 11 bytes and a terminator, into out[12].
    void SlotName(int slot, char* out) const;
    void SetSlot(int slot, int kind, const char* name, int level);
};
