// libFuzzer target for the record file reader. The input is a file; its first byte picks how it
// is read: an even byte reads it as a note file first (the fixed sequence of typed reads a
// note makes), then, as for an odd byte, each further byte chooses the next typed read.
// Whatever the bytes, the reading must end in the record file's own errors: EQuorFileError,
// EInOutError ("Read beyond end of file") or EConvertError. Anything else escapes and aborts.
#include <cstdint>
#include <string>
#include <vector>

#include "storage/record_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void ReadChosen(TQuorFile& file, uint8_t choice) {
  std::vector<std::string> list{"kept until the tag matches"};
  switch (choice % 10) {
    case 0: file.readString(); break;
    case 1: file.readBool(); break;
    case 2: file.readInt(); break;
    case 3: file.readByte(); break;
    case 4: file.readWord(); break;
    case 5: file.readDateTime(); break;
    case 6: file.readFont(); break;
    case 7: file.readStrings(list); break;
    case 8: file.readColor(); break;
    default: file.readRawByte(); break;
  }
}

void ReadNote(TQuorFile& file) {
  std::vector<std::string> lines;
  file.readByte();
  file.readFont();
  file.readColor();
  file.readStrings(lines);
  file.readColor();
  for (int i = 0; i < 4; ++i) file.readWord();
  file.readString();
  file.readString();
  file.readDateTime();
  for (int i = 0; i < 6; ++i) file.readBool();
  file.readString();
  file.readString();
  file.readStrings(lines);
  for (int i = 0; i < 10; ++i) file.readByte();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::InputFile input(".kli");
  TQuorFile file(input.write(data, size), LocalePictures{});
  try {
    file.OpenRead();
    if (file.readRawByte() % 2 == 0) ReadNote(file);
    for (;;) ReadChosen(file, file.readRawByte());  // every round consumes a byte: the end comes
  } catch (const EQuorFileError&) {
  } catch (const EInOutError&) {
  } catch (const EConvertError&) {
  }
  return 0;
}
