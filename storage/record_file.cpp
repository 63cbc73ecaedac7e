#include "storage/record_file.h"

#include <algorithm>

#include "storage/atomic_file_writer.h"
#include "storage/buffered_file_reader.h"
#include "win/unicode.h"

namespace {

enum Tag : uint8_t {
  kTagString = 0,
  kTagBool = 1,
  kTagInt = 2,
  kTagByte = 4,
  kTagWord = 5,
  kTagDateTime = 6,
  kTagFont = 7,
  kTagStrings = 8,
  kTagColor = 9,
};

constexpr std::size_t kMaxCount = 255;  // one length or count byte
constexpr int32_t kColorBase = 65535;

// The file's date texts are 8-bit text of the ANSI code page, written and read with the pictures
// as the code page holds them ("?" for a character of a month name it lacks), so that a date
// written reads back whatever the user's language.
LocalePictures InCodePage(LocalePictures pictures) {
  const auto convert = [](std::string& text) {
    if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
      text = win::Utf8FromAnsi(win::AnsiFromUtf8(text).text).text;
  };
  for (std::string* text : {&pictures.shortDate, &pictures.longTime, &pictures.am, &pictures.pm}) convert(*text);
  for (auto* names : {&pictures.monthNames, &pictures.shortMonthNames}) std::ranges::for_each(*names, convert);
  for (auto* names : {&pictures.dayNames, &pictures.shortDayNames}) std::ranges::for_each(*names, convert);
  return pictures;
}

// Out of line, so the tag check on the hot path stays small enough to inline.
[[noreturn, gnu::cold, gnu::noinline]] void ThrowTypeError(const char* message) { throw EQuorFileError(message); }

// Reuses the buffer `value` already has.
void ReadStringFrom(BufferedFileReader& in, std::string& value) {
  if (in.get() != kTagString) [[unlikely]]
    ThrowTypeError("Error at readString:type");
  value.resize(in.get());
  in.read(reinterpret_cast<uint8_t*>(value.data()), value.size());
}

}  // namespace

TQuorFile::TQuorFile(std::string path, LocalePictures pictures)
    : path_(std::move(path)), pictures_(InCodePage(std::move(pictures))) {}

TQuorFile::~TQuorFile() = default;

void TQuorFile::OpenRead() {
  reader_.reset();
  writer_.reset();
  reader_ = std::make_unique<BufferedFileReader>(path_);
}

void TQuorFile::OpenWrite() {
  reader_.reset();
  writer_.reset();
  clipped_ = false;
  writer_ = std::make_unique<AtomicFileWriter>(path_);
}

void TQuorFile::Close() {
  reader_.reset();
  if (writer_) {
    const std::unique_ptr<AtomicFileWriter> closing = std::move(writer_);
    closing->commit();
  }
}

BufferedFileReader& TQuorFile::reader() {
  if (!reader_) throw EInOutError(io_code::kFileNotOpen);
  return *reader_;
}

AtomicFileWriter& TQuorFile::writer() {
  if (!writer_) throw EInOutError(io_code::kFileNotOpen);
  return *writer_;
}

void TQuorFile::expectTag(uint8_t tag, const char* message) {
  if (reader().get() != tag) [[unlikely]]
    ThrowTypeError(message);
}

void TQuorFile::writeRawByte(uint8_t value) { writer().put(value); }

uint8_t TQuorFile::readRawByte() { return reader().get(); }

std::optional<uint8_t> TQuorFile::peekRawByte() {
  uint8_t next = 0;
  if (!reader().peek(next)) return std::nullopt;
  return next;
}

void TQuorFile::writeString(std::string_view value) {
  if (value.size() > kMaxCount) {
    value = value.substr(0, kMaxCount);
    clipped_ = true;
  }
  AtomicFileWriter& out = writer();
  out.put(kTagString);
  out.put(static_cast<uint8_t>(value.size()));
  out.write(reinterpret_cast<const uint8_t*>(value.data()), value.size());
}

std::string TQuorFile::readString() {
  std::string value;
  ReadStringFrom(reader(), value);
  return value;
}

void TQuorFile::writeBool(bool value) {
  AtomicFileWriter& out = writer();
  out.put(kTagBool);
  out.put(value ? 1 : 0);
}

bool TQuorFile::readBool() {
  expectTag(kTagBool, "Error at readBool:type");
  return reader().get() == 1;
}

