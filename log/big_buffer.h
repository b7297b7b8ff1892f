#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>
#include <vector>

namespace loglezer {

// An allocator for the large arrays a log is loaded into. Blocks of 4 MiB
// and more are aligned to 2 MiB and marked for transparent huge pages, so a
// log of tens of megabytes costs a few page faults instead of thousands.
// Elements are default-initialised: resizing a buffer of chars does not clear
// memory that a read overwrites anyway.
template <class T>
struct BigAllocator {
    using value_type = T;

    BigAllocator() = default;
    template <class U>
    BigAllocator(const BigAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        constexpr std::size_t kHuge = std::size_t{2} << 20;
        const std::size_t bytes = n * sizeof(T);
        void* p = nullptr;
        if (bytes >= 2 * kHuge) {
            const std::size_t rounded = (bytes + kHuge - 1) / kHuge * kHuge;
            if (posix_memalign(&p, kHuge, rounded) != 0) throw std::bad_alloc();
            madvise(p, rounded, MADV_HUGEPAGE);  // a hint only; failure is harmless
        } else {
            p = std::malloc(bytes ? bytes : 1);
            if (!p) throw std::bad_alloc();
        }
        return static_cast<T*>(p);
    }
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
