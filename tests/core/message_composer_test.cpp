#include "mail/message_composer.h"

#include <gtest/gtest.h>

#include "mail/mail_encoding.h"
#include "scratch_folder.h"
#include "smtp_harness.h"

namespace {

const std::string kBoundaryLine = "--==============ghyurgtfy573======___\r\n";
const std::string kTextType = "Content-Type: text/plain; charset=\"us-ascii\"\r\n";

TEST(MailEncoding, HeaderEncodingsAgainstKnownStrings) {
  const std::pair<std::string, std::string> words[] = {
      {"Plain Name", "Plain Name"}, {"", ""}, {"José Ñ", "=?UTF-8?Q?Jos=C3=A9_=C3=91?="},
      {"a_b?c=d\t(é)", "=?UTF-8?Q?a=5Fb=3Fc=3Dd=09=28=C3=A9=29?="}, {"\x7F", "=?UTF-8?Q?=7F?="}};
  for (const auto& [value, word] : words) EXPECT_EQ(EncodeWord(value), HeaderLines{word}) << value;

  const std::pair<std::string, HeaderLines> headers[] = {
      {"Subject: hello", {"Subject: hello  "}}, {"Subject: café", {"Subject: =?UTF-8?Q?caf=C3=A9?=  "}},
      {"A:B: c", {"A:B: c  "}}, {"No colon here", {"No colon here"}},
      {"Subject: " + std::string(1000, 'a'), {"Subject: " + std::string(999, 'a') + "  "}},
      {"Subject: " + std::string(998, 'a') + "é", {"Subject: " + std::string(998, 'a') + "  "}}};  // no half "é"
  for (const auto& [line, encoded] : headers) EXPECT_EQ(EncodeHeader(line), encoded) << line;

  std::string cut;  // 20 bytes of three characters each fill the first piece
  while (cut.size() < 60) cut += "%E2";
  const std::pair<std::string, HeaderLines> fileNames[] = {
      {"a b.kli", {"Content-Type: x; name=\"a b.kli\""}},
      {"é 1.kli", {"Content-Type: x;", " name*0*=UTF-8''%C3%A9%201.kli"}},
      {std::string(20, '\xE2') + "b", {"Content-Type: x;", " name*0*=UTF-8''" + cut + ";", " name*1*=b"}}};
  for (const auto& [name, lines] : fileNames) EXPECT_EQ(WithFileName("Content-Type: x", "name", name), lines) << name;

  const std::pair<std::string, bool> eightBit[] = {
      {"", false}, {"abc ~\r\n", false}, {"a\tb", true}, {"\x7F", true}, {"caf\xE9", true}};
  for (const auto& [text, has] : eightBit) EXPECT_EQ(HasEightBit(text), has) << text;
}

TEST(MailEncoding, QuotedPrintableAndBase64AgainstKnownStrings) {
  EXPECT_EQ(QuotedPrintableEncoder().Encode("a b=\xE9\r\n"), "a=20b=3D=E9=0D=0A");
  EXPECT_EQ(QuotedPrintableEncoder().Encode(std::string(70, 'a') + "bc"),
            std::string(70, 'a') + "b=\r\nc");
  // The column carries over between calls: the break falls after the 24th "=" either way.
  std::string escapes;
  for (int i = 0; i < 25; ++i) escapes += "=3D";
  escapes.insert(24 * 3, "=\r\n");
  QuotedPrintableEncoder split;
  std::string joined = split.Encode(std::string(10, '='));
  joined += split.Encode(std::string(15, '='));
  EXPECT_EQ(joined, escapes);
  EXPECT_EQ(split.QpColumn(), 3);

  const std::pair<std::string, std::string> base64[] = {
      {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}, {"\xFF\xFE", "//4="}};
  for (const auto& [bytes, text] : base64)
    EXPECT_EQ(Base64Encode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), text);
}

TEST(MessageComposer, HeaderBlockInItsOrderAndA7BitBodyAsItIs) {
  SmtpHarness h;
  h.session.FROM_Name = "Anna";
  h.session.TO_Name = "Tom";
  h.session.Listcc = {"cc@example.com", "cc2@example.com|Café Bar"};
  h.session.Subject = "Notes";
  h.session.Headers = {"X-Mailer: Quor K-lI 5.0"};
  h.session.MailText = {"Hello", ".", "..two", ""};
  EXPECT_EQ(h.DataOf(),
            "From: Anna <me@example.com>\r\nTo: Tom <to@example.com>\r\ncc: cc@example.com\r\n"
            "cc: =?UTF-8?Q?Caf=C3=A9_Bar?= <cc2@example.com>\r\nSubject: Notes  \r\n"
            "Mime-Version: 1.0\r\n" + kTextType + "X-Mailer: Quor K-lI 5.0  \r\n\r\n"
            "Hello\r\n..\r\n...two\r\n\r\n\r\n.\r\n");
  EXPECT_EQ(h.TakeEvents(), (Events{Ev(smMessageSize, "19"), Ev(smSendingMessage, "19")}));
}

