#include "common/image_loader.h"

#include "common/platform.h"
#include "common/png_decoder.h"

namespace common {

Status LoadImage(const std::string& path, Image* image) {
  image->Clear();
  std::string bytes;
  if (!ReadWholeFile(path, &bytes)) return Status::kLoadFailed;
  return DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()),
                   bytes.size(), image);
}

}  // namespace common
