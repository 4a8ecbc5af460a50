// Doubly linked lists of caller-sized items, kept in memory only.
//
// An item is one allocation whose first bytes are ItemLinks (the previous and
// the next item, null at the ends); the rest, from kItemDataOffset, belongs to
// the caller. A head starts zeroed: ItemList head{}.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"

namespace pxall {

struct ItemLinks {
    ItemLinks* prev;
    ItemLinks* next;
};

struct ItemList {
    ItemLinks* first;
    ItemLinks* last;
    int32_t count;
};

constexpr size_t kItemDataOffset = sizeof(ItemLinks);

// The caller's part of an item.
inline unsigned char* item_data(void* item) { return static_cast<unsigned char*>(item) + kItemDataOffset; }

// Allocates an item of size bytes (links included, the rest zeroed) and
// appends it; null when out of memory, or when size cannot hold the links.
PX_EXPORT void* AddItem(ItemList* head, int size);
// Unlinks the item, mending first and last, frees it and lowers the count:
// 0, or -1 (nothing done) for a missing head or item, or an item whose links
// disagree with the head.
PX_EXPORT int DeleteItem(ItemList* head, void* item);
// Frees every item; first, last and count become 0.
PX_EXPORT void AllDeleteItem(ItemList* head);

}  // namespace pxall
