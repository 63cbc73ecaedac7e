// The record file's exact bytes, and the values they read back as.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "scratch_folder.h"
#include "storage/file_io.h"
#include "storage/record_file.h"

namespace {

using Bytes = std::vector<int>;  // ints, so a mismatch prints readable numbers

class RecordFileFormat : public ::testing::Test {
 protected:
  Bytes written(const std::function<void(TQuorFile&)>& write) {
    TQuorFile file(path_, LocalePictures{});
    file.OpenWrite();
    write(file);
    file.Close();
    const std::string content = ReadWholeFile(path_);
    return Bytes(reinterpret_cast<const unsigned char*>(content.data()),
                 reinterpret_cast<const unsigned char*>(content.data() + content.size()));
  }

  // Opens `bytes` for reading; the file is closed when the returned object goes.
  std::unique_ptr<TQuorFile> reading(const Bytes& bytes) {
    WritePlainFile(path_, std::string(bytes.begin(), bytes.end()));
    auto file = std::make_unique<TQuorFile>(path_, LocalePictures{});
    file->OpenRead();
    return file;
  }

  static Bytes Text(std::string_view text) { return Bytes(text.begin(), text.end()); }  // ASCII only
  static Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  }

  ScratchFolder folder_;
  std::string path_ = folder_.file("values.kli");
};

TEST_F(RecordFileFormat, ScalarsHaveTheirExactBytes) {
  EXPECT_EQ(written([](TQuorFile& f) { f.writeByte(50); }), (Bytes{0x04, 0x32}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeBool(true); }), (Bytes{0x01, 0x01}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeBool(false); }), (Bytes{0x01, 0x00}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeInt(8); }), (Bytes{0x02, 0x01, 0x08, 0x00}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeInt(-8); }), (Bytes{0x02, 0x00, 0x08, 0x00}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeInt(0); }), (Bytes{0x02, 0x01, 0x00, 0x00}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeInt(70000); }), (Bytes{0x02, 0x01, 0x70, 0x11}));  // 4464
  EXPECT_EQ(written([](TQuorFile& f) { f.writeInt(-65535); }), (Bytes{0x02, 0x00, 0xFF, 0xFF}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeInt(INT_MIN); }), (Bytes{0x02, 0x00, 0x00, 0x00}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeWord(300); }), (Bytes{0x05, 0x2C, 0x01}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeWord(0x12345); }), (Bytes{0x05, 0x45, 0x23}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeWord(static_cast<unsigned>(-10)); }), (Bytes{0x05, 0xF6, 0xFF}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeString("abc"); }), (Bytes{0x00, 0x03, 0x61, 0x62, 0x63}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeString(""); }), (Bytes{0x00, 0x00}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeRawByte(0xAB); }), (Bytes{0xAB}));
  EXPECT_EQ(written([](TQuorFile&) {}), Bytes{});
}

TEST_F(RecordFileFormat, CompoundsCarryTaggedParts) {
  EXPECT_EQ(written([](TQuorFile& f) { f.writeStrings({"a", "b"}); }),
            (Bytes{0x08, 0x04, 0x02, 0x00, 0x01, 0x61, 0x00, 0x01, 0x62}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeStrings({}); }), (Bytes{0x08, 0x04, 0x00}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeColor(0x0000FF); }), (Bytes{0x09, 0x05, 0xFF, 0x00, 0x05, 0x00, 0x00}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeColor(0xFFFFFF); }), (Bytes{0x09, 0x05, 0xFF, 0x00, 0x05, 0x00, 0x01}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeColor(0x00FFFF); }), (Bytes{0x09, 0x05, 0x00, 0x00, 0x05, 0x01, 0x00}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeColor(static_cast<int32_t>(0x8000000F)); }),
            (Bytes{0x09, 0x05, 0x0F, 0x80, 0x05, 0x00, 0x80}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeFont({"Arial", -10, true, false, true, false, 0xFF}); }),
            Join({{0x07, 0x00, 0x05}, Text("Arial"), {0x02, 0x00, 0x0A, 0x00},
                  {0x01, 0x01, 0x01, 0x00, 0x01, 0x01, 0x01, 0x00},
                  {0x09, 0x05, 0xFF, 0x00, 0x05, 0x00, 0x00}}));
  EXPECT_EQ(written([](TQuorFile& f) { f.writeDateTime(EncodeDateTime(2026, 12, 6, 14, 26, 0)); }),
            Join({{0x06, 0x00, 9}, Text("12/6/2026"), {0x00, 10}, Text("2:26:00 PM")}));
}

