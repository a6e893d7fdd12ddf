// Loads the image named by a path: the whole file in one read, then decoded
// by its content (a PNG whatever its name).
#ifndef COMMON_IMAGE_LOADER_H_
#define COMMON_IMAGE_LOADER_H_

#include <string>

#include "common/image.h"
#include "common/status.h"

namespace common {

// As DecodePng; kLoadFailed also when the file cannot be read whole.
Status LoadImage(const std::string& path, Image* image);

}  // namespace common

#endif  // COMMON_IMAGE_LOADER_H_
