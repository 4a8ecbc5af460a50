#include "pxall/itemlist.h"

#include <cstdlib>

namespace pxall {

void* AddItem(ItemList* head, int size) {
    if (head == nullptr || size < static_cast<int>(sizeof(ItemLinks))) return nullptr;
    auto* item = static_cast<ItemLinks*>(std::calloc(1, static_cast<size_t>(size)));
    if (item == nullptr) return nullptr;
    item->prev = head->last;
    item->next = nullptr;
    if (head->last != nullptr)
        head->last->next = item;
    else
        head->first = item;
    head->last = item;
    ++head->count;
    return item;
}

int DeleteItem(ItemList* head, void* p) {
    if (head == nullptr || p == nullptr) return -1;
    auto* item = static_cast<ItemLinks*>(p);
    // An item of another list, or one already deleted, must not touch this head.
    if (item->prev == nullptr ? head->first != item : item->prev->next != item) return -1;
    if (item->next == nullptr ? head->last != item : item->next->prev != item) return -1;
    if (item->prev != nullptr)
        item->prev->next = item->next;
    else
        head->first = item->next;
    if (item->next != nullptr)
        item->next->prev = item->prev;
    else
        head->last = item->prev;
    std::free(item);
    if (head->count > 0) --head->count;
    return 0;
}

void AllDeleteItem(ItemList* head) {
    if (head == nullptr) return;
    ItemLinks* item = head->first;
    while (item != nullptr) {
        ItemLinks* next = item->next;
        std::free(item);
        item = next;
    }
    head->first = nullptr;
    head->last = nullptr;
    head->count = 0;
}

}  // namespace pxall
