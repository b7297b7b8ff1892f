#include "log/big_buffer.h"

#include <sys/mman.h>

namespace loglezer {

void* allocate_big(std::size_t bytes) {
    constexpr std::size_t kHuge = std::size_t{2} << 20;
    void* p = nullptr;
    if (bytes >= 2 * kHuge) {
        const std::size_t rounded = (bytes + kHuge - 1) / kHuge * kHuge;
        if (posix_memalign(&p, kHuge, rounded) != 0) throw std::bad_alloc();
        madvise(p, rounded, MADV_HUGEPAGE);  // a hint only; failure is harmless
    } else {
        p = std::malloc(bytes != 0 ? bytes : 1);
        if (p == nullptr) throw std::bad_alloc();
    }
    return p;
}

}  // namespace loglezer
