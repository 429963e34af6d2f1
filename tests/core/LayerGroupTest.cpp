#include <gtest/gtest.h>

#include <string>

#include "core/LayerGroup.h"

namespace {

std::string g_order;

struct Recording : CLayer {
    explicit Recording(char id) : id(id) {}
    int Draw() override
    {
        g_order += id;
        return 7;
    }
    char id;
};

TEST(LayerGroup, DrawsInInsertionOrderAndRefusesTheNinth)
{
    g_order.clear();
    Recording layers[9] = {Recording('1'), Recording('2'), Recording('3'), Recording('4'), Recording('5'),
                           Recording('6'), Recording('7'), Recording('8'), Recording('9')};
    CLayerGroup group;
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(group.AddLayer(&layers[i]), 1);
    EXPECT_EQ(group.AddLayer(&layers[8]), 0);
    EXPECT_EQ(group.Draw(), 1);
    EXPECT_EQ(g_order, "12345678");
    for (auto& l : layers)
        group.RemoveLayer(&l);
}

TEST(LayerGroup, RemoveKeepsTheOrderOfTheRest)
{
    g_order.clear();
    Recording a('a'), b('b'), c('c'), absent('x');
    CLayerGroup group;
    group.AddLayer(&a);
    group.AddLayer(&b);
    group.AddLayer(&c);
    group.RemoveLayer(&absent);
    EXPECT_EQ(group.GetCount(), 3);
    group.RemoveLayer(&a);
    EXPECT_EQ(group.GetCount(), 2);
    group.DrawChildren(0);
    EXPECT_EQ(g_order, "bc");
    group.RemoveLayer(&c);
    group.RemoveLayer(&b);
    EXPECT_EQ(group.GetCount(), 0);
    EXPECT_EQ(group.GetChild(0), nullptr);
}

TEST(LayerGroup, NullAndDuplicatesAreRefusedSoOneRemoveSuffices)
{
    Recording a('a');
    CLayerGroup group;
    EXPECT_EQ(group.AddLayer(nullptr), 0);
    EXPECT_EQ(group.AddLayer(&a), 1);
    EXPECT_EQ(group.AddLayer(&a), 0);
    EXPECT_EQ(group.AddLayer(&group), 0);
    group.RemoveLayer(&a);
    EXPECT_FALSE(group.Holds(&a));
    EXPECT_EQ(group.GetCount(), 0);
}

TEST(LayerGroup, EmptyGroupAndBaseLayerDefaults)
{
    CLayerGroup group;
    EXPECT_EQ(group.Draw(), 1);
    CLayer base;
    EXPECT_EQ(base.Draw(), 1);
    EXPECT_EQ(base.GetBits(), nullptr);
    EXPECT_EQ(base.GetWidth(), 0);
    EXPECT_EQ(base.SetSize(640, 480), 1);
    int32_t w = 0, h = 0;
    base.GetSize(&w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_EQ(base.SetSize(CSize{3, 4}), 1);
    EXPECT_EQ(base.GetSize(), (CSize{3, 4}));
}

}  // namespace
