// The e-mail command "<EMAIL:": its codes and its fields, read and written in one place for
// the player's e-mail command and the editor's e-mail dialog, script editor and wizard.
//
// The tag is "<EMAIL:", the receipt code ("RY" asks for a return receipt; any other pair:
// none), the recipient source ("R1": the lists follow; any other pair: ask at run time), after
// "R1" up to three lists in the order "TO", "CC", "BL" (each a code and items "name|address;",
// ended by 0x01), the body source ("S1" text, "S2" ask for body, subject and receipt, "S3" the
// clipboard, "S4" a text file), the body text or file path ended by 0x01 ("S1", "S4"), the
// subject ended by 0x01 (not after "S2"), the attachment source ("A1" none, "A2" paths
// "path;" ended by 0x01, "A3" ask), then one more character, the ">".
//
// Unlike the fixed layouts of command_layouts.h its fields come and go with its codes, so it
// has a description of its own; its reach is the tag table's (TagEnd agrees with it).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wdx {

inline constexpr char kEmailKeyword[] = "<EMAIL:";
// The byte that ends the text fields and the lists.
inline constexpr char kEmailFieldEnd = '\x01';

// One item of a recipient list: the text before the first "|" is the name, the rest the
// address; an item without "|" is an address with an empty name.
struct EmailRecipient {
  std::string name;
  std::string address;
  bool operator==(const EmailRecipient&) const = default;
};

enum class EmailBodySource : char { kText = '1', kAsk = '2', kClipboard = '3', kFile = '4', kNone = '\0' };
enum class EmailAttachmentSource : char { kNone = '1', kList = '2', kAsk = '3' };

struct EmailCommand {
  bool returnReceipt = false;
  bool askRecipients = false;  // else the lists below
  std::vector<EmailRecipient> to, cc, bcc;
  // A code other than "S1".."S4" reads as kNone: no body and no subject field.
  EmailBodySource bodySource = EmailBodySource::kText;
  std::string body;  // the text (kText) or the file's path (kFile)
  std::string subject;  // not for kAsk
  EmailAttachmentSource attachmentSource = EmailAttachmentSource::kNone;
  std::vector<std::string> attachments;  // kList
  bool operator==(const EmailCommand&) const = default;
};

// The items of a list (the text between the code and its 0x01): each ended by ";". Text after
// the last ";" (a list no writer makes) is one more item; empty items are dropped.
std::vector<std::string> SplitEmailList(std::string_view list);
EmailRecipient SplitRecipient(std::string_view item);

// The command whose tag starts at pos (text[pos] is "<" of "<EMAIL:"), read as the player reads
// it: a field without its 0x01 runs to the end of the text. `end`, when given, receives the
// position after the tag (what TagEnd gives).
EmailCommand DecodeEmailCommand(std::string_view text, std::size_t pos = 0, std::size_t* end = nullptr);
// The tag of a command; nullopt when a value cannot be written: a field holding 0x01, an item
// or path holding ";", a name holding "|".
std::optional<std::string> EncodeEmailCommand(const EmailCommand& command);

// The list texts as the run-time prompt returns them and the tag holds them: items + 0x01.
std::string JoinEmailRecipients(const std::vector<EmailRecipient>& items);
std::string JoinEmailPaths(const std::vector<std::string>& paths);

}  // namespace wdx
