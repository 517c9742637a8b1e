// The e-mail command "<EMAIL:": one plain-text message over SMTP, with its recipients, body,
// subject and attachments from the tag or from the "Send E-Mail" prompt, a status window while
// it is sent, and an entry in the e-mail log with its sent-mail index record.
//
// The tag's shape is read before any variable is expanded, and each value is expanded on its
// own: a variable's ";", "|" or 0x01 stays inside the value it stands in, and a line break in a
// subject becomes a blank. Every failure to send ends the run with its message (no "sent" log
// entry); only the user's "&Abort Macro" and a body source that is not there end just the pass
// of the level.
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/macro_prompts.h"
#include "player/mail/mail_errors.h"
#include "player/mail/mail_message.h"
#include "player/mail/smtp_client.h"
#include "shared/email_tag.h"
#include "shared/sent_mail_log.h"
#include "shared/settings.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

using mail::TmsMessage;

constexpr char kErrorCaption[] = "Error";
constexpr char kStatusCaption[] = "Wendrix E-Mail Send";
constexpr char kNoSubject[] = "No Subject";
constexpr int kTimeOutSeconds = 40;
constexpr char kWinsockMissing[] =
    "The necessary winsock files are not present on your computer.  Internet connections cannot be made.  "
    "E-Mail cannot be sent.";
constexpr char kNoConnection[] =
    "A connection could not be made to the SMTP Server. You are either not connected to the Internet or an invalid "
    "SMTP Server has been specified. To change the SMTP Server, please select \"Options | E-Mail Options\" from the "
    "main menu of Wendrix. This E-Mail attempt will abort.";
constexpr char kNoRecipients[] =
    "No recipients specified or no return address specified.  This E-Mail attempt will abort.";
constexpr char kNoClipboardText[] = "There is no text in the clipboard to send. This E-Mail attempt will abort.";
constexpr char kNoBodyFile[] =
    "The text file to use as the E-Mail message body could not be found. This E-Mail attempt will abort.";
constexpr char kWillAbort[] = " This E-Mail attempt will abort.";

// The macro's variables in one value of the tag.
std::string Expanded(Interpreter& in, std::string text) {
  if (text.find("%T") != std::string::npos) {
    std::string expanded = text;
    if (in.Host().ProcessAnsiStringVar(expanded)) return expanded;
  }
  return text;
}

// A subject is one header line.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

void AddRecipients(mail::TmsAddressList& list, const std::vector<EmailRecipient>& items) {
  for (const EmailRecipient& r : items) list.AddAddress(r.address, r.name);
}

std::vector<EmailRecipient> RecipientsOf(const std::string& list) {
  std::vector<EmailRecipient> out;
  for (const std::string& item : SplitEmailList(list.substr(0, list.find(kEmailFieldEnd)))) {
    out.push_back(SplitRecipient(item));
  }
  return out;
}

std::vector<EmailRecipient> ListOf(const mail::TmsAddressList& list) {
  std::vector<EmailRecipient> out;
  for (const mail::TmsMailAddress& a : list) out.push_back({a.Name(), a.Address()});
  return out;
}

// A failure that is only reported: the macro's name is appended, the run goes on (the caller
// ends the level's pass).
void Report(Interpreter& in, const std::string& text) {
  RunState& st = in.State();
  st.appendMacroName = true;
  if (st.logErrors) in.Host().LogError(text);
  if (st.showErrors) in.Host().DoAMessage(kErrorCaption, text);
}

// The lines of the recipient list file (each cut to a short string); none when it cannot be
// read.
std::vector<std::string> RecipientListLines(platform::Files& files, const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(files.NativePath(path), std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(CutShort(line));
  }
  return lines;
}

// The text of a body file: read only (a read-only file is a body too), a last byte 26 dropped,
// cut at a NUL; nullopt when it cannot be opened.
std::optional<std::string> BodyFile(platform::Files& files, const std::string& path) {
  std::ifstream in(files.NativePath(path), std::ios::binary);
  if (!in.is_open()) return std::nullopt;
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!text.empty() && text.back() == '\x1A') text.pop_back();
  return text.substr(0, text.find('\0'));
}

class EmailFamily final : public CommandFamily {
 public:
  explicit EmailFamily(Interpreter& in) { in.Claim<&EmailFamily::Send>(TagId::kEmail, *this); }

 private:
  // The prompt, or nullopt after the run failed because it cannot be shown.
  static std::optional<EmailPromptAnswer> Ask(Interpreter& in, EmailPromptMode mode,
                                              const std::vector<std::string>& recipientList) {
    MacroPrompts* prompts = in.Host().Prompts();
    std::optional<EmailPromptAnswer> answer;
    if (prompts != nullptr) answer = prompts->SendEmail(mode, recipientList);
    if (!answer) in.Fail(kErrorCaption, "The Send E-Mail prompt could not be shown. Macro will abort.");
    return answer;
  }

