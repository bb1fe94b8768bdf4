// Record list: 1-based positions, ignored invalid positions, the record's layout.
#include "core/Oliste.h"

#include <gtest/gtest.h>

#include <vector>

namespace kurvex {
namespace {

ListRecord Rec(double first)
{
    ListRecord r;
    r.value[0] = first;
    return r;
}

// First slot of every record from position 1 to the count.
std::vector<double> Firsts(RecordList& list)
{
    std::vector<double> out;
    for (std::size_t i = 1; i <= ListCount(list); ++i) {
        ListRecord r;
        ListGet(list, i, r);
        out.push_back(r.value[0]);
    }
    return out;
}

TEST(Oliste, InsertOnAnEmptyList)
{
    RecordList a, b, c;
    ListInsert(a, 0, Rec(1));
    ListInsert(b, 1, Rec(1));
    ListInsert(c, 2, Rec(1));
    EXPECT_EQ(Firsts(a), std::vector<double>{1});
    EXPECT_EQ(Firsts(b), std::vector<double>{1});
    EXPECT_TRUE(ListEmpty(c));
    EXPECT_EQ(ListCount(c), 0u);
}

TEST(Oliste, InsertPositions)
{
    RecordList list;
    ListInsert(list, 1, Rec(2));
    ListInsert(list, 1, Rec(1));                    // new head
    ListInsert(list, ListCount(list) + 1, Rec(4));  // append
    ListInsert(list, 3, Rec(3));                    // between
    ListInsert(list, ListCount(list) + 2, Rec(99)); // beyond the end: nothing
    ListInsert(list, static_cast<std::size_t>(-1), Rec(98));
    EXPECT_EQ(Firsts(list), (std::vector<double>{1, 2, 3, 4}));
}

TEST(Oliste, DeleteIgnoresInvalidPositions)
{
    RecordList list;
    for (double v : {3.0, 2.0, 1.0})
        ListInsert(list, 1, Rec(v));
    ListDelete(list, 0);
    ListDelete(list, 4);
    EXPECT_EQ(Firsts(list), (std::vector<double>{1, 2, 3}));
    ListDelete(list, 2);
    EXPECT_EQ(Firsts(list), (std::vector<double>{1, 3}));
    ListDelete(list, 2);
    EXPECT_EQ(Firsts(list), (std::vector<double>{1}));
    ListDelete(list, 1);
    EXPECT_TRUE(ListEmpty(list));
}

TEST(Oliste, GetAndSeekOfInvalidPositions)
{
    RecordList list;
    ListInsert(list, 1, Rec(5));
    ListRecord r = Rec(-1);
    r.color = 0xABCDEF;
    ListGet(list, 0, r);
    ListGet(list, 2, r);
    EXPECT_EQ(r.value[0], -1.0);
    EXPECT_EQ(r.color, 0xABCDEFu);
    EXPECT_NE(ListSeek(list, 1), nullptr);
    EXPECT_EQ(list.Current, list.Head.get());
    EXPECT_EQ(ListSeek(list, 2), nullptr);
    EXPECT_EQ(list.Current, nullptr);
    EXPECT_FALSE(ListValidIndex(list, 0));
    EXPECT_TRUE(ListValidIndex(list, 1));
    EXPECT_FALSE(ListValidIndex(list, 2));
}

TEST(Oliste, RecordsAreCopiedWhole)
{
    RecordList list;
    ListRecord in;
    for (std::size_t k = 0; k < in.value.size(); ++k)
        in.value[k] = 0.5 * static_cast<double>(k) - 1.0;
    in.color = 0x00FF8040;
    in.width = 3;
    ListInsert(list, 1, in);
    in.value[0] = 100.0; // the list holds its own copy
    ListRecord out;
    ListGet(list, 1, out);
    EXPECT_EQ(out.value[0], -1.0);
    EXPECT_EQ(out.value[6], 2.0);
    EXPECT_EQ(out.color, 0x00FF8040u);
    EXPECT_EQ(out.width, 3);
}

TEST(Oliste, ClearAndInit)
{
    RecordList list;
    ListClear(list);
    EXPECT_TRUE(ListEmpty(list));
    for (int k = 0; k < 10; ++k)
        ListInsert(list, 1, Rec(k));
    ListSeek(list, 3);
    ListClear(list);
    EXPECT_TRUE(ListEmpty(list));
    EXPECT_EQ(ListCount(list), 0u);
    EXPECT_EQ(list.Current, nullptr);
    ListInsert(list, 1, Rec(1));
    ListInit(list);
    EXPECT_TRUE(ListEmpty(list));
}

TEST(Oliste, DeletingTheCurrentNodeLeavesNoDanglingCurrent)
{
    RecordList list;
    ListInsert(list, 1, Rec(2));
    ListInsert(list, 1, Rec(1));
    ListSeek(list, 2);
    ListDelete(list, 2);
    EXPECT_TRUE(list.Current == nullptr || list.Current == list.Head.get());
    ListSeek(list, 1);
    ListDelete(list, 1);
    EXPECT_EQ(list.Current, nullptr);
}

TEST(Oliste, LongListIsFreedWithoutRecursion)
{
    RecordList list;
    for (int k = 0; k < 200000; ++k)
        ListInsert(list, 1, Rec(k));
    EXPECT_EQ(ListCount(list), 200000u);
    ListClear(list);
    EXPECT_TRUE(ListEmpty(list));
}

TEST(Oliste, GlobalListsAreIndependent)
{
    ListInsert(FixedSecants, 1, Rec(7));
    EXPECT_TRUE(ListEmpty(ObjectList));
    EXPECT_TRUE(ListEmpty(ExampleRecords));
    EXPECT_TRUE(ListEmpty(ArrowList));
    EXPECT_EQ(ListCount(FixedSecants), 1u);
    ListClear(FixedSecants);
}

} // namespace
} // namespace kurvex
