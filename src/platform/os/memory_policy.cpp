#include "platform/os/memory_policy.h"

// Any C library header says which C library this is.
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Blocks up to 32 MiB (the largest the allocator takes from its heap) come from the
    // heap, whose freed top is kept up to 256 MiB. Setting either also stops the allocator
    // from moving its thresholds by itself.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
#endif
}
