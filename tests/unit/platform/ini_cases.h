// The INI rules as a table of cases. The native tests run it against the stand-in; the
// Windows test program runs it against both the stand-in and Windows' own functions, each
// writing what the other reads, so the two are held to the same answers.
#pragma once

#include <cstddef>
#include <vector>

namespace wdx::test {

struct IniRead {
  const char* section;
  const char* key;
  const char* defaultValue;
  std::size_t bufferSize;
  const char* expected;
};

struct IniWrite {
  const char* section;
  const char* key;
  const char* value;
};

struct IniCase {
  const char* name;
  const char* initial;  // the file's bytes before the writes; nullptr: no file
  std::vector<IniWrite> writes;
  std::vector<IniRead> reads;
};

inline const std::vector<IniCase>& IniCases() {
  static const std::vector<IniCase> cases = {
      {"missing file gives the default", nullptr, {}, {{"Main", "Key", "dflt", 256, "dflt"}}},
      {"names compare without case",
       "[Main]\r\nKeyName=Value\r\n",
       {},
       {{"MAIN", "KEYNAME", "", 256, "Value"}, {"main", "keyname", "", 256, "Value"}}},
      {"missing section or key gives the default",
       "[Main]\r\nA=1\r\n[Other]\r\nB=2\r\n",
       {},
       {{"Main", "B", "none", 256, "none"}, {"Nope", "A", "none", 256, "none"}, {"Other", "B", "", 256, "2"}}},
      {"value is cut to the buffer size minus one",
       "[S]\r\nK=abcdefgh\r\n",
       {},
       {{"S", "K", "", 4, "abc"}, {"S", "K", "", 9, "abcdefgh"}, {"S", "K", "", 8, "abcdefg"}}},
      {"default is cut too and loses trailing blanks",
       "[S]\r\n",
       {},
       {{"S", "K", "abcdef", 3, "ab"}, {"S", "K", "x  ", 256, "x"}, {"S", "K", "  lead", 256, "  lead"}}},
      {"blanks around names and values are trimmed",
       "[S]\r\n  Key  =   spaced value  \r\n\tTab\t=\tv\t\r\n",
       {},
       {{"S", "Key", "", 256, "spaced value"}, {"S", "Tab", "", 256, "v"}}},
      {"surrounding quotes are removed",
       "[S]\r\nD=\"double\"\r\nQ='single'\r\nU=\"open\r\nI=a\"b\"\r\nE=\"\"\r\nM=\"mixed'\r\nO=\"\r\n",
       {},
       {{"S", "D", "", 256, "double"},
        {"S", "Q", "", 256, "single"},
        {"S", "U", "", 256, "\"open"},
        {"S", "I", "", 256, "a\"b\""},
        {"S", "E", "x", 256, ""},
        {"S", "M", "", 256, "\"mixed'"},
        {"S", "O", "", 256, "\""}}},
      {"empty value, value with equals signs, first of duplicate keys",
       "[S]\r\nEmpty=\r\nEq=a=b=c\r\nDup=first\r\nDup=second\r\n",
       {},
       {{"S", "Empty", "dflt", 256, ""}, {"S", "Eq", "", 256, "a=b=c"}, {"S", "Dup", "", 256, "first"}}},
      {"LF line ends and keys before the first section",
       "Loose=1\n[S]\nK=v\n",
       {},
       {{"S", "K", "", 256, "v"}, {"S", "Loose", "d", 256, "d"}}},
      {"a key belongs to its own section only",
       "[A]\r\nK=a\r\n[B]\r\nK=b\r\n",
       {},
       {{"A", "K", "", 256, "a"}, {"B", "K", "", 256, "b"}}},
      // Of two sections with one name only the first counts.
      {"section headers: blanks inside the brackets, text after them, duplicates",
       "[ Spaced ]\r\nA=1\r\n[Tail] ; note\r\nB=2\r\n[Dup]\r\nC=3\r\n[Dup]\r\nD=4\r\n",
       {},
       {{"Spaced", "A", "d", 256, "1"},
        {"Tail", "B", "d", 256, "2"},
        {"Dup", "C", "d", 256, "3"},
        {"Dup", "D", "d", 256, "d"}}},
      {"comment lines, blanks inside names, a quoted value cut short",
       "[S]\r\n;Hidden=1\r\nMy Key=two words\r\nQ=\"abcdef\"\r\n",
       {},
       {{"S", "Hidden", "d", 256, "d"},
        {"S", ";Hidden", "d", 256, "1"},
        {"S", "my key", "d", 256, "two words"},
        {"S", "Q", "", 4, "abc"},
        {"S", "Q", "", 1, ""}}},
      {"first write creates the file",
       nullptr,
       {{"Main", "Key", "Value"}},
       {{"Main", "Key", "", 256, "Value"}, {"main", "key", "", 256, "Value"}}},
      {"write replaces a key in place, found without case",
       "[S]\r\nAlpha=1\r\nBeta=2\r\n",
       {{"s", "ALPHA", "9"}},
       {{"S", "Alpha", "", 256, "9"}, {"S", "Beta", "", 256, "2"}}},
      {"writes add keys and sections",
       "[S]\r\nA=1\r\n\r\n[T]\r\nB=2\r\n",
       {{"S", "New", "n"}, {"U", "Other", "o"}, {"T", "B", "22"}},
       {{"S", "A", "", 256, "1"},
        {"S", "New", "", 256, "n"},
        {"T", "B", "", 256, "22"},
        {"U", "Other", "", 256, "o"}}},
      {"written values read back trimmed and unquoted",
       nullptr,
       {{"S", "Blanks", "  in the middle  "}, {"S", "Quoted", "\"q\""}, {"S", "Empty", ""}, {"S", "Long", "0123456789"}},
       {{"S", "Blanks", "", 256, "in the middle"},
        {"S", "Quoted", "", 256, "q"},
        {"S", "Empty", "d", 256, ""},
        {"S", "Long", "", 6, "01234"}}},
      {"written names lose surrounding blanks",
       "[S]\nOld=1\n",
       {{" S ", " Key ", "v"}, {"S", "Old", "2"}},
       {{"S", "Key", "", 256, "v"}, {"S", "Old", "", 256, "2"}}},
      {"a second write of the same key keeps one entry",
       nullptr,
       {{"S", "K", "one"}, {"S", "k", "two"}, {"S", "K", "three"}},
       {{"S", "K", "", 256, "three"}}},
  };
  return cases;
}

}  // namespace wdx::test
