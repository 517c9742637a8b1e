// JPEG files made and read by libjpeg itself, so the tests never check the player's codec
// against itself: a gradient picture of a given size, and a file's size and pixels.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace wdx::player::testing {

// Red grows to the right, green downwards, blue is constant: a picture whose pixels a lossy
// round trip keeps close.
inline std::vector<std::uint8_t> GradientRgb(int width, int height) {
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      rgb.push_back(static_cast<std::uint8_t>(x * 255 / (width > 1 ? width - 1 : 1)));
      rgb.push_back(static_cast<std::uint8_t>(y * 255 / (height > 1 ? height - 1 : 1)));
      rgb.push_back(96);
    }
  }
  return rgb;
}

inline std::string MakeJpeg(int width, int height, int quality = 90) {
  std::vector<std::uint8_t> rgb = GradientRgb(width, height);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* bytes = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &bytes, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = rgb.data() + static_cast<std::size_t>(info.next_scanline) * static_cast<std::size_t>(width) * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string file(reinterpret_cast<const char*>(bytes), size);
  std::free(bytes);
  return file;
}

struct DecodedJpeg {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

// Decodes a JPEG file that must be valid (libjpeg's default error handling ends the test
// program on a broken one, which then fails loudly).
inline DecodedJpeg ReadJpeg(const std::string& file) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()), static_cast<unsigned long>(file.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  DecodedJpeg out;
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.rgb.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = out.rgb.data() + static_cast<std::size_t>(info.output_scanline) * static_cast<std::size_t>(out.width) * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return out;
}

// The largest difference of any channel of any pixel; 256 when the sizes differ.
inline int LargestDifference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  if (a.size() != b.size()) return 256;
  int largest = 0;
  for (std::size_t i = 0; i < a.size(); ++i) largest = std::max(largest, std::abs(int{a[i]} - int{b[i]}));
  return largest;
}

}  // namespace wdx::player::testing
