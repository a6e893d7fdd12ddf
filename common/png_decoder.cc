#include "common/png_decoder.h"

#include <png.h>

#include <cstring>

namespace common {
namespace {

// Deflate cannot pack more than about 1032 bytes into one; a header whose
// image data would need more than this many bytes per file byte cannot be
// backed by the file, so it is refused before anything is allocated.
constexpr double kMaxInflateRatio = 1100.0;

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t offset;
};

// libpng takes image data in pieces of at most this many bytes.
constexpr size_t kImageDataPiece = 8192;
// A chunk's checksum and the next chunk's length and type: what libpng may
// read between two pieces of image data.
constexpr size_t kChunkSeam = 12;

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  size_t left = reader->size - reader->offset;
  if (length > left) {
    // Never read beyond the file's data: libpng's error path longjmps back.
    png_error(png, "Read Error: file ends before the image is complete");
  }
  std::memcpy(out, reader->data + reader->offset, length);
  reader->offset += length;
  left -= length;
  // Near the end of the data the pieces shrink to what is left, so that a
  // file cut in its image data hands libpng every byte it holds: the rows
  // those bytes complete are kept instead of failing with the whole piece.
  size_t piece = left > kChunkSeam ? left - kChunkSeam : 1;
  if (piece < kImageDataPiece) png_set_compression_buffer_size(png, piece);
}

// Bytes of filtered image data the header asks for, counted as if not
// interlaced. An interlaced image needs a little more (the filter bytes and
// padding of its pass rows), so this never overstates the claim and never
// refuses a file whose data could be real.
double ClaimedDataBytes(png_uint_32 width, png_uint_32 height, int bit_depth,
                        int channels) {
  double row_bits = static_cast<double>(width) * bit_depth * channels;
  return static_cast<double>(height) * (row_bits / 8.0 + 1.0);
}

struct ReadState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  bool header_done = false;
};

// Everything that can longjmp lives here, behind one setjmp; returns the
// outcome and leaves destruction of the read structure to the caller.
Status Decode(ReadState* state, MemoryReader* reader, Image* image) {
  png_structp png = state->png;
  png_infop info = state->info;
  if (setjmp(png_jmpbuf(png))) {
    return state->header_done ? Status::kDamagedData : Status::kLoadFailed;
  }
  png_set_read_fn(png, reader, ReadFromMemory);
  png_read_info(png, info);

  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  int bit_depth = png_get_bit_depth(png, info);
  int channels = png_get_channels(png, info);
  if (width > static_cast<png_uint_32>(kMaxImageSide) ||
      height > static_cast<png_uint_32>(kMaxImageSide)) {
    return Status::kLoadFailed;
  }
  if (ClaimedDataBytes(width, height, bit_depth, channels) >
      kMaxInflateRatio * static_cast<double>(reader->size) + 65536.0) {
    return Status::kLoadFailed;
  }

  int passes = png_set_interlace_handling(png);
  bool has_alpha = false;
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_set_tRNS_to_alpha(png);
    has_alpha = true;
  }
  int colour_type = png_get_color_type(png, info);
  if (colour_type & PNG_COLOR_MASK_ALPHA) has_alpha = true;
  if (colour_type == PNG_COLOR_TYPE_PALETTE) {
    png_set_palette_to_rgb(png);
  } else if ((colour_type & PNG_COLOR_MASK_COLOR) == 0) {
    if (bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    png_set_gray_to_rgb(png);
  }
  if (bit_depth == 16) png_set_strip_16(png);
  // The store always holds four bytes a pixel; a missing alpha channel gets
  // a filler byte, which no read returns.
  if (!has_alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) {
    return Status::kLoadFailed;
  }

  if (!image->Allocate(static_cast<int>(width), static_cast<int>(height))) {
    return Status::kLoadFailed;
  }
  state->header_done = true;
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y) {
      png_read_row(png, image->MutableRow(static_cast<int>(y)), nullptr);
    }
  }
  // The rest of the file: the image data's own checksum and the chunks up
  // to the end. A file cut or broken there has every pixel, but is damaged
  // all the same and reported so.
  png_read_end(png, nullptr);
  return Status::kOk;
}

}  // namespace

Status DecodePng(const uint8_t* data, size_t size, Image* image) {
  image->Clear();
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return Status::kLoadFailed;
  ReadState state;
  state.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr,
                                     nullptr);
  if (state.png == nullptr) return Status::kLoadFailed;
  state.info = png_create_info_struct(state.png);
  if (state.info == nullptr) {
    png_destroy_read_struct(&state.png, nullptr, nullptr);
    return Status::kLoadFailed;
  }
  MemoryReader reader{data, size, 0};
  Status status = Decode(&state, &reader, image);
  png_destroy_read_struct(&state.png, &state.info, nullptr);
  if (status == Status::kLoadFailed) image->Clear();
  return status;
}

}  // namespace common
