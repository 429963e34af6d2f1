#include "rules/AbilityTable.h"

const std::array<AbilityRow, kAbilityCount> AbilityTable = {{
    {0, 0x80000000u, 2, kAnyClassGroup, "도망", "Escape"},
    {1, 0x1, 1, 0, "파워브레이크", "PowerBreak"},
    {2, 0x2, 2, 0, "카운터가드", "CounterGuard"},
    {3, 0x4, 1, 0, "가드해체", "GuardBreak"},
    {4, 0x8, 1, 0, "카운터브레이크", "CounterBreak"},
    {5, 0x20, 1, 0, "맥시멈포스", "MaximumForce"},
    {6, 0x40, 1, 0, "파워브레이크II", "PowerBreakII"},
    {7, 0x10, 2, 0, "힐링", "WarriorHealing"},
    {8, 0x1, 1, 2, "화이어스톰", "FireStorm"},
    {9, 0x2, 2, 2, "이베이션", "Evation"},
    {10, 0x4, 2, 2, "힐링", "Healing"},
    {11, 0x8, 1, 2, "어스퀘이크", "EarthQuake"},
    {12, 0x40, 2, 2, "매직힐링", "MagicHealing"},
    {13, 0x80, 2, 2, "힐링II", "HealingII"},
    {14, 0x10, 1, 2, "데빌힐링", "DevilHealing"},
    {15, 0x20, 6, 2, "큐어", "Cure"},
    {16, 0x1, 1, 1, "일렉트릭아이", "ElectricEye"},
    {17, 0x2, 2, 1, "에어-온", "Air-On"},
    {18, 0x4, 1, 1, "프리즈", "Freeze"},
    {19, 0x10, 1, 1, "썬더볼트", "Thunder Bolt"},
    {20, 0x20, 1, 1, "라이트닝", "Lighting"},
    {21, 0x40, 1, 1, "일렉트릭아이II", "ElectricEyeII"},
    {22, 0x80, 2, 1, "하이드", "Hide"},
    {23, 0x8, 1, 1, "싸이킥포스", "Psychicforce"},
}};

const AbilityRow* FindAbilityRow(int id)
{
    return id >= 0 && id < kAbilityCount ? &AbilityTable[static_cast<size_t>(id)] : nullptr;
}
