// The rows of a market: the merchant's goods read from a bound list file of
// item ids (the buy list), or those of them the player holds (the sell
// list), each with its name, price, required level, effect text and the
// line the market list shows. Buying and selling go through the player info.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

class CListWidget;

class CItemList {
public:
    // A list file's 256th id is not read.
    static constexpr int kMaxRows = 255;
    static constexpr int kNameSize = 32;
    static constexpr int kLineSize = 96;
    static constexpr int kFileNameSize = 128;
    // The list file's end marker.
    static constexpr uint32_t kEndOfList = 0xFFFFFFFFu;
    static constexpr int32_t kNone = -1;

    enum Mode : int32_t { kBuy = 0, kSell = 1 };

    struct Row {
        int32_t number = 0;  // position at load time, from 1; kept by sorting
        std::array<char, kNameSize> name{};
        int32_t price = 0;
        int32_t level = 0;
        std::array<char, kNameSize> description{};
        int32_t itemId = 0;
        std::array<char, kLineSize> line{};
    };
    using Comparator = bool (*)(const Row& a, const Row& b);

    // The buy list of a bound file; a file that does not open gives none.
    void Load(const char* fileName);
    // The rows of the file's ids that the player holds, at the sell price.
    void LoadSellable(const char* fileName);
    void Reset() { m_count = 0; }
    // The list box holds the rows' lines with their numbers; the row count.
    int FillListWidget(CListWidget* list) const;
    // The selected row's item id and price; -1 when no row is selected.
    int GetSelected(int* price) const;
    // Reorders the rows, then refills the list box.
    void Sort(CListWidget* list, Comparator less);
    static bool CompareName(const Row& a, const Row& b);
    static bool ComparePrice(const Row& a, const Row& b);
    static bool CompareLevel(const Row& a, const Row& b);
    static bool CompareDescription(const Row& a, const Row& b);

    // Buy list: buys the selected row. Sell list: back to the buy list.
    void BuySelected();
    // Sell list with a row chosen: sells it. Then the sell list is (re)built.
    void SellSelected();

    int32_t GetMode() const { return m_mode; }
    int32_t GetCount() const { return m_count; }
    const Row& GetRow(int i) const { return m_rows[static_cast<size_t>(i)]; }
    const char* GetFileName() const { return m_fileName.data(); }
    // The market list writes the chosen row's number here.
    int32_t* GetSelectionPtr() { return &m_selected; }

    void Clear() { *this = CItemList{}; }

private:
    void Read(const char* fileName, Mode mode);

    int32_t m_mode = kBuy;
    std::array<char, kFileNameSize> m_fileName{};
    std::array<Row, kMaxRows> m_rows{};
    int32_t m_count = 0;
    int32_t m_selected = kNone;
};

extern CItemList g_itemList;
