#include "player/core/protocol.h"

namespace wdx::player {

void AppendChannelChar(std::string& buffer, std::uint8_t c) {
  if (buffer.size() < kReceiveBufferMax) buffer.push_back(static_cast<char>(c));
}

}  // namespace wdx::player
