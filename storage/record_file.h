#pragma once
// The tagged record file: a plain sequence of values, each one tag byte naming its type and then
// its payload, read back in the order it was written. Note files and the configuration file
// are written with it. Reads and writes go through a buffer; a write lands in a temporary
// file that Close() renames over the target, so the old file survives any failed or abandoned
// write.
//
// Tags and payloads:
//   0 string     length (0..255), the characters
//   1 bool       1 true, 0 false; any other byte reads as false
//   2 int        sign byte (1: zero or positive, 0: negative), magnitude low byte, high byte
//   4 byte       the byte
//   5 word       low byte, high byte
//   6 date-time  the date as a string in the short-date picture, the time in the long-time one
//   7 font       string name, int size, bool bold, italic, underline, strike-out, colour
//   8 strings    byte count N, then N strings
//   9 colour     word remainder, word quotient of the colour divided by 65535
// The parts of compound values carry their own tags.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "storage/date_time_text.h"
#include "storage/font_value.h"
#include "storage/io_error.h"

class AtomicFileWriter;
class BufferedFileReader;

// A value of another type where a read expected its own: "Error at readInt:type", ...
class EQuorFileError : public std::runtime_error {
 public:
  using runtime_error::runtime_error;
};

class TQuorFile {
 public:
  // Binds the path; the file is not touched until OpenRead or OpenWrite.
  explicit TQuorFile(std::string path, LocalePictures pictures = UserLocalePictures());
  ~TQuorFile();  // closes a read; discards an uncommitted write, leaving the old file as it was
  TQuorFile(const TQuorFile&) = delete;
  TQuorFile& operator=(const TQuorFile&) = delete;

  // Opening again first drops whatever the object had open, discarding an uncommitted write.
  void OpenRead();   // for reading only, so read-only files open; "File not found", ...
  void OpenWrite();  // "File access denied" when the target is read-only; the target stays
                     // untouched until Close()
  // A write is flushed to the disk and renamed over the target; throws EInOutError ("Disk full",
  // ...) with the old file intact. Closing a closed file does nothing.
  void Close();

  void writeRawByte(uint8_t value);
  uint8_t readRawByte();
  // The next byte (the tag of the next value), left in place; nullopt at the end of the file.
  // Lets a reader take a value that newer writers append after what older readers stop at.
  std::optional<uint8_t> peekRawByte();
  void writeString(std::string_view value);  // more than 255 characters: the first 255, clipped()
  std::string readString();
  void writeBool(bool value);
  bool readBool();
  void writeInt(int value);  // the magnitude's low 16 bits
  int readInt();
  void writeByte(uint8_t value);
  uint8_t readByte();
  void writeWord(unsigned value);  // the low 16 bits
  uint16_t readWord();
  void writeDateTime(QDateTime value);
  QDateTime readDateTime();  // EConvertError when the texts do not fit the pictures
  void writeFont(const FontValue& value);
  FontValue readFont();
  // More than 255 entries: the first 255, clipped(). The reader empties `into` once the tag has
  // matched, then appends the strings as they are read.
  void writeStrings(const std::vector<std::string>& value);
  void readStrings(std::vector<std::string>& into);
  // Colours survive the trip unless negative with a zero remainder or quotient (-65534..-1 and
  // negative multiples of 65535); all of 0..2^31-1 and the system colours 0x80000000+n do.
  void writeColor(int32_t value);
  int32_t readColor();  // "Error at readColor:type"

  // True once a string or a list had to be cut to 255 to fit the format.
  bool clipped() const { return clipped_; }
  const std::string& path() const { return path_; }

 private:
  void expectTag(uint8_t tag, const char* message);
  BufferedFileReader& reader();
  AtomicFileWriter& writer();

  std::string path_;
  LocalePictures pictures_;
  std::unique_ptr<BufferedFileReader> reader_;
  std::unique_ptr<AtomicFileWriter> writer_;
  bool clipped_ = false;
};
