// Reading the files of the file loops: a text file line by line, and the records of an ASCII
// delimited file (every field in double quotes, fields separated by commas, one record a line).
//
// A line ends at CR LF, LF or a lone CR; a Ctrl+Z (byte 26) ends the file's text, as the old
// end-of-file mark. The file is read forward once in blocks, so a loop over a large file costs
// one pass, and a line may be as long as memory allows.
#pragma once

#include <cstddef>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wdx::player {

class TextLineReader {
 public:
  // Opens the file (a native path) for reading only.
  explicit TextLineReader(const std::string& nativePath);
  bool IsOpen() const { return open_; }
  // The next line without its line break; nullopt at the end of the text. A read error ends the
  // text as well (Failed() then tells it apart).
  std::optional<std::string> NextLine();
  bool Failed() const { return failed_; }

 private:
  bool Fill();
  std::ifstream file_;
  std::vector<char> buffer_;
  std::size_t at_ = 0;
  std::size_t size_ = 0;
  bool open_ = false;
  bool ended_ = false;
  bool failed_ = false;
};

// The longest field a delimited record holds.
inline constexpr std::size_t kDelimitedFieldMax = 255;

// One record of a delimited file.
struct DelimitedRecord {
  std::vector<std::string> fields;
  // False when a field is longer than kDelimitedFieldMax or the last field does not end with its
  // closing quote: the file is not what the loop reads.
  bool wellFormed = true;
};

// Reads the fields of one line. In a quoted field two double quotes stand for one; a quote
// followed by a comma or the end of the line closes the field, any other quote is a character
// of the field. Characters below 32 are dropped; outside quotes every other character,
// commas too, belongs to the field, as the format has always been read.
DelimitedRecord ParseDelimitedLine(std::string_view line);

// A line holding no character of a field (empty, or blanks of control characters only): no
// record, whatever the loop's counting.
bool IsBlankRecordLine(std::string_view line);

}  // namespace wdx::player
