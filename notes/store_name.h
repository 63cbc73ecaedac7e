#pragma once
// The name of a new note's store file inside the notes folder.

#include <cstdint>
#include <functional>
#include <string>

// "\" + n + ".kli" with n uniform in 0..999998 (decimal, no leading zeros), drawn again while
// `exists(storeFolder + name)` is true. The leading "\" is part of the name as stored.
// `random` yields uniform 32-bit values; pass a generator seeded once, not one re-seeded from
// the clock per draw (that repeats the same taken name until the clock ticks).
// Throws std::runtime_error when no free name turns up after 100000 draws, rather than
// hanging when `exists` cannot answer false.
std::string NewStoreName(const std::string& storeFolder,
                         const std::function<bool(const std::string&)>& exists,
                         const std::function<uint32_t()>& random);
