// The baseline of the whole-process timings: loads a sheet with the
// converters' own loader, exactly as a run does, and converts nothing.
#include <cstdio>

#include "common/image.h"
#include "common/image_loader.h"
#include "common/status.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: decode_only IMAGE\n");
    return 2;
  }
  common::Image image;
  common::Status loaded = common::LoadImage(argv[1], &image);
  return common::ExitStatusFor(loaded);
}
