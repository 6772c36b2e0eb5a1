// Saving a small file so that it is never seen half written: the bytes go to a file beside
// it, which is then renamed over it.
#pragma once

#include <cstddef>

// Replaces the file at path (absolute) with bytes: written to "path.new" first, flushed to
// the disk, then renamed over path, so a write that fails half way (disk full, a read-only
// folder, the program killed) leaves the old file whole. False when it failed; the file
// beside it is then removed again.
bool ReplaceFile(const char* path, const void* bytes, std::size_t size);
