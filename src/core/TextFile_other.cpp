#include "TextFilePlatform.h"

namespace lobex::text_file {

// Large pages come with no hint here.
void AdviseLargeBuffer(char*, std::size_t) {}

} // namespace lobex::text_file
