#pragma once

#include <cstddef>

namespace lobex::text_file {

// Tells the system that the buffer about to be filled with a large file is best held in large
// pages: a few page faults instead of thousands (a quarter of reading a large far-field grid).
// Only a hint: nothing changes where the system has no such pages.
void AdviseLargeBuffer(char* data, std::size_t size);

} // namespace lobex::text_file