TEST_F(RecordFileFormat, ValuesReadBackInOrder) {
  const FontValue font{"Courier New", 12, false, true, false, true, 0x123456};
  const std::vector<std::string> lines{"first", "", std::string(255, 'x'), "last \xE9"};
  const QDateTime alarm = EncodeDateTime(2026, 12, 6, 9, 5, 0);
  const Bytes bytes = written([&](TQuorFile& f) {
    f.writeRawByte(0x7F);
    f.writeByte(255);
    f.writeBool(true);
    f.writeBool(false);
    for (int value : {0, 1, -1, 65535, -65535, 300, -300}) f.writeInt(value);
    f.writeWord(65535);
    f.writeString(std::string("nul\0inside", 10));
    f.writeFont(font);
    f.writeStrings(lines);
    f.writeDateTime(alarm);
    f.writeColor(0);
  });

  const auto f = reading(bytes);
  EXPECT_EQ(f->readRawByte(), 0x7F);
  EXPECT_EQ(f->readByte(), 255);
  EXPECT_TRUE(f->readBool());
  EXPECT_FALSE(f->readBool());
  for (int value : {0, 1, -1, 65535, -65535, 300, -300}) EXPECT_EQ(f->readInt(), value);
  EXPECT_EQ(f->readWord(), 65535);
  EXPECT_EQ(f->readString(), std::string("nul\0inside", 10));
  EXPECT_EQ(f->readFont(), font);
  std::vector<std::string> read{"left over"};
  f->readStrings(read);
  EXPECT_EQ(read, lines);
  EXPECT_EQ(f->readDateTime(), alarm);
  EXPECT_EQ(f->readColor(), 0);
  EXPECT_FALSE(f->clipped());
}

TEST_F(RecordFileFormat, ReadersFollowTheStoredBytesNotJustWhatTheWriterMakes) {
  const auto f = reading({0x02, 0x01, 0x08, 0x00,   // 8
                          0x02, 0x00, 0x08, 0x00,   // -8
                          0x02, 0x02, 0x08, 0x00,   // a sign byte other than 1 means negative
                          0x02, 0x00, 0x00, 0x00,   // minus zero
                          0x01, 0x02,               // only the byte 1 is true
                          0x01, 0xFF,
                          0x05, 0xFF, 0xFF,
                          0x09, 0x05, 0xFF, 0xFF, 0x05, 0xFF, 0xFF});
  EXPECT_EQ(f->readInt(), 8);
  EXPECT_EQ(f->readInt(), -8);
  EXPECT_EQ(f->readInt(), -8);
  EXPECT_EQ(f->readInt(), 0);
  EXPECT_FALSE(f->readBool());
  EXPECT_FALSE(f->readBool());
  EXPECT_EQ(f->readWord(), 65535);
  EXPECT_EQ(f->readColor(), static_cast<int32_t>(65535u + 65535u * 65535u));
}

TEST_F(RecordFileFormat, ColoursReadBackExceptNegativesWithAZeroPart) {
  std::vector<int32_t> survivors{0, 1, 0x0000FF, 0x00FFFF, 0xFFFFFF, 65534, 65536, INT32_MAX, -65536, -65537};
  for (int64_t colour = 0; colour <= INT32_MAX; colour += 104'729) survivors.push_back(static_cast<int32_t>(colour));
  for (uint32_t index = 0; index <= 40; ++index) survivors.push_back(static_cast<int32_t>(0x80000000u + index));
  const std::vector<int32_t> lost{-1, -100, -65534, -65535, -131070, -65535 * 1000};

  const Bytes bytes = written([&](TQuorFile& f) {
    for (int32_t colour : survivors) f.writeColor(colour);
    for (int32_t colour : lost) f.writeColor(colour);
  });
  const auto f = reading(bytes);
  for (int32_t colour : survivors) EXPECT_EQ(f->readColor(), colour) << colour;
  for (int32_t colour : lost) EXPECT_NE(f->readColor(), colour) << colour;
}

TEST_F(RecordFileFormat, OverlongStringsAndListsAreClippedAndStayReadable) {
  const std::string longText = std::string(255, 'a') + std::string(45, 'b');
  std::vector<std::string> manyLines;
  for (int i = 0; i < 300; ++i) manyLines.push_back("line " + std::to_string(i));

  TQuorFile exact(path_, LocalePictures{});
  exact.OpenWrite();
  exact.writeString(std::string(255, 'a'));
  exact.writeStrings(std::vector<std::string>(255, "x"));
  EXPECT_FALSE(exact.clipped());
  exact.Close();

  TQuorFile file(path_, LocalePictures{});
  file.OpenWrite();
  file.writeString(longText);
  EXPECT_TRUE(file.clipped());
  file.writeStrings(manyLines);
  file.writeFont({std::string(400, 'F'), 8, false, false, false, false, 0});
  file.writeByte(50);
  file.Close();

  const std::string content = ReadWholeFile(path_);
  EXPECT_EQ(static_cast<uint8_t>(content[1]), 255);  // the length byte matches what follows
  EXPECT_EQ(content.substr(2, 255), std::string(255, 'a'));
  EXPECT_EQ(static_cast<uint8_t>(content[2 + 255 + 2]), 255);  // the count byte of the list

  file.OpenRead();
  EXPECT_EQ(file.readString(), std::string(255, 'a'));
  std::vector<std::string> lines;
  file.readStrings(lines);
  EXPECT_EQ(lines, std::vector<std::string>(manyLines.begin(), manyLines.begin() + 255));
  EXPECT_EQ(file.readFont().name, std::string(255, 'F'));
  EXPECT_EQ(file.readByte(), 50);

  file.OpenWrite();  // a new pass starts unclipped
  EXPECT_FALSE(file.clipped());
}

}  // namespace
