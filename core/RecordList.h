// Record list: a small 1-based singly linked list of 64-byte value records, and its four lists.
#pragma once

#include "platform/Canvas.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace kurvex {

// Seven value slots and a last slot split into a colour and a line width; each user gives the
// slots their meaning.
struct ListRecord {
    std::array<double, 7> value{};
    TColor color = 0;
    std::int32_t width = 0;
    bool operator==(const ListRecord&) const = default;
};
static_assert(sizeof(ListRecord) == 64);

struct ListNode {
    ListRecord record;
    std::unique_ptr<ListNode> Next;
};

// Positions count from 1 at the head; operations on an invalid position do nothing.
struct RecordList {
    RecordList() = default;
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;
    // Frees the nodes one by one, so a long list does not recurse.
    ~RecordList();

    ListNode* Current = nullptr; // node found by the last seek
    std::unique_ptr<ListNode> Head;
};

void ListInit(RecordList& list);
bool ListEmpty(const RecordList& list);
std::size_t ListCount(const RecordList& list);
bool ListValidIndex(const RecordList& list, std::size_t i);
// Makes the i-th node current and returns it; nullptr (and no current node) when i is invalid.
ListNode* ListSeek(RecordList& list, std::size_t i);
// The copy becomes the i-th record: 0 and 1 insert at the head, count + 1 appends, larger
// positions insert nothing.
void ListInsert(RecordList& list, std::size_t i, const ListRecord& rec);
void ListDelete(RecordList& list, std::size_t i);
// Copies the i-th record into rec; rec keeps its content when i is invalid.
void ListGet(RecordList& list, std::size_t i, ListRecord& rec);
void ListClear(RecordList& list);

// Fixed curves and point sets (function-graph and loci windows).
inline RecordList ObjectList;
// Fixed secants (tangent-problem and differentiability windows).
inline RecordList FixedSecants;
// One record per entry of an example list.
inline RecordList ExampleRecords;
// Fixed arrows of the mappings window.
inline RecordList ArrowList;

} // namespace kurvex
