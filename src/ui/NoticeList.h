// Up to 7 status-bar records of seven words a frame, filled while
// characters are drawn and read and cleared by the object layer.
#pragma once
#include <array>
#include <cstdint>

class CNoticeList {
public:
    static constexpr int kMaxEntries = 7;
    using Entry = std::array<int32_t, 7>;

    void Clear() { m_count = 0; }
    // x, y, HP, maximum HP, MP, maximum MP, kind (-1 or 0..8); 1 when
    // stored, 0 when 7 are held already.
    int Add(int x, int y, int hp, int maxHp, int mp, int maxMp, int kind);
    // In the order added; Next gives null after the last.
    const Entry* First();
    const Entry* Next();
    int GetCount() const { return m_count; }

private:
    std::array<Entry, kMaxEntries> m_entries{};
    int32_t m_count = 0;
    int32_t m_cursor = 0;
};

extern CNoticeList g_noticeList;