  Flow Send(Interpreter& in, Level& level, const TagInfo&) {
    const Flow endPass = Flow::JumpTo(level.text.size());
    InterpreterHost& host = in.Host();
    const TSettingsRec* settings = host.Settings();
    platform::Platform* p = host.GetPlatform();
    if (settings == nullptr || p == nullptr || p->sockets == nullptr || p->loop == nullptr ||
        p->registry == nullptr || p->files == nullptr) {
      in.Fail(kErrorCaption, "The e-mail command is not available in this build. Macro will abort.");
      return endPass;
    }
    if (!mail::WinsockAvailable(*p->sockets)) {
      in.Fail("Winsock Missing", kWinsockMissing);
      return endPass;
    }
    const EmailCommand c = DecodeEmailCommand(level.text, level.cursor);

    TmsMessage message(*p->registry);
    message.SetContentType("text/plain");
    message.SetReturnReceipt(c.returnReceipt);
    message.Sender().SetAddress(settings->emailAddress);
    message.Sender().SetName(settings->emailName);
    message.Headers().Add(mail::kPlayerMailerHeader);
    message.SetEncoding(settings->attachmentEncoding != 0 ? mail::TMsgEncoding::meUU : mail::TMsgEncoding::meMIME);

    // Recipients.
    if (c.askRecipients) {
      const std::optional<EmailPromptAnswer> a =
          Ask(in, EmailPromptMode::kRecipients, RecipientListLines(*p->files, settings->emailPath));
      if (!a || !a->proceed) return endPass;
      AddRecipients(message.Recipients(), RecipientsOf(a->first));
      AddRecipients(message.CC(), RecipientsOf(a->second));
      AddRecipients(message.BCC(), RecipientsOf(a->third));
    } else {
      for (auto [items, list] : {std::pair{&c.to, &message.Recipients()}, std::pair{&c.cc, &message.CC()},
                                 std::pair{&c.bcc, &message.BCC()}}) {
        for (const EmailRecipient& r : *items) list->AddAddress(Expanded(in, r.address), Expanded(in, r.name));
      }
    }

    // Body and subject.
    std::string subject = c.subject;
    switch (c.bodySource) {
      case EmailBodySource::kText:
        message.Body().push_back(Expanded(in, c.body));
        break;
      case EmailBodySource::kAsk: {
        const std::optional<EmailPromptAnswer> a = Ask(in, EmailPromptMode::kText, {});
        if (!a || !a->proceed) return endPass;
        message.Body().push_back(a->first);
        subject = a->second;
        if (a->third == "YES") message.SetReturnReceipt(true);
        break;
      }
      case EmailBodySource::kClipboard: {
        const std::optional<std::string> text = p->clipboard ? p->clipboard->GetText() : std::nullopt;
        if (!text || text->empty()) {
          Report(in, kNoClipboardText);
          return endPass;
        }
        message.Body().push_back(*text);
        break;
      }
      case EmailBodySource::kFile: {
        const std::optional<std::string> text = BodyFile(*p->files, Expanded(in, c.body));
        if (!text) {
          Report(in, kNoBodyFile);
          return endPass;
        }
        message.Body().push_back(*text);
        break;
      }
      case EmailBodySource::kNone:
        break;
    }
    if (c.bodySource != EmailBodySource::kNone) {
      if (c.bodySource != EmailBodySource::kAsk) subject = Expanded(in, subject);
      subject = OneLine(CutShort(subject));
      message.SetSubject(subject.empty() ? kNoSubject : subject);
    }

    // Attachments.
    std::vector<std::string> paths;
    if (c.attachmentSource == EmailAttachmentSource::kList) {
      for (const std::string& path : c.attachments) paths.push_back(Expanded(in, path));
    } else if (c.attachmentSource == EmailAttachmentSource::kAsk) {
      const std::optional<EmailPromptAnswer> a = Ask(in, EmailPromptMode::kAttachments, {});
      if (!a || !a->proceed) return endPass;
      paths = SplitEmailList(a->first.substr(0, a->first.find(kEmailFieldEnd)));
    }
    for (const std::string& path : paths) {
      try {
        message.Attachments().AddFile(p->files->NativePath(path));
        // The mail names the file by the path as the command gave it.
        message.Attachments().GetItem(message.Attachments().GetCount() - 1).SetFileName(path, *p->registry);
      } catch (const mail::MailException&) {
        in.Fail(kErrorCaption, "The file " + path + " could not be attached." + kWillAbort);
        return endPass;
      }
    }

    const bool sent = Transfer(in, *p, *settings, message);
    if (sent && settings->keepLog) WriteSentMailLog(*p, *settings, message);
    return sent ? Flow::GoOn() : endPass;
  }

