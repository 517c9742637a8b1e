// Test servers on the loopback address, each a Python program of this folder run as a child
// process: scripted_server.py (a mail server that follows a script, for failure dialogues)
// and smtp_sink.py (a real SMTP server that keeps what it receives). A server prints
// "PORT <n>" first, then a line per event.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace wdx::mail::testing {

inline std::filesystem::path UniqueTempPath(const std::string& stem) {
  static int counter = 0;
  return std::filesystem::temp_directory_path() /
         (stem + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
}

class ServerProcess {
 public:
  // Runs python3 with `args` (the script first) and reads its PORT line.
  explicit ServerProcess(std::vector<std::string> args) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    args.insert(args.begin(), WDX_PYTHON3);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (::posix_spawn(&pid_, WDX_PYTHON3, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    out_ = ::fdopen(fds[0], "r");
    std::string first = NextLine();
    if (first.rfind("PORT ", 0) == 0) port_ = std::stoi(first.substr(5));
  }
  ~ServerProcess() {
    Stop();
    if (out_ != nullptr) ::fclose(out_);
  }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int Port() const { return port_; }
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

  // The next line the server printed (waits for it); empty once it has ended.
  std::string NextLine() {
    std::string line;
    if (out_ == nullptr) return line;
    for (int c = std::fgetc(out_); c != EOF && c != '\n'; c = std::fgetc(out_)) line += static_cast<char>(c);
    return line;
  }
  // Waits for the server to end on its own and returns the rest of what it printed.
  std::vector<std::string> Finish() {
    std::vector<std::string> lines;
    for (std::string line = NextLine(); !line.empty(); line = NextLine()) lines.push_back(line);
    Stop();
    return lines;
  }
  void Stop() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  FILE* out_ = nullptr;
  int port_ = 0;
};

// scripted_server.py with a script (see there); it serves `connections` connections in turn.
class ScriptedServer {
 public:
  explicit ScriptedServer(const std::vector<std::string>& script, int connections = 1, int limitSeconds = 30)
      : scriptPath_(WriteScript(script)),
        process_({WDX_SCRIPTED_SERVER, scriptPath_.string(), "--connections", std::to_string(connections), "--limit",
                  std::to_string(limitSeconds)}) {}
  ~ScriptedServer() { std::filesystem::remove(scriptPath_); }

  int Port() const { return process_.Port(); }
  std::string Address() const { return process_.Address(); }
  std::vector<std::string> Finish() { return process_.Finish(); }

 private:
  static std::filesystem::path WriteScript(const std::vector<std::string>& script) {
    std::filesystem::path path = UniqueTempPath("wdx_script");
    std::ofstream f(path, std::ios::binary);
    for (const std::string& line : script) f << line << "\n";
    return path;
  }

  std::filesystem::path scriptPath_;
  ServerProcess process_;
};

// A loopback port where nothing listens (bound for a moment, then released).
inline int ClosedLoopbackPort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof a;
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
  ::close(fd);
  return ntohs(a.sin_port);
}

}  // namespace wdx::mail::testing
