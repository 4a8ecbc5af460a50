#include "pxall/itemlist.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using namespace pxall;

struct List {
    ItemList head{};
    ~List() { AllDeleteItem(&head); }

    void* add(int tag) {
        void* item = AddItem(&head, static_cast<int>(kItemDataOffset + sizeof(int)));
        if (item != nullptr) std::memcpy(item_data(item), &tag, sizeof tag);
        return item;
    }
    // Tags walking forward, checked against the walk backward.
    std::vector<int> tags() const {
        std::vector<int> fwd, back;
        for (ItemLinks* i = head.first; i != nullptr; i = i->next) fwd.push_back(tag_of(i));
        for (ItemLinks* i = head.last; i != nullptr; i = i->prev) back.insert(back.begin(), tag_of(i));
        EXPECT_EQ(fwd, back);
        EXPECT_EQ(static_cast<int>(fwd.size()), head.count);
        return fwd;
    }
    static int tag_of(ItemLinks* i) {
        int t;
        std::memcpy(&t, item_data(i), sizeof t);
        return t;
    }
};

TEST(ItemList, AddAppendsAtTheEnd) {
    List l;
    void* a = l.add(1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(l.head.first, a);
    EXPECT_EQ(l.head.last, a);
    EXPECT_EQ(static_cast<ItemLinks*>(a)->prev, nullptr);
    EXPECT_EQ(static_cast<ItemLinks*>(a)->next, nullptr);
    l.add(2);
    l.add(3);
    EXPECT_EQ(l.tags(), (std::vector<int>{1, 2, 3}));
}

TEST(ItemList, DeleteMendsHeadAndTail) {
    struct Case { int remove; std::vector<int> left; };
    const std::vector<Case> cases = {{0, {2, 3}}, {1, {1, 3}}, {2, {1, 2}}};
    for (const auto& c : cases) {
        List l;
        void* items[3] = {l.add(1), l.add(2), l.add(3)};
        EXPECT_EQ(DeleteItem(&l.head, items[c.remove]), 0);
        EXPECT_EQ(l.tags(), c.left) << "removing " << c.remove;
    }
    List one;
    void* only = one.add(7);
    EXPECT_EQ(DeleteItem(&one.head, only), 0);
    EXPECT_EQ(one.head.first, nullptr);
    EXPECT_EQ(one.head.last, nullptr);
    EXPECT_EQ(one.head.count, 0);
}

TEST(ItemList, DeleteRefusesAForeignItem) {
    List a, b;
    a.add(1);
    void* b1 = b.add(10);
    b.add(11);
    EXPECT_EQ(DeleteItem(&a.head, b1), -1);  // b's first item is not a's first
    EXPECT_EQ(a.tags(), (std::vector<int>{1}));
    EXPECT_EQ(b.tags(), (std::vector<int>{10, 11}));
    EXPECT_EQ(DeleteItem(&a.head, nullptr), -1);
    EXPECT_EQ(DeleteItem(nullptr, b1), -1);
}

TEST(ItemList, AllDeleteEmptiesAndListIsReusable) {
    List l;
    for (int i = 0; i < 100; ++i) l.add(i);
    EXPECT_EQ(l.head.count, 100);
    AllDeleteItem(&l.head);
    EXPECT_EQ(l.head.first, nullptr);
    EXPECT_EQ(l.head.last, nullptr);
    EXPECT_EQ(l.head.count, 0);
    AllDeleteItem(&l.head);  // an empty list is fine
    l.add(5);
    EXPECT_EQ(l.tags(), (std::vector<int>{5}));
}

TEST(ItemList, AddRefusesASizeWithoutRoomForTheLinks) {
    List l;
    EXPECT_EQ(AddItem(&l.head, 0), nullptr);
    EXPECT_EQ(AddItem(&l.head, static_cast<int>(sizeof(ItemLinks)) - 1), nullptr);
    EXPECT_EQ(AddItem(nullptr, 64), nullptr);
    EXPECT_EQ(l.head.count, 0);
    EXPECT_NE(AddItem(&l.head, static_cast<int>(sizeof(ItemLinks))), nullptr);
}

}  // namespace