  // Connects, sends and disconnects, with the status window up; false after a failure, which
  // failed the run with its message.
  bool Transfer(Interpreter& in, platform::Platform& p, const TSettingsRec& settings, TmsMessage& message) {
    InterpreterHost& host = in.Host();
    if (!smtp_) smtp_ = std::make_unique<mail::TmsSMTP>(*p.sockets, *p.loop);
    mail::TmsSMTP& smtp = *smtp_;
    smtp.SetMailMessage(&message);
    smtp.SetTimeOut(kTimeOutSeconds);
    smtp.SetServer(settings.smtpHost);
    smtp.SetDefaultPort(static_cast<std::uint16_t>(settings.smtpPort & 0xFFFF));

    host.PauseForNoSpeed(0.3);
    std::unique_ptr<StatusWindow> status;
    if (MacroPrompts* prompts = host.Prompts()) status = prompts->ShowStatus(kStatusCaption, "Connecting", true);
    auto stage = [&](const std::string& text, bool pause) {
      if (status) status->SetText(text);
      if (pause) host.PauseForNoSpeed(0.2);
    };
    stage("Connecting", true);
    smtp.OnPrepare = [&] { stage("Encoding Message", true); };
    smtp.OnSending = [&] { stage("Sending Message", true); };
    smtp.OnProgress = [&](int percent, std::int64_t) {
      stage(std::to_string(percent == 0 ? 100 : percent) + "% Transferred", false);
    };
    smtp.OnMailSent = [&] { stage("Message Sent", true); };
    smtp.OnClosing = [&] { stage("Disconnecting", true); };

    bool sent = false;
    try {
      smtp.SetWinsockLoaded(true);
      try {
        smtp.Connect();
      } catch (const mail::ESocketError&) {
        in.Fail(kErrorCaption, kNoConnection, true);
      } catch (const mail::ETimedOutError&) {
        in.Fail(kErrorCaption, kNoConnection, true);
      }
      if (smtp.IsConnected()) {
        try {
          smtp.SendMail();
          sent = true;
        } catch (const mail::EMessageError&) {
          in.Fail(kErrorCaption, kNoRecipients);
        } catch (const mail::EServerError& e) {
          in.Fail(kErrorCaption, std::string("The SMTP Server refused the message: ") + e.what() + kWillAbort);
        }
      }
    } catch (const mail::EWinsockDLLError&) {
      in.Fail("Winsock Missing", kWinsockMissing);
    } catch (const mail::MailException& e) {
      in.Fail(kErrorCaption, std::string("The E-Mail could not be sent: ") + e.what() + kWillAbort);
    }
    try {
      smtp.Disconnect();
    } catch (const mail::MailException&) {
      // The message went out (or the failure is reported); the session just ends.
    }
    smtp.Close();
    smtp.OnPrepare = smtp.OnSending = smtp.OnMailSent = smtp.OnClosing = nullptr;
    smtp.OnProgress = nullptr;
    smtp.SetMailMessage(nullptr);
    smtp.SetWinsockLoaded(false);
    stage("Disconnecting", true);
    return sent;
  }

  static void WriteSentMailLog(platform::Platform& p, const TSettingsRec& settings, const TmsMessage& message) {
    MailLogEntry entry;
    entry.senderName = message.Sender().Name();
    entry.senderAddress = message.Sender().Address();
    entry.to = ListOf(message.Recipients());
    entry.cc = ListOf(message.CC());
    entry.bcc = ListOf(message.BCC());
    for (const mail::TmsAttItem& item : message.Attachments()) entry.attachments.push_back(item.FileName());
    entry.subject = message.Subject();
    entry.body = message.Body();
    const double now = p.clock != nullptr ? p.clock->Now() : 0.0;
    // A log that cannot be written loses this entry only; the message was sent.
    AppendSentMail(p.files->NativePath(settings.emailLogPath), p.files->NativePath(SentMailIndexPath(settings.emailLogPath)),
                   MailLogText(entry), MailIndexRecord::Of(entry, now));
  }

  std::unique_ptr<mail::TmsSMTP> smtp_;
};

}  // namespace

std::unique_ptr<CommandFamily> MakeEmailFamily(Interpreter& in) { return std::make_unique<EmailFamily>(in); }

}  // namespace wdx::player
