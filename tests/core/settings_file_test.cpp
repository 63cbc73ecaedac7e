#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <tuple>

#include "scratch_folder.h"
#include "storage/file_io.h"
#include "storage/io_error.h"
#include "storage/record_file.h"

namespace {

std::string Str(std::string_view text) { return std::string{'\0', static_cast<char>(text.size())} + std::string(text); }
std::string Bool(bool value) { return {'\1', static_cast<char>(value)}; }
std::string Byte(uint8_t value) { return {'\4', static_cast<char>(value)}; }
std::string Word(uint16_t value) { return {'\5', static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}; }
const std::string kHeader = Str("Quor k-li configure file");
const std::string kDefaultKeys = Str("Ctrl+Alt+Shift+N") + Str("Ctrl+Alt+Shift+K") + Str("Ctrl+Alt+Shift+F");
// The tail after the keys when no sign-in is set up: security 0, no name, an empty password
// list, no trusted certificate.
const std::string kNoSignIn = Byte(0) + Str("") + std::string("\b\4\0", 3) + Str("") + Str("");

// The file `name` in `folder` holding the defaults but for the choices (start-up, tray click,
// icon) and the port byte, with `tail` after SkinName.
std::string Layout(const std::string& name, const std::string& folder, std::array<uint8_t, 3> choices, uint8_t port,
                   const std::string& tail) {
  return kHeader + Str(name) + Str(folder) + Bool(true) + Bool(false) + Byte(choices[0]) + Bool(true) + Bool(true) +
         Bool(false) + Bool(false) + Bool(false) + Str("") + Byte(choices[1]) + Byte(choices[2]) +
         Str("smtp.example.com") + Byte(port) + Str("User Name") + Str("user@example.com") + Str("default") + tail;
}

std::string AsciiLower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}
// Natively the backslash is a character of the file name, so the file lands beside the folder;
// on Windows inside it. Either way it is in the scratch folder.
std::string In(const std::string& folder, const std::string& name) { return folder + "\\" + name; }
std::string Read(const std::string& path) { return FileExists(path) ? ReadWholeFile(path) : ""; }

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(program_); }
  TQuorSettings Named(const std::string& name, const std::string& folder) const {
    TQuorSettings settings;
    settings.ConfigName = name;
    settings.ConfigFolder = folder;
    return settings;
  }
  TQuorSettings Loaded() const {  // as the controller starts
    TQuorSettings settings = Named("options.dat", programLower_);
    LoadSettings(settings);
    return settings;
  }
  void Save(const TQuorSettings& settings) const { SaveSettings(settings, program_, AsciiLower); }

  ScratchFolder scratch_;
  std::string program_ = scratch_.file("prog");
  std::string programLower_ = AsciiLower(program_);
  std::string options_ = In(program_, "options.dat");
};

TEST_F(SettingsFileTest, APointerFileNamesAnyFileButOptionsDatInTheProgramFolder) {
  const std::string other = AsciiLower(scratch_.file("other"));
  std::filesystem::create_directories(other);
  const std::tuple<std::string, std::string, bool> rows[]{{"options.dat", programLower_, false},
                                                          {"OPTIONS.DAT", programLower_, false},
                                                          {"other.dat", programLower_, true},
                                                          {"options.dat", other, true}};
  for (const auto& [name, folder, pointer] : rows) {
    SCOPED_TRACE(name + " in " + folder);
    std::filesystem::remove(options_);
    Save(Named(name, folder));
    EXPECT_EQ(Read(In(folder, name)), Layout(name, folder, {0, 0, 1}, 25, Word(25) + kDefaultKeys + kNoSignIn));
    EXPECT_EQ(Read(options_) == kHeader + Str(name) + Str(folder), pointer);
    if (pointer) {
      EXPECT_EQ(Loaded(), Named(name, folder));
    }
  }
}

