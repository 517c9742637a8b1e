// smtp_sink.py as a test's server: aiosmtpd on the loopback address, keeping every message it
// accepts, with the envelope it came with.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "server_process.h"

namespace wdx::mail::testing {

class SmtpSink {
 public:
  explicit SmtpSink(const std::vector<std::string>& refused = {})
      : folder_(UniqueTempPath("wdx_sink")), process_(Args(folder_, refused)) {}
  ~SmtpSink() {
    process_.Stop();
    std::filesystem::remove_all(folder_);
  }
  std::string Address() const { return process_.Address(); }

  struct Received {
    std::string data;
    std::vector<std::string> envelope;  // sender, then the recipients
  };
  // Waits for the server's next message.
  Received Next() {
    std::string line = process_.NextLine();
    Received r;
    if (line.rfind("MESSAGE ", 0) != 0) {
      ADD_FAILURE() << "no message, the server said: " << line;
      return r;
    }
    std::string k = line.substr(8);
    r.data = ReadAll(folder_ / (k + ".eml"));
    std::istringstream env(ReadAll(folder_ / (k + ".env")));
    for (std::string l; std::getline(env, l);) r.envelope.push_back(l);
    return r;
  }

 private:
  static std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
  }
  static std::vector<std::string> Args(const std::filesystem::path& folder, const std::vector<std::string>& refused) {
    std::filesystem::create_directories(folder);
    std::vector<std::string> args = {WDX_SMTP_SINK, folder.string(), "--limit", "120"};
    for (const std::string& r : refused) args.insert(args.end(), {"--refuse", r});
    return args;
  }
  std::filesystem::path folder_;
  ServerProcess process_;
};

}  // namespace wdx::mail::testing
