// Sending to a real SMTP server on the loopback address (aiosmtpd, started here, keeping
// nothing): small messages per second over one connection, and the throughput of a message
// with a 20 MB attachment (encoding included; MB/s in the bytes_per_second column). The
// server is a Python program, so the figures are bounded by it as much as by the client.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/memory/bsd_sockets.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_registry.h"
#include "player/mail/smtp_client.h"
#include "server_process.h"

namespace {

using namespace wdx::mail;

struct Session {
  wdx::platform::BsdSockets sockets;
  wdx::platform::MemoryClock clock;
  wdx::platform::MemoryDesktop desktop{clock};
  std::filesystem::path folder = testing::UniqueTempPath("wdx_bench_sink");
  testing::ServerProcess server{{WDX_SMTP_SINK, (std::filesystem::create_directories(folder), folder.string()),
                                 "--discard", "--limit", "600"}};
  wdx::platform::MemoryRegistry registry;
  TmsMessage message{registry};
  TmsSMTP smtp{sockets, desktop};

  Session() {
    message.Sender().SetAddress("user@example.com");
    message.Recipients().AddAddress("ann@example.com", "Ann");
    message.Body() = {"A short message."};
    smtp.SetTimeOut(60);
    smtp.SetMailMessage(&message);
    smtp.SetServer(server.Address());
    smtp.SetWinsockLoaded(true);
    smtp.Connect();
  }
  ~Session() {
    smtp.Disconnect();
    server.Stop();
    std::filesystem::remove_all(folder);
  }
};

void BM_SmallMessages(benchmark::State& state) {
  Session s;
  for (auto _ : state) s.smtp.SendMail();
  state.counters["messages_per_second"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SmallMessages)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_TwentyMegabyteAttachment(benchmark::State& state) {
  Session s;
  constexpr std::size_t kSize = 20 * 1024 * 1024;
  std::string data(kSize, '\0');
  for (std::size_t i = 0; i < kSize; ++i) data[i] = static_cast<char>((i * 31 + 7) & 0xFF);
  TmsAttItem item;
  item.SetFileName("big.bin", s.registry);
  item.SetData(std::move(data));
  s.message.Attachments().Add(std::move(item));
  for (auto _ : state) s.smtp.SendMail();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(BM_TwentyMegabyteAttachment)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
