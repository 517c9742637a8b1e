// What the fuzz targets do with one input, shared with the test that replays the inputs kept
// from earlier findings. Each returns normally for every input: the suite's own exceptions are
// the expected answer to bad input; anything else (another exception, a crash, a read past the
// input) is a finding.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wdx::mail::fuzz {

// The input as the text of a message, decoded as a mail message and as a news article.
void DecodeMessage(const std::uint8_t* data, std::size_t size);

// The input as everything a mail server says: the SMTP client connects, sends a message with a
// copy and a blind copy and disconnects, reading every reply from the input (cut into pieces
// of varying size) until it ends, which closes the connection.
void TalkToServer(const std::uint8_t* data, std::size_t size);

}  // namespace wdx::mail::fuzz
