// How the process keeps the memory it frees.
#pragma once

namespace vexel::platform {

// Freed memory stays with the process for reuse instead of going back to the system after each
// large free: the GL driver allocates and frees its buffers on every draw, and every fresh page
// costs a fault. Blocks up to 32 MiB then come from the heap, and up to 64 MiB of its free
// space is kept. Called once at start-up, before the window exists.
void keep_freed_memory();

}  // namespace vexel::platform
