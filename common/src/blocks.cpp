#include "pxall/blocks.h"

#include <cstdlib>

namespace pxall {

namespace {
// The one shared area of the process, from set_table to free_table.
unsigned char* g_area = nullptr;

unsigned char* block_at(size_t offset) { return g_area ? g_area + offset : nullptr; }
}  // namespace

int set_table() {
    if (g_area != nullptr) std::free(g_area);
    g_area = static_cast<unsigned char*>(std::calloc(1, area::kSize));
    if (g_area == nullptr) return -1;
    std::memcpy(g_area + ctop::kMagic, "COMN", 4);
    return 0;
}

void free_table() {
    std::free(g_area);
    g_area = nullptr;
}

unsigned char* get_ctop_addr() { return block_at(area::kCtop); }
unsigned char* get_cnext_addr() { return block_at(area::kCnext); }
unsigned char* get_cnexta_addr() { return block_at(area::kCnexta); }
unsigned char* get_ccar_addr() { return block_at(area::kCcar); }
unsigned char* get_cimg_addr() { return block_at(area::kCimg); }

unsigned char* setup_entry_addr(int i) {
    unsigned char* top = get_ctop_addr();
    if (top == nullptr || i < 0 || i >= ctop::kMaxSetup) return nullptr;
    return top + ctop::kSetupTable + ctop::kSetupEntrySize * static_cast<size_t>(i);
}

unsigned char* set_next_menu(int id) {
    unsigned char* stack = get_cnext_addr();
    if (stack == nullptr) return nullptr;
    int32_t count = get_i32(stack + cnext::kCount);
    if (count >= 0 && count < cnext::kMaxIds) {
        stack[cnext::kIds + count] = static_cast<unsigned char>(id);
        put_i32(stack + cnext::kCount, count + 1);
    }
    return stack;
}

unsigned char* set_back_menu() {
    unsigned char* stack = get_cnext_addr();
    if (stack == nullptr) return nullptr;
    int32_t count = get_i32(stack + cnext::kCount);
    if (count > 0) put_i32(stack + cnext::kCount, count - 1);
    return stack;
}

unsigned char* set_main_menu() {
    unsigned char* stack = get_cnext_addr();
    if (stack != nullptr) put_i32(stack + cnext::kCount, 0);
    return stack;
}

int b_setl(uint32_t* word, int n) {
    if (word == nullptr || n < 0 || n > 31) return -1;
    *word |= uint32_t{1} << n;
    return 0;
}

int b_resetl(uint32_t* word, int n) {
    if (word == nullptr || n < 0 || n > 31) return -1;
    *word &= ~(uint32_t{1} << n);
    return 0;
}

}  // namespace pxall
