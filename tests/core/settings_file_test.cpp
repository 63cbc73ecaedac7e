#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "scratch_folder.h"
#include "storage/io_error.h"
#include "storage/record_file.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
Bytes Str(std::string_view text) {
  return Cat({{0, static_cast<uint8_t>(text.size())}, Bytes(text.begin(), text.end())});
}
Bytes Bool(bool value) { return {1, static_cast<uint8_t>(value)}; }
Bytes Byte(uint8_t value) { return {4, value}; }
Bytes Word(uint16_t value) { return {5, static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)}; }

std::string AsciiLower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

TQuorSettings Named(const std::string& name, const std::string& folder) {
  TQuorSettings settings;
  settings.ConfigName = name;
  settings.ConfigFolder = folder;
  return settings;
}

// The default layout of the file `name` in `folder`, with the three choices and the port byte
// given, and `tail` after SkinName.
Bytes Layout(const std::string& name, const std::string& folder, uint8_t startupShow, uint8_t clickAction,
             uint8_t iconIndex, uint8_t portByte, const Bytes& tail) {
  return Cat({Str("Quor k-li configure file"), Str(name), Str(folder), Bool(true), Bool(false),
              Byte(startupShow), Bool(true), Bool(true), Bool(false), Bool(false), Bool(false), Str(""),
              Byte(clickAction), Byte(iconIndex), Str("smtp.example.com"), Byte(portByte), Str("User Name"),
              Str("user@example.com"), Str("default"), tail});
}

