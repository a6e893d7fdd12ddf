// Turns the bytes of a PNG file into an Image. Pure: no files, no console;
// libpng's own messages go to stderr through its default handlers.
#ifndef COMMON_PNG_DECODER_H_
#define COMMON_PNG_DECODER_H_

#include <cstddef>
#include <cstdint>

#include "common/image.h"
#include "common/status.h"

namespace common {

// kOk: the whole image was decoded.
// kDamagedData: the header was good but the image data broke off or was
//   corrupt; rows decoded before the damage keep their colours, all other
//   pixels read 0, width and height are the header's.
// kLoadFailed: no PNG signature, a broken header or early chunk, a side over
//   kMaxImageSide, a header claiming more data than the file could hold even
//   at deflate's best ratio, or no memory for the store. *image is empty.
Status DecodePng(const uint8_t* data, size_t size, Image* image);

}  // namespace common

#endif  // COMMON_PNG_DECODER_H_
