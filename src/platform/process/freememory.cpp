#include "platform/process/freememory.h"

#include <cstdlib> // says which C library this is

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kivo::platform {

void ReturnFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace kivo::platform
