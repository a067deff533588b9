#include "headless_host/expressions/heap_budget.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

namespace knotwell::expressions {

static_assert(std::is_standard_layout_v<HeapBudget> && offsetof(HeapBudget, interrupts_left) == 0,
              "the engine's timeout check reads interrupts_left at the start of the user data");

namespace {

// Each block carries its size in front, kept at the strictest alignment.
constexpr std::size_t kHeader = alignof(std::max_align_t);

std::size_t SizeOf(void* block) {
    std::size_t size;
    std::memcpy(&size, static_cast<char*>(block) - kHeader, sizeof size);
    return size;
}

bool Admit(HeapBudget* budget, std::size_t old_size, std::size_t new_size) {
    if (new_size > old_size && new_size - old_size > budget->bytes_limit - budget->bytes_in_use) {
        budget->exhausted_memory = true;
        return false;
    }
    return true;
}

void* Resize(HeapBudget* budget, void* block, std::size_t size) {
    const std::size_t old_size = block ? SizeOf(block) : 0;
    if (size > SIZE_MAX - kHeader || !Admit(budget, old_size, size)) return nullptr;
    char* base = static_cast<char*>(
        std::realloc(block ? static_cast<char*>(block) - kHeader : nullptr, kHeader + size));
    if (!base) return nullptr;
    std::memcpy(base, &size, sizeof size);
    budget->bytes_in_use = budget->bytes_in_use - old_size + size;
    return base + kHeader;
}

}  // namespace

void* BudgetAlloc(void* budget, std::size_t size) {
    return Resize(static_cast<HeapBudget*>(budget), nullptr, size);
}

void* BudgetRealloc(void* budget, void* block, std::size_t size) {
    if (block && size == 0) {
        BudgetFree(budget, block);
        return nullptr;
    }
    return Resize(static_cast<HeapBudget*>(budget), block, size);
}

void BudgetFree(void* budget, void* block) {
    if (!block) return;
    static_cast<HeapBudget*>(budget)->bytes_in_use -= SizeOf(block);
    std::free(static_cast<char*>(block) - kHeader);
}

}  // namespace knotwell::expressions
