#pragma once

namespace kivo::platform {

/// @brief Hands the memory the program has freed back to the system. The C library keeps freed
/// heap pages for later allocations; after a window full of pictures and a browser page are gone
/// (the sign-in window), those pages would otherwise count against the program for its whole run.
/// Does nothing where the C library cannot do it.
void ReturnFreeMemory();

} // namespace kivo::platform
