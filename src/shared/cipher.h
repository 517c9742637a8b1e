// Two small ways of keeping secrets out of plain sight in stored macro text. Both are stored
// formats that the editor writes and the player reads, so their outputs must never change:
// - TKestEncryption turns a short text into upper-case hexadecimal pairs (a random start byte,
//   then one pair per character) and back, with a key;
// - ShiftText swaps neighbouring bands of 25 character codes; applying it twice gives the text
//   back. It hides the passwords of the dial-up and network-drive commands.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace wdx {

// The key of the encrypted-text and password commands, shared by both programs.
inline constexpr std::string_view kMacroTextKey = "MQWEVHPDsrn";
// Used when Key is left empty (no caller of the system does that).
inline constexpr std::string_view kDefaultCipherKey = "Wx7kQ2z";

enum class TActionType { atEncryption, atDecryption };

// The cipher itself. The start byte is the only random part. The result is cut to 255
// characters, the short-string limit of the stored format.
std::string EncipherText(std::string_view text, std::string_view key, std::uint8_t startByte);
// std::nullopt for a cipher text of one or two characters or a pair that is read and is not
// hexadecimal; the callers report that as their own failure.
std::optional<std::string> DecipherText(std::string_view cipher, std::string_view key);

class TKestEncryption {
 public:
  using StartByteSource = std::function<std::uint8_t()>;
  // The default source draws from a generator seeded once from the clock and the system.
  TKestEncryption();
  explicit TKestEncryption(StartByteSource source);

  const std::string& Input() const { return input_; }
  void SetInput(std::string_view s);
  const std::string& Output() const { return output_; }
  void SetOutput(std::string_view s);
  const std::string& Key() const { return key_; }
  void SetKey(std::string_view s);
  TActionType Action() const { return action_; }
  void SetAction(TActionType a) { action_ = a; }

  // Computes Output from Input. False (Output unchanged) when a cipher text cannot be read.
  bool Execute();

 private:
  StartByteSource source_;
  std::string input_, output_, key_;
  TActionType action_ = TActionType::atEncryption;
};

// Per character: 1..25, 51..75, 101..125, 151..175 move up 25; 26..50, 76..100, 126..150,
// 176..200 move down 25; 0 and 201..255 stay.
std::string ShiftText(std::string_view text);

}  // namespace wdx
