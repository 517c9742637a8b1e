// Reads a message with Python's standard email package (parse_mail.py), an independent reader
// of what the encoder writes and what a server receives.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace wdx::mail::testing {

struct Part {
  std::string type;
  std::string fileName;
  std::string payload;
};

struct Parsed {
  std::vector<std::string> defects;
  std::vector<Part> parts;                              // leaf parts in order
  std::map<std::string, std::string> headers;           // name -> decoded value (code page 1252)
  std::vector<std::vector<std::string>> addresses;      // field, display name, address
  std::vector<std::pair<std::string, std::string>> uu;  // file name, data
  std::string output;                                   // what the reader printed, for messages
};

inline std::string FromHex(const std::string& hex) {
  if (hex == "-") return std::string();
  std::string out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

// Hands a message to Python's email package (parse_mail.py). `stuffed`: the text is SMTP data
// as the encoder wrote it, whose leading dots the reader takes off first; otherwise it is a
// message as a server stored it.
inline Parsed ReadWithPython(const std::string& encoded, bool stuffed = true) {
  Parsed parsed;
  static int counter = 0;
  auto path = std::filesystem::temp_directory_path() /
              ("wdx_mail_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + ".eml");
  {
    std::ofstream f(path, std::ios::binary);
    f << encoded;
  }
  std::string command = std::string(WDX_PYTHON3) + " " + WDX_PARSE_MAIL_SCRIPT + " " + path.string() + (stuffed ? "" : " --stored") + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    parsed.defects.push_back("cannot start " + command);
    return parsed;
  }
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) parsed.output += buffer;
  int status = ::pclose(pipe);
  std::filesystem::remove(path);
  if (status != 0) parsed.defects.push_back("reader failed: " + parsed.output);

  std::istringstream lines(parsed.output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "DEFECT") {
      parsed.defects.push_back(line);
    } else if (kind == "PART") {
      std::string index, type, name, payload;
      words >> index >> type >> name >> payload;
      parsed.parts.push_back({type, FromHex(name), FromHex(payload)});
    } else if (kind == "HEADER") {
      std::string name, value;
      words >> name >> value;
      parsed.headers[name] = FromHex(value);
    } else if (kind == "ADDR") {
      std::string field, name, address;
      words >> field >> name >> address;
      parsed.addresses.push_back({field, FromHex(name), FromHex(address)});
    } else if (kind == "UU") {
      std::string name, data;
      words >> name >> data;
      parsed.uu.emplace_back(FromHex(name), FromHex(data));
    }
  }
  return parsed;
}

}  // namespace wdx::mail::testing
