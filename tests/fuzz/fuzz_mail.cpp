// Any bytes as mail: a whole message and a news article decoded (headers, addresses, MIME
// parts, the transfer codecs), the decoded message encoded again, and the header-value and
// line codecs on their own. The mail code reports bad input by its own exceptions; any other
// exception, a crash or a sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "platform/memory/memory_registry.h"
#include "player/mail/encode_options.h"
#include "player/mail/header_values.h"
#include "player/mail/mail_errors.h"
#include "player/mail/mail_message.h"
#include "player/mail/text_codecs.h"

namespace {

volatile std::size_t sink;

template <class Message>
void DecodeAndEncode(wdx::platform::Registry& registry, const std::string& bytes) {
  using namespace wdx::mail;
  Message message(registry);
  try {
    std::istringstream in(bytes);
    message.Decode(in);
  } catch (const MailException&) {
    return;
  }
  try {
    BoundaryGenerator boundaries(1);
    std::ostringstream out;
    message.Encode(out, {&boundaries, {}});
    sink = out.str().size();
  } catch (const MailException&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wdx;
  using namespace wdx::mail;
  const std::string bytes(fuzz::AsText(data, size));
  platform::MemoryRegistry registry;
  registry.SetString(platform::RegistryRoot::kClassesRoot, ".txt", "Content Type", "text/plain");
  DecodeAndEncode<TmsMessage>(registry, bytes);
  DecodeAndEncode<TmsArticle>(registry, bytes);

  // Line by line through the header-value parsers and the codecs.
  fuzz::ForEachPiece(bytes, "\n", [](std::string_view line) {
    try {
      TmsMailAddress address;
      ParseAddress(line, address);
      std::size_t n = address.Name().size() + address.Address().size();
      n += StripQuotes(line).size() + GetParameter("charset", line).size() + FirstToken(line).size();
      n += DecodeHeaderWords(line).size() + Base64DecodeLine(line).size() + QPDecodeString(line).size();
      n += UUFileName(line).size() + static_cast<std::size_t>(IsUUBegin(line)) + UUDecodeLine(line).size();
      sink = n;
    } catch (const MailException&) {
    }
  });
  return 0;
}
