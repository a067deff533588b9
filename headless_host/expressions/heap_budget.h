// The user data of the engine's JavaScript heap: how many more bytecode
// interrupts a run may take and how much memory the heap may hold, with
// allocation functions that keep to it.
#pragma once

#include <cstddef>

namespace knotwell::expressions {

struct HeapBudget {
    // First member: our duk_config.h counts it down at every interrupt and
    // stops the script once it goes below zero.
    long long interrupts_left = 0;
    std::size_t bytes_in_use = 0;
    std::size_t bytes_limit = 0;
    bool exhausted_memory = false;
};

// Duktape's allocation functions over a HeapBudget; a request beyond the
// limit fails, which the engine reports as a catchable error.
void* BudgetAlloc(void* budget, std::size_t size);
void* BudgetRealloc(void* budget, void* block, std::size_t size);
void BudgetFree(void* budget, void* block);

}  // namespace knotwell::expressions
