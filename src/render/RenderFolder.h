#pragma once

#include "RenderOptions.h"

#include <ostream>
#include <string>

namespace lobex::render {

// Whether the load would read the file as a far field: a ".csv" name and the far-field header
// for its first line.
bool IsFarFieldFile(const std::string& path);

// The pictures of every far-field file of the folder options.input into options.out, each file
// drawn by a worker process of this program, options.jobs (else as many as cores) at a time. A
// file that fails is reported and the others go on. Exit status 0 when all were written, 1
// when any failed or there was none.
int RenderFolder(const RenderOptions& options, std::ostream& out, std::ostream& err);

} // namespace lobex::render
