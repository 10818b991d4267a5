#include "platform/memory_use.h"

#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
#define PC_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PC_ASAN 1
#endif
#endif

#ifdef PC_ASAN
// The sanitizer's runtime exports it; not every compiler ships the header that declares it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

size_t heapBytesInUse() {
#ifdef PC_ASAN
    // The sanitizer's allocator replaces malloc: glibc's figures would read nothing.
    return __sanitizer_get_current_allocated_bytes();
#else
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd; // small blocks in use and the blocks mapped on their own
#endif
}