TEST(MessageComposer, EightBitBodyGoesQuotedPrintableWithSoftBreaks) {
  SmtpHarness h;
  h.session.MailText = {"café au lait", std::string(80, 'a')};
  EXPECT_EQ(h.DataOf(),
            "From:  <me@example.com>\r\nTo: to@example.com;\r\nMime-Version: 1.0\r\n"
            "Content-Type: text/plain; charset=\"utf-8\"\r\n"
            "Content-Transfer-Encoding: quoted-printable\r\n\r\ncaf=C3=A9=20au=20lait=0D=0A" +
                std::string(44, 'a') + "=\r\n" + std::string(36, 'a') + "=0D=0A\r\n.\r\n");
  SmtpHarness tab;  // 8-bit for quoted-printable, yet plain ASCII
  tab.session.MailText = {"a\tb"};
  EXPECT_NE(tab.DataOf().find(kTextType + "Content-Transfer-Encoding: quoted-printable\r\n\r\na=09b"), std::string::npos);
}

TEST(MessageComposer, LinesStartingWithADotAtAChunkEdgeOrAfterASoftBreakAreDoubled) {
  SmtpHarness atChunkEdge;
  atChunkEdge.session.MailText = {std::string(2046, 'a'), ".x"};  // ".x" opens the second chunk
  const std::string plain = atChunkEdge.DataOf();
  EXPECT_TRUE(plain.ends_with(std::string(2046, 'a') + "\r\n..x\r\n\r\n.\r\n"));
  EXPECT_EQ(atChunkEdge.TakeEvents(),
            (Events{Ev(smMessageSize, "2052"), Ev(smSendingMessage, "2048"), Ev(smSendingMessage, "2052")}));

  SmtpHarness afterSoftBreak;
  afterSoftBreak.session.MailText = {"\xE9" + std::string(68, 'a') + ".b"};
  const std::string encoded = afterSoftBreak.DataOf();
  EXPECT_TRUE(encoded.ends_with("=E9" + std::string(68, 'a') + "=\r\n..b=0D=0A\r\n.\r\n"));
}

TEST(MessageComposer, AttachmentsAsBase64PartsOfAMultipartMessage) {
  ScratchFolder folder;
  WritePlainFile(folder.file("note.kli"), std::string(58, 'A'));
  WritePlainFile(folder.file("empty.bin"), "");
  SmtpHarness h;
  h.session.MailText = {"Hi"};
  h.session.Attachments = {folder.file("note.kli"), folder.file("empty.bin"), folder.file("missing.bin")};
  const auto partHeader = [](const std::string& name) {
    return kBoundaryLine + "Content-Type: application/octet-stream; name=\"" + name +
           "\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment; filename=\"" +
           name + "\"\r\n\r\n";
  };
  std::string fullLine;
  for (int i = 0; i < 19; ++i) fullLine += "QUFB";
  EXPECT_EQ(h.DataOf(),
            "From:  <me@example.com>\r\nTo: to@example.com;\r\nMime-Version: 1.0\r\n"
            "Content-Type: multipart/mixed; boundary=\"==============ghyurgtfy573======___\"\r\n\r\n" +
                kBoundaryLine + kTextType + "\r\nHi\r\n\r\n" + partHeader("note.kli") + fullLine +
                "\r\nQQ==\r\n" + partHeader("empty.bin") +
                "--==============ghyurgtfy573======___--\r\n\r\n.\r\n");
  EXPECT_EQ(h.TakeEvents(),
            (Events{Ev(smMessageSize, "4"), Ev(smSendingMessage, "4"),
                    Ev(smAttachmentName, folder.file("note.kli")), Ev(smAttachmentSize, "58"),
                    Ev(smAttachmentBytes, "57"), Ev(smAttachmentBytes, "58"),
                    Ev(smAttachmentName, folder.file("empty.bin")), Ev(smAttachmentSize, "0"),
                    Ev(smAttachmentBytes, "0"), Ev(smAttachmentName, folder.file("missing.bin")),
                    Ev(smBadAttachment, folder.file("missing.bin"))}));
}

}  // namespace
