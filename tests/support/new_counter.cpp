#include "support/new_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> counted{0};
std::atomic<new_counter::Check> countCheck{nullptr};
// Set while the check looks at an operator new of this thread.
thread_local bool checking = false;

void countNew() {
    if (!counting.load(std::memory_order_relaxed) || checking) {
        return;
    }
    const new_counter::Check check = countCheck.load(std::memory_order_relaxed);
    checking = true;
    const bool counts = check == nullptr || check();
    checking = false;
    if (counts) {
        counted.fetch_add(1, std::memory_order_relaxed);
    }
}

// Aligned blocks are carved out of a larger malloc'd one, whose start is kept just before the
// block: std::aligned_alloc is missing from Windows' C runtime, whose own aligned blocks need a
// free of their own.
void* allocate(std::size_t size, std::size_t alignment) {
    countNew();
    size = size == 0 ? 1 : size;
    if (alignment == 0) {
        return std::malloc(size);
    }
    void* whole = std::malloc(size + alignment + sizeof(void*));
    if (whole == nullptr) {
        return nullptr;
    }
    const std::uintptr_t after = reinterpret_cast<std::uintptr_t>(whole) + sizeof(void*);
    void** block = reinterpret_cast<void**>((after + alignment - 1) / alignment * alignment);
    block[-1] = whole;
    return block;
}

void releaseAligned(void* memory) {
    if (memory != nullptr) {
        std::free(static_cast<void**>(memory)[-1]);
    }
}

void* allocateOrThrow(std::size_t size, std::size_t alignment) {
    if (void* memory = allocate(size, alignment)) {
        return memory;
    }
    throw std::bad_alloc();
}

} // namespace

namespace new_counter {

void start(Check check) {
    countCheck = check;
    counted = 0;
    counting = true;
}

long stop() {
    counting = false;
    return counted.load();
}

} // namespace new_counter

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    return allocateOrThrow(size, 0);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size, 0);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size, 0);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size, 0);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    releaseAligned(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    releaseAligned(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    releaseAligned(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    releaseAligned(memory);
}

#pragma GCC diagnostic pop