TEST_F(SettingsFileTest, EveryFieldSurvivesTheRoundTrip) {
  EXPECT_EQ(Loaded(), Named("options.dat", programLower_));  // no file: the defaults
  const std::function<void(TQuorSettings&)> changes[]{
      [](TQuorSettings& s) { s.ReservedFlag = false; },       [](TQuorSettings& s) { s.RunAtStartup = true; },
      [](TQuorSettings& s) { s.StartupShow = ssShowNone; },   [](TQuorSettings& s) { s.ShowAllOnAdd = false; },
      [](TQuorSettings& s) { s.AllOnTop = false; },           [](TQuorSettings& s) { s.DeleteToRecycleBin = true; },
      [](TQuorSettings& s) { s.InsertDateTime = true; },      [](TQuorSettings& s) { s.ShowInTrayArea = true; },
      [](TQuorSettings& s) { s.TrayIconFile = "c:\\i.ico"; }, [](TQuorSettings& s) { s.TrayClickAction = taNone; },
      [](TQuorSettings& s) { s.TrayIconIndex = 3; },          [](TQuorSettings& s) { s.SmtpServer = "mail.x"; },
      [](TQuorSettings& s) { s.SmtpPort = 587; },             [](TQuorSettings& s) { s.UserName = "Ann"; },
      [](TQuorSettings& s) { s.UserMail = "a@x"; },           [](TQuorSettings& s) { s.SkinName = "blue"; },
      [](TQuorSettings& s) { s.NewNoteKey = {kModWin, 'Q'}; }, [](TQuorSettings& s) { s.ShowHideKey = {}; },
  };
  for (const auto& change : changes) {
    TQuorSettings saved = Named("options.dat", programLower_);
    change(saved);
    Save(saved);
    EXPECT_EQ(Loaded(), saved);
  }
}

TEST_F(SettingsFileTest, TextsBeyondTheCodePageComeBackUnlessAnOlderProgramChangedThem) {
  TQuorSettings saved = Named("options.dat", programLower_);
  std::tie(saved.UserName, saved.SkinName) = std::pair("名前 😀", "Grüße");
  Save(saved);
  EXPECT_EQ(Loaded(), saved);
  std::string bytes = Read(options_);  // an older program writes its own name and keeps the rest
  WritePlainFile(options_, bytes.replace(bytes.find(Str("?? ??")), 7, Str("Bob")));
  EXPECT_EQ(Loaded().UserName + "|" + Loaded().SkinName, "Bob|Grüße");
}

TEST_F(SettingsFileTest, StoredChoicesAndPortsLoadAs) {
  TQuorSettings port587 = Named("options.dat", programLower_);
  port587.SmtpPort = 587;
  Save(port587);
  EXPECT_EQ(Read(options_), Layout("options.dat", programLower_, {0, 0, 1}, 75, Word(587) + kDefaultKeys + kNoSignIn));
  const std::tuple<std::array<uint8_t, 3>, uint8_t, std::string, std::array<uint8_t, 3>, uint16_t> rows[]{
      {{2, 4, 3}, 0x4B, "", {2, 4, 3}, 75},  // no whole port: a file of an older writer
      {{3, 5, 4}, 0xFF, Word(65535), {0, 0, 1}, 65535},
      {{255, 255, 255}, 25, Word(587), {0, 0, 1}, 25},  // the byte changed without the word
      {{0, 0, 0}, 25, Bool(true), {0, 0, 0}, 25},
      // Keys cut short, or one that names no key: the defaults from there on, all before kept.
      {{1, 2, 0}, 25, Word(25) + Str("Win+Q") + Str("Shift+Q") + Str("Ctrl+Alt+Shift+F").substr(0, 5), {1, 2, 0}, 25}};
  for (const auto& [choices, portByte, tail, loaded, port] : rows) {
    WritePlainFile(options_, Layout("options.dat", programLower_, choices, portByte, tail));
    const TQuorSettings settings = Loaded();
    EXPECT_EQ((std::array{settings.StartupShow, settings.TrayClickAction, settings.TrayIconIndex}), loaded);
    EXPECT_EQ(settings.SmtpPort, port);
    EXPECT_EQ(settings.ShowHideKey, kDefaultShowHideKey);
    EXPECT_EQ(settings.NewNoteKey.Modifiers, choices[0] == 1 ? kModWin : kDefaultNewNoteKey.Modifiers);
  }
}

TEST_F(SettingsFileTest, AMissingPointedToFileGivesTheDefaultsUnderItsNames) {
  // Two hops: the pointer names other.dat, whose folder record names a folder without it.
  const std::string third = AsciiLower(scratch_.file("third"));
  WritePlainFile(options_, Str("any header") + Str("other.dat") + Str(programLower_));
  WritePlainFile(In(program_, "other.dat"), Str("") + Str("other.dat") + Str(third));
  EXPECT_EQ(Loaded(), Named("other.dat", third));
  std::filesystem::create_directories(third);
  Save(Loaded());  // back where the pointer points
  EXPECT_EQ(Read(In(third, "other.dat")), Layout("other.dat", third, {0, 0, 1}, 25, Word(25) + kDefaultKeys + kNoSignIn));
}

