// wdxpasswordtag PASSWORD: prints the password command the editor stores for PASSWORD
// ("<PASSP:" + the enciphered password + ">"), as the prompts end-to-end test needs it.
#include <cstdio>
#include <string>

#include "shared/cipher.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wdxpasswordtag PASSWORD\n");
    return 2;
  }
  std::printf("<PASSP:%s>", wdx::EncipherText(argv[1], wdx::kMacroTextKey, 0x3C).c_str());
  return 0;
}
