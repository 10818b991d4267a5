#pragma once

#include <cstddef>

// Bytes of the heap the process holds in live allocations (blocks freed but kept back by the sanitizer's
// quarantine do not count): a steadier gauge of a leak than the resident size, which also follows the
// allocator's free pages and the sanitizer's own bookkeeping.
size_t heapBytesInUse();
