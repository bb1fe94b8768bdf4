// Record list: a small 1-based singly linked list of 64-byte value records, and its four lists.
#include "core/RecordList.h"

namespace kurvex {

RecordList::~RecordList()
{
    ListClear(*this);
}

void ListInit(RecordList& list)
{
    // The nodes are owned, so starting afresh frees what an earlier window left behind.
    ListClear(list);
}

bool ListEmpty(const RecordList& list)
{
    return list.Head == nullptr;
}

std::size_t ListCount(const RecordList& list)
{
    std::size_t n = 0;
    for (const ListNode* node = list.Head.get(); node; node = node->Next.get())
        ++n;
    return n;
}

bool ListValidIndex(const RecordList& list, std::size_t i)
{
    return i != 0 && i <= ListCount(list);
}

ListNode* ListSeek(RecordList& list, std::size_t i)
{
    list.Current = nullptr;
    if (!ListValidIndex(list, i))
        return nullptr;
    ListNode* node = list.Head.get();
    for (std::size_t k = 1; k < i; ++k)
        node = node->Next.get();
    list.Current = node;
    return node;
}

void ListInsert(RecordList& list, std::size_t i, const ListRecord& rec)
{
    if (i < 2) {
        auto node = std::make_unique<ListNode>();
        node->record = rec;
        node->Next = std::move(list.Head);
        list.Head = std::move(node);
        return;
    }
    ListNode* before = ListSeek(list, i - 1);
    if (!before)
        return;
    auto node = std::make_unique<ListNode>();
    node->record = rec;
    node->Next = std::move(before->Next);
    before->Next = std::move(node);
}

void ListDelete(RecordList& list, std::size_t i)
{
    if (!ListValidIndex(list, i))
        return;
    // The current node may be the one freed.
    list.Current = nullptr;
    if (i == 1) {
        list.Head = std::move(list.Head->Next);
        return;
    }
    ListNode* before = ListSeek(list, i - 1);
    before->Next = std::move(before->Next->Next);
}

void ListGet(RecordList& list, std::size_t i, ListRecord& rec)
{
    if (const ListNode* node = ListSeek(list, i))
        rec = node->record;
}

void ListClear(RecordList& list)
{
    list.Current = nullptr;
    while (list.Head)
        list.Head = std::move(list.Head->Next);
}

} // namespace kurvex