void TQuorFile::writeInt(int value) {
  const uint32_t magnitude = value >= 0 ? static_cast<uint32_t>(value) : 0u - static_cast<uint32_t>(value);
  AtomicFileWriter& out = writer();
  out.put(kTagInt);
  out.put(value >= 0 ? 1 : 0);
  out.put(static_cast<uint8_t>(magnitude));
  out.put(static_cast<uint8_t>(magnitude >> 8));
}

int TQuorFile::readInt() {
  expectTag(kTagInt, "Error at readInt:type");
  BufferedFileReader& in = reader();
  const bool positive = in.get() == 1;
  const uint8_t low = in.get();
  const int magnitude = low + in.get() * 256;
  return positive ? magnitude : -magnitude;
}

void TQuorFile::writeByte(uint8_t value) {
  AtomicFileWriter& out = writer();
  out.put(kTagByte);
  out.put(value);
}

uint8_t TQuorFile::readByte() {
  expectTag(kTagByte, "Error at readByte:type");
  return reader().get();
}

void TQuorFile::writeWord(unsigned value) {
  AtomicFileWriter& out = writer();
  out.put(kTagWord);
  out.put(static_cast<uint8_t>(value));
  out.put(static_cast<uint8_t>(value >> 8));
}

uint16_t TQuorFile::readWord() {
  expectTag(kTagWord, "Error at readWord:type");
  BufferedFileReader& in = reader();
  const uint8_t low = in.get();
  return static_cast<uint16_t>(low + in.get() * 256);
}

void TQuorFile::writeDateTime(QDateTime value) {
  // Both texts first: a value that cannot be written leaves nothing half-written behind.
  const std::string date = win::AnsiFromUtf8(FormatDateText(value, pictures_)).text;
  const std::string time = win::AnsiFromUtf8(FormatTimeText(value, pictures_)).text;
  writer().put(kTagDateTime);
  writeString(date);
  writeString(time);
}

QDateTime TQuorFile::readDateTime() {
  expectTag(kTagDateTime, "Error at readDateTime:type");
  const std::string dateText = win::Utf8FromAnsi(readString()).text;
  const std::string timeText = win::Utf8FromAnsi(readString()).text;
  const QDateTime date = ParseDateText(dateText, pictures_);  // the date's error comes first
  return ComposeDateTime(date, ParseTimeText(timeText, pictures_));
}

void TQuorFile::writeFont(const FontValue& value) {
  writer().put(kTagFont);
  writeString(value.name);
  writeInt(value.size);
  writeBool(value.bold);
  writeBool(value.italic);
  writeBool(value.underline);
  writeBool(value.strikeOut);
  writeColor(value.color);
}

FontValue TQuorFile::readFont() {
  FontValue font;
  expectTag(kTagFont, "Error at readFont:type");
  font.name = readString();
  font.size = readInt();
  font.bold = readBool();
  font.italic = readBool();
  font.underline = readBool();
  font.strikeOut = readBool();
  font.color = readColor();
  return font;
}

void TQuorFile::writeStrings(const std::vector<std::string>& value) {
  const std::size_t count = std::min(value.size(), kMaxCount);
  if (count < value.size()) clipped_ = true;
  writer().put(kTagStrings);
  writeByte(static_cast<uint8_t>(count));
  for (std::size_t i = 0; i < count; ++i) writeString(value[i]);
}

void TQuorFile::readStrings(std::vector<std::string>& into) {
  expectTag(kTagStrings, "Error at readStrings:type");
  // The entries are read over the old ones, whose buffers a list read again (as a note's text
  // is) can reuse; a failure cuts the list back to the entries read so far.
  std::size_t done = 0;
  try {
    const uint8_t count = readByte();
    into.resize(count);
    BufferedFileReader& in = reader();
    for (; done < count; ++done) ReadStringFrom(in, into[done]);
  } catch (...) {
    into.resize(done);
    throw;
  }
}

void TQuorFile::writeColor(int32_t value) {
  // Division truncates toward zero, so the remainder takes the colour's sign; each part keeps
  // its low 16 bits.
  const int32_t quotient = value / kColorBase;
  const int32_t remainder = value - quotient * kColorBase;
  writer().put(kTagColor);
  writeWord(static_cast<unsigned>(remainder));
  writeWord(static_cast<unsigned>(quotient));
}

int32_t TQuorFile::readColor() {
  expectTag(kTagColor, "Error at readColor:type");
  const uint32_t remainder = readWord();
  const uint32_t quotient = readWord();
  return static_cast<int32_t>(remainder + quotient * static_cast<uint32_t>(kColorBase));
}
