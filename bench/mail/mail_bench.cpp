// Encoding throughput of a message with one 5 MB attachment, for each transfer encoding: bytes
// of attachment per second (MB/s in the bytes_per_second column). The output goes to a sink
// that counts and drops it, so the figure is the encoder's own cost.
#include <benchmark/benchmark.h>

#include <ostream>
#include <random>
#include <streambuf>
#include <string>

#include "platform/memory/memory_registry.h"
#include "player/mail/mail_message.h"

namespace {

using namespace wdx::mail;

constexpr std::size_t kAttachmentSize = 5 * 1024 * 1024;

class CountingSink : public std::streambuf {
 public:
  std::size_t count = 0;

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    count += static_cast<std::size_t>(n);
    return n;
  }
  int_type overflow(int_type c) override {
    ++count;
    return traits_type::not_eof(c);
  }
};

std::string Binary() {
  std::mt19937 rng(11);
  std::string s(kAttachmentSize, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

// Text lines of words with a few 8-bit letters, CR LF line ends.
std::string Text() {
  std::string s;
  std::mt19937 rng(12);
  while (s.size() < kAttachmentSize) {
    for (int w = 0; w < 10; ++w) {
      int len = 2 + static_cast<int>(rng() % 8);
      for (int i = 0; i < len; ++i) s += rng() % 40 == 0 ? '\xE9' : static_cast<char>('a' + rng() % 26);
      s += ' ';
    }
    s += "\r\n";
  }
  s.resize(kAttachmentSize);
  return s;
}

void EncodeAttachment(benchmark::State& state, const std::string& data, TAttEncoding encoding,
                      TMsgEncoding messageEncoding) {
  wdx::platform::MemoryRegistry registry;
  TmsMessage msg(registry);
  msg.Sender().SetAddress("user@example.com");
  msg.Recipients().AddAddress("ann@example.com", "Ann");
  msg.SetSubject("Figures");
  msg.Body() = {"The file is attached."};
  msg.SetEncoding(messageEncoding);
  TmsAttItem item;
  item.SetFileName("figures.dat", registry);
  item.SetEncoding(encoding);
  item.SetData(data);
  msg.Attachments().Add(item);
  BoundaryGenerator boundaries(1);
  std::size_t written = 0;
  for (auto _ : state) {
    CountingSink sink;
    std::ostream out(&sink);
    msg.Encode(out, {&boundaries, {}});
    written = sink.count;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(data.size()));
  state.counters["output_bytes"] = static_cast<double>(written);
}

void BM_Base64Attachment(benchmark::State& state) {
  static const std::string data = Binary();
  EncodeAttachment(state, data, TAttEncoding::aeBase64, TMsgEncoding::meMIME);
}
void BM_QuotedPrintableAttachment(benchmark::State& state) {
  static const std::string data = Text();
  EncodeAttachment(state, data, TAttEncoding::aeQuotedPrintable, TMsgEncoding::meMIME);
}
void BM_UuencodedAttachment(benchmark::State& state) {
  static const std::string data = Binary();
  EncodeAttachment(state, data, TAttEncoding::aeBase64, TMsgEncoding::meUU);
}

BENCHMARK(BM_Base64Attachment)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuotedPrintableAttachment)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UuencodedAttachment)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
