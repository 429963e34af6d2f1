#include "world/AbilityCommands.h"

#include "core/ByteReader.h"

namespace {

using F = AbilityField;
using S = StatSums;

constexpr AbilityFieldDef C{F::caster}, T{F::target}, GX{F::goalX}, GY{F::goalY}, EQ{F::equip}, AM{F::amount},
    B{F::byte}, F20{F::field20}, F26{F::field26};
constexpr AbilityFieldDef Sum(S::Stat s) { return {F::sum32, s}; }
constexpr AbilityFieldDef Plain(S::Stat s) { return {F::plain32, s}; }
constexpr AbilityFieldDef Sum16(S::Stat s) { return {F::sum16, s}; }
constexpr AbilityFieldDef Word(int i) { return {F::word, static_cast<S::Stat>(i)}; }

constexpr AbilityFieldDef kStr = Sum(S::strength), kAgi = Sum(S::agility), kCou = Sum(S::courage);

template <class... Fs>
constexpr AbilityCommandRow Row(int sub, int ability, Fs... fs)
{
    return {static_cast<uint8_t>(sub), static_cast<int8_t>(ability), sizeof...(fs), {fs...}};
}

// Sub-commands 17 and 20: the goal cell, plain values and the equipment.
template <class... Fs>
constexpr AbilityCommandRow GoalRow(int sub, int ability, Fs... fs)
{
    return Row(sub, ability, C, GX, GY, fs..., EQ);
}
// Sub-commands 23, 27 and 28.
constexpr AbilityCommandRow EyeRow(int sub, int ability)
{
    return Row(sub, ability, C, T, Plain(S::wisdom), Plain(S::agility), Plain(S::courage), EQ);
}

constexpr AbilityCommandRow kRows[] = {
    Row(10, 0, C),
    Row(11, 1, C, T, kStr, kAgi, kCou),
    Row(12, 2, C),
    Row(13, 3, T, kStr, kAgi, kCou, C),
    Row(14, 4, C, T, kStr, kAgi, kCou, B),
    Row(15, 5, C, GX, GY, kStr, kAgi, kCou),
    Row(16, 6, C, T, kStr, kAgi, kCou),
    GoalRow(17, 8, Plain(S::constitution), Plain(S::wisdom), Plain(S::courage)),
    Row(18, 9, C),
    Row(19, 10, C),
    GoalRow(20, 11, Plain(S::constitution), Plain(S::wisdom), Plain(S::courage)),
    Row(21, 12, C, T, AM),
    Row(22, 13, C, T, Plain(S::wisdom), EQ),
    EyeRow(23, 16),
    Row(24, 17, C),
    Row(25, 18, C, T),
    GoalRow(26, 19, Plain(S::wisdom), Plain(S::agility), Plain(S::courage)),
    EyeRow(27, 21),
    EyeRow(28, 20),
    Row(29, 22, C, T),
    Row(40, 7, C),
    Row(41, 23, C, T, Sum(S::wisdom), kAgi, B, F26),
    Row(43, 14, C, T, Sum(S::wisdom), F20),
    Row(44, 15, C, T),
    Row(150, -1, C, T, Sum16(S::constitution), Sum16(S::wisdom), Sum16(S::courage)),
    Row(151, -1, C, T, Sum16(S::wisdom), Sum16(S::agility), Sum16(S::courage)),
    Row(152, -1, C, T, Sum16(S::strength), Sum16(S::agility), Sum16(S::courage)),
    Row(153, -1, C, GX, GY, Sum(S::constitution), Sum(S::wisdom), kCou),
    Row(154, -1, C, Word(0), Word(1), kStr, kAgi, kCou),
    Row(200, -1, C, B),
    Row(201, -1, T),
};

int FieldSize(AbilityField kind)
{
    switch (kind) {
    case F::caster:
    case F::target:
    case F::sum16:
    case F::field20:
    case F::field26: return 2;
    case F::equip: return 16;
    case F::byte: return 1;
    default: return 4;
    }
}

}  // namespace

bool AbilityCommandRow::Has(AbilityField kind) const
{
    for (int i = 0; i < count; ++i)
        if (fields[static_cast<size_t>(i)].kind == kind)
            return true;
    return false;
}

int AbilityCommandRow::PayloadSize() const
{
    int n = 0;
    for (int i = 0; i < count; ++i)
        n += FieldSize(fields[static_cast<size_t>(i)].kind);
    return n;
}

std::span<const AbilityCommandRow> AbilityCommandRows() { return kRows; }

const AbilityCommandRow* FindAbilityCommand(int sub)
{
    for (const AbilityCommandRow& row : kRows)
        if (row.sub == sub)
            return &row;
    return nullptr;
}

int AbilitySubCommand(int id)
{
    for (const AbilityCommandRow& row : kRows)
        if (row.ability >= 0 && row.ability == id)
            return row.sub;
    return -1;
}

void EncodeAbilityPayload(const AbilityCommandRow& row, const AbilityPacket& k, CByteWriter& w)
{
    for (int i = 0; i < row.count; ++i) {
        const AbilityFieldDef& f = row.fields[static_cast<size_t>(i)];
        const auto s = static_cast<size_t>(f.stat);
        switch (f.kind) {
        case F::caster: w.U16(k.caster); break;
        case F::target: w.U16(k.target); break;
        case F::goalX: w.U32(k.goalX); break;
        case F::goalY: w.U32(k.goalY); break;
        case F::sum32:
        case F::plain32: w.U32(k.stat[s]); break;
        case F::sum16: w.U16(static_cast<uint16_t>(k.stat[s])); break;
        case F::equip:
            for (uint16_t item : k.equip)
                w.U16(item);
            break;
        case F::amount: w.U32(k.amount); break;
        case F::byte: w.U8(k.byte); break;
        case F::field20: w.U16(k.field20); break;
        case F::field26: w.U16(k.field26); break;
        case F::word: w.U32(k.words[s & 1]); break;
        }
    }
}

AbilityPacket DecodeAbilityPayload(const AbilityCommandRow& row, const uint8_t* p, size_t size)
{
    CByteReader r(p, size);
    AbilityPacket k;
    for (int i = 0; i < row.count; ++i) {
        const AbilityFieldDef& f = row.fields[static_cast<size_t>(i)];
        const auto s = static_cast<size_t>(f.stat);
        switch (f.kind) {
        case F::caster: k.caster = r.U16(); break;
        case F::target: k.target = r.U16(); break;
        case F::goalX: k.goalX = r.U32(); break;
        case F::goalY: k.goalY = r.U32(); break;
        case F::sum32:
        case F::plain32: k.stat[s] = r.U32(); break;
        case F::sum16: k.stat[s] = r.U16(); break;
        case F::equip:
            for (uint16_t& item : k.equip)
                item = r.U16();
            break;
        case F::amount: k.amount = r.U32(); break;
        case F::byte: k.byte = r.U8(); break;
        case F::field20: k.field20 = r.U16(); break;
        case F::field26: k.field26 = r.U16(); break;
        case F::word: k.words[s & 1] = r.U32(); break;
        }
    }
    return k;
}
