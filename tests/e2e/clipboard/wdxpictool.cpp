// wdxpictool: the pictures of the clipboard end-to-end test, through libjpeg itself and the
// system's clipboard, never through the player's own code.
//   makejpeg FILE WIDTH HEIGHT   writes a colour gradient of that size as a JPEG file
//   jpegsize FILE                decodes the JPEG file whole and writes "WIDTHxHEIGHT"
//                                (exit code 1 when libjpeg cannot decode it)
//   clipsize                     writes the size of the clipboard's bitmap as "WIDTHxHEIGHT",
//                                or "none" (exit code 1) when it holds none
#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace {

struct Errors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void Fatal(j_common_ptr info) { std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1); }
void Quiet(j_common_ptr /*info*/) {}

int MakeJpeg(const char* path, int width, int height) {
  std::vector<unsigned char> rgb;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      rgb.push_back(static_cast<unsigned char>(x * 255 / width));
      rgb.push_back(static_cast<unsigned char>(y * 255 / height));
      rgb.push_back(128);
    }
  }
  FILE* out = std::fopen(path, "wb");
  if (out == nullptr) return 1;
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, out);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = rgb.data() + static_cast<std::size_t>(info.next_scanline) * static_cast<std::size_t>(width) * 3;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(out);
  return 0;
}

bool Decode(FILE* in, unsigned* width, unsigned* height) {
  jpeg_decompress_struct info{};
  Errors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = Fatal;
  errors.manager.output_message = Quiet;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, in);
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  std::vector<unsigned char> row(static_cast<std::size_t>(info.output_width) * info.output_components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW r = row.data();
    jpeg_read_scanlines(&info, &r, 1);
  }
  *width = info.output_width;
  *height = info.output_height;
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return true;
}

int JpegSize(const char* path) {
  FILE* in = std::fopen(path, "rb");
  if (in == nullptr) return 1;
  unsigned width = 0;
  unsigned height = 0;
  const bool ok = Decode(in, &width, &height);
  std::fclose(in);
  if (!ok) return 1;
  std::printf("%ux%u", width, height);
  return 0;
}

int ClipSize() {
  bool open = false;
  for (int attempt = 0; attempt < 50 && !open; ++attempt) {
    open = OpenClipboard(nullptr) != 0;
    if (!open) Sleep(20);
  }
  if (!open) return 1;
  int code = 1;
  if (HANDLE data = GetClipboardData(CF_DIB)) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
    if (header != nullptr && GlobalSize(data) >= sizeof(BITMAPINFOHEADER)) {
      std::printf("%ldx%ld", header->biWidth, header->biHeight < 0 ? -header->biHeight : header->biHeight);
      code = 0;
    }
    if (header != nullptr) GlobalUnlock(data);
  }
  CloseClipboard();
  if (code != 0) std::printf("none");
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "makejpeg" && argc == 5) return MakeJpeg(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
  if (command == "jpegsize" && argc == 3) return JpegSize(argv[2]);
  if (command == "clipsize" && argc == 2) return ClipSize();
  std::fprintf(stderr, "usage: wdxpictool makejpeg FILE W H | jpegsize FILE | clipsize\n");
  return 2;
}
