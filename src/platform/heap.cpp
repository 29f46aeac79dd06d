#include "platform/heap.h"

#include <cstdlib>  // defines __GLIBC__ with the C library
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quillon::platform {

void GiveBackFreeMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace quillon::platform
