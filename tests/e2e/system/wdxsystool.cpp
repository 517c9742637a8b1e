// wdxsystool: "keydelay" and "keyspeed" write the keyboard's repeat delay and speed as the
// system reports them, "setkeys DELAY SPEED" gives them back; "rect HWND" writes a window's
// left, top, right and bottom.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND ToHwnd(const char* text) {
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoul(text, nullptr, 10)));
}

int Parameter(UINT action) {
  UINT value = 0;
  if (!SystemParametersInfoA(action, 0, &value, 0)) return 1;
  std::printf("%u\n", value);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "keydelay") == 0) return Parameter(SPI_GETKEYBOARDDELAY);
  if (argc == 2 && std::strcmp(argv[1], "keyspeed") == 0) return Parameter(SPI_GETKEYBOARDSPEED);
  if (argc == 4 && std::strcmp(argv[1], "setkeys") == 0) {
    const bool delay = SystemParametersInfoA(SPI_SETKEYBOARDDELAY, std::strtoul(argv[2], nullptr, 10), nullptr, 0);
    const bool speed = SystemParametersInfoA(SPI_SETKEYBOARDSPEED, std::strtoul(argv[3], nullptr, 10), nullptr, 0);
    return delay && speed ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "rect") == 0) {
    RECT r{};
    if (!GetWindowRect(ToHwnd(argv[2]), &r)) return 1;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    return 0;
  }
  std::fprintf(stderr, "usage: wdxsystool keydelay | keyspeed | setkeys DELAY SPEED | rect HWND\n");
  return 2;
}
