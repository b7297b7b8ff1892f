#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

namespace loglezer {

// Memory for the text of a large log.
//
// Why it exists: the yearly view of a log of a million lines (47 MB, the
// benchmark against an awk one-liner, tools/bench-vs-mawk.sh) takes about an
// eighth more CPU time without it. The kernel then hands the text's memory
// out 4 KiB at a time, clearing each page, and the program clears it once
// more before the read overwrites it. Real logs have a few thousand lines,
// and for them this is plain malloc. The fuzz target fuzz_load checks that a
// log read into this memory gives the lines its bytes hold, split one byte
// at a time.

// `bytes` bytes, not cleared, to be given back with std::free; a block of
// 4 MiB or more is aligned to 2 MiB and marked for transparent huge pages,
// so that tens of megabytes cost a few page faults instead of thousands.
// Fails with std::bad_alloc.
void* allocate_big(std::size_t bytes);

// A std::vector allocator over allocate_big. An element made without a
// value is left uninitialised: resizing a buffer of chars does not clear
// memory that a read overwrites anyway.
template <class T>
struct BigAllocator {
    using value_type = T;

    BigAllocator() = default;
    template <class U>
    BigAllocator(const BigAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { return static_cast<T*>(allocate_big(n * sizeof(T))); }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }

    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }

    template <class U>
    bool operator==(const BigAllocator<U>&) const noexcept {
        return true;
    }
    template <class U>
    bool operator!=(const BigAllocator<U>&) const noexcept {
        return false;
    }
};

// The raw content of a log file.
using ContentBuffer = std::vector<char, BigAllocator<char>>;

}  // namespace loglezer