TEST_F(SettingsFileTest, ADamagedFileThrowsAndLeavesTheSettingsAsTheyWere) {
  std::string file = Layout("options.dat", programLower_, {0, 0, 1}, 25, Word(25));
  TQuorSettings settings = Named("options.dat", programLower_);
  settings.SkinName = "kept";
  const TQuorSettings before = settings;
  for (size_t cut = 0; cut < file.size() - 3; ++cut) {  // a cut in the tail is the next test's
    WritePlainFile(options_, file.substr(0, cut));
    EXPECT_THROW(LoadSettings(settings), EInOutError) << cut;
  }
  file[(kHeader + Str("options.dat") + Str(programLower_) + Bool(true)).size()] = 4;  // RunAtStartup a byte
  WritePlainFile(options_, file);
  EXPECT_THROW(LoadSettings(settings), EQuorFileError);
  EXPECT_EQ(settings, before);
}

TEST_F(SettingsFileTest, TheSignInTailRoundTripsAndACutOneLoadsAsFarAsItGoes) {
  TQuorSettings saved = Named("options.dat", programLower_);
  saved.SmtpPort = 465;
  saved.SmtpSecurity = 2;
  saved.SmtpSignInName = "ann";
  saved.SmtpPassword = std::vector<uint8_t>(600, 0xA5);  // three pieces: 255, 255, 90
  saved.SmtpTrustedServer = "mail.x";
  saved.SmtpTrustedFingerprint = "AB:CD";
  Save(saved);
  EXPECT_EQ(Loaded(), saved);
  const std::string file = Read(options_);
  // Byte for byte what an older writer wrote, up to where an older reader stops.
  const std::string older = Layout("options.dat", programLower_, {0, 0, 1}, 465 & 0xFF, "");
  ASSERT_EQ(file.substr(0, older.size()), older);
  std::size_t end = older.size();
  std::vector<std::size_t> ends;  // of the port, the three keys, then the sign-in's records
  for (const std::size_t size : {3, 18, 18, 18, 2, 5, 3 + 2 * (2 + 255) + (2 + 90), 8, 7}) ends.push_back(end += size);
  ASSERT_EQ(ends.back(), file.size());
  for (std::size_t cut = older.size(); cut < file.size(); ++cut) {
    WritePlainFile(options_, file.substr(0, cut));
    const TQuorSettings got = Loaded();
    const TQuorSettings none;
    EXPECT_EQ(got.SmtpPort, cut >= ends[0] ? 465 : 465 & 0xFF) << cut;
    EXPECT_EQ(got.SmtpSecurity, cut >= ends[4] ? 2 : none.SmtpSecurity) << cut;
    EXPECT_EQ(got.SmtpSignInName, cut >= ends[5] ? "ann" : "") << cut;
    EXPECT_EQ(got.SmtpPassword, cut >= ends[6] ? saved.SmtpPassword : none.SmtpPassword) << cut;
    EXPECT_EQ(got.SmtpTrustedServer, cut >= ends[7] ? "mail.x" : "") << cut;
  }
  WritePlainFile(options_, older + Word(465) + kDefaultKeys + Byte(7));  // a security no program knows
  EXPECT_EQ(Loaded().SmtpSecurity, 0);
}

TEST(SmtpPortField, AcceptsWholeNumbersThatFitSixteenBits) {
  const std::pair<const char*, std::optional<uint16_t>> rows[]{
      {"587", 587},          {" 25 ", 25},          {"0", 0},          {"65535", 65535},
      {"65536", std::nullopt}, {"-1", std::nullopt}, {"+5", std::nullopt}, {"", std::nullopt},
      {"2a", std::nullopt},  {"99999999999", std::nullopt}};
  for (const auto& [text, port] : rows) EXPECT_EQ(ParseSmtpPort(text), port) << text;
}

TEST(TrayIcon, TheFileThenTheIndexThenIconZero) {
  const std::tuple<std::string, uint8_t, bool, TrayIconChoice> rows[]{
      {"", 3, false, {"", 3}}, {"", 9, false, {"", 1}}, {"t.ico", 2, true, {"t.ico", 0}}, {"t.ico", 2, false, {"", 0}}};
  for (const auto& [file, index, exists, choice] : rows) {
    TQuorSettings settings;
    settings.TrayIconFile = file;
    settings.TrayIconIndex = index;
    EXPECT_EQ(ChooseTrayIcon(settings, exists), choice) << file << int(index);
  }
}

}  // namespace
