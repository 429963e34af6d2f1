#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LinkList.h"
#include "core/LinkListIter.h"
#include "core/SymbolTable.h"

namespace {

struct CCounted : CListItem {
    CCounted(int v, int* deaths) : value(v), deaths(deaths) {}
    ~CCounted() override { ++*deaths; }
    int value;
    int* deaths;
};

int ValueOf(CListItem* item)
{
    return static_cast<CCounted*>(item)->value;
}

struct Walk {
    std::vector<int> seen;
    int stopAt = -1;
};

// Records the value; 0 (stop) at stopAt.
int Record(CListItem* item, void* arg)
{
    auto* walk = static_cast<Walk*>(arg);
    walk->seen.push_back(ValueOf(item));
    return ValueOf(item) == walk->stopAt ? 0 : 1;
}

int Equals(CListItem* item, void* arg)
{
    return ValueOf(item) - *static_cast<int*>(arg);
}

int IsEven(CListItem* item, void*)
{
    return ValueOf(item) % 2 == 0;
}

int AlwaysZero(CListItem* item, void* arg)
{
    return Record(item, arg), 0;
}

// A list 1..n with a null node after the first.
void Fill(CLinkList& list, int n, int* deaths)
{
    for (int i = 1; i <= n; ++i) {
        ASSERT_EQ(list.Add(new CCounted(i, deaths)), 1);
        if (i == 1)
            new CListNode(nullptr, list.Sentinel());
    }
}

}  // namespace

TEST(LinkList, OwnsItsItems)
{
    int deaths = 0;
    {
        CLinkList list;
        EXPECT_EQ(list.Add(nullptr), 0);
        EXPECT_TRUE(list.IsEmpty());
        Fill(list, 4, &deaths);
        list.DeleteAll();
        EXPECT_EQ(deaths, 4);
        EXPECT_TRUE(list.IsEmpty());
        Fill(list, 3, &deaths);
    }
    EXPECT_EQ(deaths, 7);

    CLinkList list;
    Fill(list, 2, &deaths);
    CListItem* taken = list.Detach(list.GetFirst());
    EXPECT_EQ(ValueOf(taken), 1);
    EXPECT_EQ(deaths, 7);
    delete taken;
    EXPECT_EQ(list.Detach(list.Sentinel()), nullptr);
}

TEST(LinkList, WalksSkipNullsAndStopByTheirSense)
{
    int deaths = 0;
    CLinkList empty;
    CLinkListIter e(&empty);
    EXPECT_EQ(e.Next(), 0);
    EXPECT_EQ(e.GetValue(), nullptr);
    EXPECT_EQ(e.Prev(), 0);

    CLinkList list;
    Fill(list, 5, &deaths);
    CLinkListIter it(&list);
    std::vector<int> forward;
    while (it.Next())
        forward.push_back(ValueOf(it.GetValue()));
    EXPECT_EQ(forward, (std::vector<int>{1, 2, 3, 4, 5}));
    std::vector<int> backward;
    while (it.Prev())
        backward.push_back(ValueOf(it.GetValue()));
    EXPECT_EQ(backward, (std::vector<int>{5, 4, 3, 2, 1}));

    // FindNext stops where the callback gives 0, FindPrev where it gives non-zero.
    int three = 3;
    it.First();
    ASSERT_EQ(it.FindNext(Equals, &three), 1);
    EXPECT_EQ(ValueOf(it.GetValue()), 3);
    ASSERT_EQ(it.FindPrev(IsEven, nullptr), 1);
    EXPECT_EQ(ValueOf(it.GetValue()), 2);
    EXPECT_EQ(it.FindPrev(IsEven, nullptr), 0);
    int nine = 9;
    it.First();
    EXPECT_EQ(it.FindNext(Equals, &nine), 0);

    Walk all;
    it.ForEach(Record, &all);
    EXPECT_EQ(all.seen, (std::vector<int>{1, 2, 3, 4, 5}));
    Walk once;
    it.ForEach(AlwaysZero, &once);
    EXPECT_EQ(once.seen, (std::vector<int>{1}));
    Walk reverse;
    reverse.stopAt = 3;
    it.ForEachReverse(Record, &reverse);
    EXPECT_EQ(reverse.seen, (std::vector<int>{5, 4, 3}));
}

TEST(LinkList, EraseWhileWalking)
{
    int deaths = 0;
    CLinkList list;
    Fill(list, 6, &deaths);
    CLinkListIter it(&list);
    while (it.Next())
        if (ValueOf(it.GetValue()) % 2 == 0)
            it.EraseCurrent();
    EXPECT_EQ(deaths, 3);
    std::vector<int> left;
    it.First();
    while (it.Next())
        left.push_back(ValueOf(it.GetValue()));
    EXPECT_EQ(left, (std::vector<int>{1, 3, 5}));
    it.First();
    EXPECT_EQ(it.EraseCurrent(), 0);

    CListNode* node = list.GetFirst();
    while (node != list.Sentinel())
        node = list.Erase(node);
    EXPECT_EQ(deaths, 6);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(SymbolTable, IdsFrom10001)
{
    CSymbolTable table;
    EXPECT_EQ(table.FindId("a"), 0);
    EXPECT_EQ(table.Add("alpha"), 1);
    EXPECT_EQ(table.Add("beta"), 1);
    EXPECT_EQ(table.Add("alpha"), 0);  // present: no id used
    EXPECT_EQ(table.Add("gamma"), 1);
    EXPECT_EQ(table.FindId("alpha"), 10001);
    EXPECT_EQ(table.FindId("beta"), 10002);
    EXPECT_EQ(table.FindId("gamma"), 10003);
    EXPECT_EQ(table.FindId("Alpha"), 0);  // names are compared exactly
    EXPECT_EQ(table.FindId("alph"), 0);

    EXPECT_EQ(table.Add("fixed", 42), 1);
    EXPECT_EQ(table.Add("fixed", 43), 0);
    EXPECT_EQ(table.FindId("fixed"), 42);
    EXPECT_EQ(table.GetNextId(), 10003);

    CSymbolTable copy(table);
    EXPECT_EQ(copy.FindId("gamma"), 10003);
    EXPECT_EQ(copy.FindId("fixed"), 42);
    EXPECT_EQ(copy.Add("delta"), 1);
    EXPECT_EQ(copy.FindId("delta"), 10004);
    EXPECT_EQ(table.FindId("delta"), 0);

    // Copying a table into itself ends (each entry appended once).
    CSymbolTable self;
    self.Add("one");
    self.Add("two");
    self.CopyFrom(self);
    EXPECT_EQ(self.FindId("two"), 10002);
    EXPECT_EQ(self.GetNextId(), 10002);
    CSymbolTable empty;
    empty.CopyFrom(empty);
    EXPECT_EQ(empty.FindId("one"), 0);
}
