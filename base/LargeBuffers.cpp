// SPDX-License-Identifier: GPL-3.0-or-later
#include "LargeBuffers.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace talmo {

void keepLargeBuffersForReuse() {
#if defined(__GLIBC__)
    // Buffers below 32 MB (the most the library allows) come from the heap
    // rather than a mapping of their own, and up to 256 MB freed at the
    // heap's top stay with the process.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
}

} // namespace talmo
