// Record list: 1-based positions, ignored invalid positions, whole records, no dangling current node.
#include "core/RecordList.h"

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

TEST(RecordList, InsertPositions)
{
    RecordList a, b, c;
    ListInsert(a, 0, Rec(1));
    ListInsert(b, 1, Rec(1));
    ListInsert(c, 2, Rec(1)); // beyond an empty list: nothing
    EXPECT_EQ(Firsts(a), std::vector<double>{1});
    EXPECT_EQ(Firsts(b), std::vector<double>{1});
    EXPECT_TRUE(ListEmpty(c));

    RecordList list;
    ListInsert(list, 1, Rec(2));
    ListInsert(list, 1, Rec(1));                    // new head
    ListInsert(list, ListCount(list) + 1, Rec(4));  // append
    ListInsert(list, 3, Rec(3));                    // between
    ListInsert(list, ListCount(list) + 2, Rec(99)); // beyond the end: nothing
    EXPECT_EQ(Firsts(list), (std::vector<double>{1, 2, 3, 4}));
}

TEST(RecordList, DeleteIgnoresInvalidPositions)
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
    ListDelete(list, 1);
    EXPECT_TRUE(ListEmpty(list));
}

TEST(RecordList, GetOfAnInvalidPositionLeavesTheRecordAndSeekClearsCurrent)
{
    RecordList list;
    ListRecord in = Rec(-1.0);
    in.value[6] = 2.0;
    in.color = 0x00FF8040;
    in.width = 3;
    ListInsert(list, 1, in);
    ListRecord out = Rec(7.0);
    ListGet(list, 0, out);
    ListGet(list, 2, out);
    EXPECT_EQ(out, Rec(7.0));
    ListGet(list, 1, out);
    EXPECT_EQ(out, in);
    EXPECT_EQ(ListSeek(list, 1), list.Head.get());
    EXPECT_EQ(list.Current, list.Head.get());
    EXPECT_EQ(ListSeek(list, 2), nullptr);
    EXPECT_EQ(list.Current, nullptr);
}

TEST(RecordList, DeleteAndClearLeaveNoDanglingCurrent)
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

    ListClear(list); // on an empty list
    for (int k = 0; k < 5; ++k)
        ListInsert(list, 1, Rec(k));
    ListSeek(list, 3);
    ListClear(list);
    EXPECT_TRUE(ListEmpty(list));
    EXPECT_EQ(ListCount(list), 0u);
    EXPECT_EQ(list.Current, nullptr);
}

TEST(RecordList, LongListIsFreedWithoutRecursion)
{
    RecordList list; // freeing node by node recursively would overflow the stack
    for (int k = 0; k < 200000; ++k)
        ListInsert(list, 1, Rec(k));
}

} // namespace
} // namespace kurvex
