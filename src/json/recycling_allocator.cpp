#include "json/recycling_allocator.h"

namespace quillon::json {

thread_local BlockShelves::Closer BlockShelves::t_closer;

}  // namespace quillon::json