// Paths are folder + "\" + name. Natively a backslash is an ordinary character of a file name,
// so such a file lands in the scratch folder beside "prog"; on Windows inside it. Both are
// cleaned up with the scratch folder.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(program_);
    std::filesystem::create_directories(other_);
  }
  std::string In(const std::string& folder, const std::string& name) const { return folder + "\\" + name; }
  Bytes Read(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void Write(const std::string& path, const Bytes& bytes) const {
    WritePlainFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  // What the controller starts from: the configuration in the program folder.
  TQuorSettings AtStart() const { return Named("options.dat", programLower_); }
  TQuorSettings Loaded() const {
    TQuorSettings settings = AtStart();
    LoadSettings(settings);
    return settings;
  }
  void Save(const TQuorSettings& settings) const { SaveSettings(settings, program_, AsciiLower); }

  ScratchFolder scratch_;
  std::string program_ = scratch_.file("prog");
  std::string programLower_ = AsciiLower(program_);
  std::string other_ = AsciiLower(scratch_.file("other"));
};

TEST_F(SettingsFileTest, DefaultsAreWrittenAsTheFullLayoutInOptionsDat) {
  EXPECT_EQ(Loaded(), AtStart());  // no file yet: the defaults
  Save(AtStart());
  EXPECT_EQ(Read(In(program_, "options.dat")), Layout("options.dat", programLower_, 0, 0, 1, 25, Word(25)));
}

TEST_F(SettingsFileTest, APointerFileNamesAnyOtherFileInUse) {
  struct Row {
    std::string name, folder;
    bool pointer;
  };
  for (const Row& row : {Row{"other.dat", programLower_, true}, Row{"options.dat", other_, true},
                         Row{"OPTIONS.DAT", programLower_, false}}) {
    SCOPED_TRACE(row.name + " in " + row.folder);
    std::filesystem::remove(In(program_, "options.dat"));
    TQuorSettings saved = Named(row.name, row.folder);
    saved.SkinName = "blue";
    Save(saved);
    const Bytes pointer = Cat({Str("Quor k-li configure file"), Str(row.name), Str(row.folder)});
    EXPECT_EQ(Read(In(program_, "options.dat")) == pointer, row.pointer);
    const Bytes inUse = Read(In(row.folder, row.name));
    EXPECT_GT(inUse.size(), pointer.size());
    EXPECT_TRUE(std::equal(pointer.begin(), pointer.end(), inUse.begin()));
    if (row.pointer) {
      EXPECT_EQ(Loaded(), saved);
    }
  }
}

TEST_F(SettingsFileTest, EveryFieldSurvivesTheRoundTrip) {
  const std::vector<std::function<void(TQuorSettings&)>> changes{
      [](TQuorSettings& s) { s.ReservedFlag = false; },       [](TQuorSettings& s) { s.RunAtStartup = true; },
      [](TQuorSettings& s) { s.StartupShow = ssShowNone; },   [](TQuorSettings& s) { s.ShowAllOnAdd = false; },
      [](TQuorSettings& s) { s.AllOnTop = false; },           [](TQuorSettings& s) { s.DeleteToRecycleBin = true; },
      [](TQuorSettings& s) { s.InsertDateTime = true; },      [](TQuorSettings& s) { s.ShowInTrayArea = true; },
      [](TQuorSettings& s) { s.TrayIconFile = "c:\\i.ico"; }, [](TQuorSettings& s) { s.TrayClickAction = taNone; },
      [](TQuorSettings& s) { s.TrayIconIndex = 3; },          [](TQuorSettings& s) { s.SmtpServer = "mail.x"; },
      [](TQuorSettings& s) { s.SmtpPort = 587; },             [](TQuorSettings& s) { s.UserName = "Ann"; },
      [](TQuorSettings& s) { s.UserMail = "a@x"; },           [](TQuorSettings& s) { s.SkinName = "blue"; },
  };
  for (size_t i = 0; i < changes.size(); ++i) {
    SCOPED_TRACE(i);
    TQuorSettings saved = AtStart();
    changes[i](saved);
    ASSERT_NE(saved, AtStart());
    Save(saved);
    EXPECT_EQ(Loaded(), saved);
  }
}

TEST_F(SettingsFileTest, TheWholePortFollowsTheLayoutAndCountsWhileItAgreesWithTheByte) {
  TQuorSettings saved = AtStart();
  saved.SmtpPort = 587;
  Save(saved);
  EXPECT_EQ(Read(In(program_, "options.dat")), Layout("options.dat", programLower_, 0, 0, 1, 0x4B, Word(587)));

  struct Row {
    uint8_t portByte;
    Bytes tail;
    uint16_t port;
  };
  for (const Row& row : {Row{0x4B, Word(587), 587}, Row{0xFF, Word(65535), 65535}, Row{0x4B, {}, 75},
                         Row{25, Word(587), 25}, Row{25, Bool(true), 25}}) {
    Write(In(program_, "options.dat"), Layout("options.dat", programLower_, 0, 0, 1, row.portByte, row.tail));
    EXPECT_EQ(Loaded().SmtpPort, row.port) << int(row.portByte);
  }
}

TEST_F(SettingsFileTest, ChoicesOutOfRangeTakeTheirDefaults) {
  struct Row {
    uint8_t stored[3], loaded[3];
  };
  for (const Row& row : {Row{{2, 4, 3}, {2, 4, 3}}, Row{{3, 5, 4}, {0, 0, 1}}, Row{{255, 255, 255}, {0, 0, 1}}}) {
    Write(In(program_, "options.dat"),
          Layout("options.dat", programLower_, row.stored[0], row.stored[1], row.stored[2], 25, {}));
    const TQuorSettings loaded = Loaded();
    EXPECT_EQ(loaded.StartupShow, row.loaded[0]);
    EXPECT_EQ(loaded.TrayClickAction, row.loaded[1]);
    EXPECT_EQ(loaded.TrayIconIndex, row.loaded[2]);
  }
}

TEST_F(SettingsFileTest, AMissingPointedToFileGivesTheDefaultsUnderItsNames) {
  // The pointer names other.dat in the program folder, whose folder record names a third
  // folder where no file is.
  const std::string third = AsciiLower(scratch_.file("third"));
  Write(In(program_, "options.dat"), Cat({Str("any header"), Str("other.dat"), Str(programLower_)}));
  Write(In(program_, "other.dat"), Cat({Str(""), Str("other.dat"), Str(third)}));
  const TQuorSettings loaded = Loaded();
  EXPECT_EQ(loaded, Named("other.dat", third));

  std::filesystem::create_directories(third);
  Save(loaded);
  EXPECT_EQ(Read(In(third, "other.dat")), Layout("other.dat", third, 0, 0, 1, 25, Word(25)));
  EXPECT_EQ(Loaded(), loaded);
}

TEST_F(SettingsFileTest, ADamagedFileThrowsAndLeavesTheSettingsAsTheyWere) {
  const Bytes full = Layout("options.dat", programLower_, 0, 0, 1, 25, Word(25));
  TQuorSettings settings = AtStart();
  settings.SkinName = "kept";
  const TQuorSettings before = settings;
  for (size_t cut = 0; cut < full.size(); ++cut) {
    if (cut == full.size() - 3) continue;  // ends where older files end: complete
    Write(In(program_, "options.dat"), Bytes(full.begin(), full.begin() + static_cast<long>(cut)));
    EXPECT_THROW(LoadSettings(settings), EInOutError) << cut;
    EXPECT_EQ(settings, before);
  }
  // A byte where RunAtStartup's boolean belongs.
  Bytes wrongType = full;
  wrongType[Cat({Str("Quor k-li configure file"), Str("options.dat"), Str(programLower_), Bool(true)}).size()] = 4;
  Write(In(program_, "options.dat"), wrongType);
  try {
    LoadSettings(settings);
    ADD_FAILURE() << "a byte record read as a boolean";
  } catch (const EQuorFileError& e) {
    EXPECT_STREQ(e.what(), "Error at readBool:type");
  }
  EXPECT_EQ(settings, before);
}

TEST(SmtpPortField, AcceptsWholeNumbersThatFitSixteenBits) {
  struct Row {
    const char* text;
    std::optional<uint16_t> port;
  };
  for (const Row& row : {Row{"587", 587}, Row{" 25 ", 25}, Row{"0", 0}, Row{"65535", 65535},
                         Row{"65536", std::nullopt}, Row{"-1", std::nullopt}, Row{"+5", std::nullopt},
                         Row{"", std::nullopt}, Row{"2a", std::nullopt}, Row{"99999999999", std::nullopt}}) {
    EXPECT_EQ(ParseSmtpPort(row.text), row.port) << row.text;
  }
}

TEST(TrayIcon, FileThenIndexThenIconZero) {
  struct Row {
    std::string file;
    uint8_t index;
    bool exists;
    TrayIconChoice choice;
  };
  for (const Row& row : {Row{"", 3, false, {"", 3}}, Row{"", 9, false, {"", 1}}, Row{"t.ico", 2, true, {"t.ico", 0}},
                         Row{"t.ico", 2, false, {"", 0}}}) {
    TQuorSettings settings;
    settings.TrayIconFile = row.file;
    settings.TrayIconIndex = row.index;
    EXPECT_EQ(ChooseTrayIcon(settings, row.exists), row.choice) << row.file << int(row.index);
  }
}

}  // namespace
