#pragma once
// What the note window tests share: a scratch folder with skins written by the test, a fake
// controller, a watcher that answers the program's error boxes, and message pumping.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "look/skin.h"
#include "notes/note_host.h"
#include "notes/note_window.h"
#include "storage/file_io.h"
#include "win/printer.h"
#include "tests/win/app_test_support.h"
#include "tests/win/bmp_file.h"

namespace note_test {

namespace fs = std::filesystem;

// A BMP file of one colour with a differently coloured lower-left pixel (the transparent
// colour), so transparent pictures still show their body.
inline std::string BmpFile(int width, int height, COLORREF body, COLORREF corner) {
  return test_bmp::BmpFile(width, height, [=](int x, int y) { return x == 0 && y == height - 1 ? corner : body; });
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the messages waiting for this thread's windows, for about `ms` milliseconds.
inline void Pump(int ms = 30) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(2);
  } while (std::chrono::steady_clock::now() < end);
}

class FakeHost final : public NoteHost {
 public:
  void OpenNoteFile(const std::string& path) override { opened.push_back(path); }
  void SuspendNotes() override { ++suspends; }
  void ResumeNotes() override { ++resumes; }
  void EndNoteEditing(TTFoglio& editing) override {
    ++endEditing;
    for (TTFoglio* note : notes) {
      if (note != &editing && note->TextBox().Visible()) note->SetEditing(false);
    }
  }
  bool DeleteToRecycleBin() const override { return recycle; }
  // Kept nowhere: the closed note's files go, as the controller's keeping takes them away.
  void KeepClosedNote(const std::string& storePath) override {
    kept.push_back(storePath);
    DeleteFileIfPresent(storePath);
    DeleteFileIfPresent(NoteStore::FullTextPath(storePath));
  }
  void StoreDamaged(const std::string& asidePath, const std::string& message) override {
    damaged.push_back({asidePath, message});
  }
  win::PrinterSetup& Printer() override { return printer; }
  // Tests place their notes anywhere; the notes within reach are the controller's business.
  std::span<const ScreenArea> WorkAreas() const override { return {&kEverywhere, 1}; }
  static constexpr ScreenArea kEverywhere{-32768, -32768, 32767, 32767};
  void NoteChanged(TTFoglio&) override { ++changes; }
  void NoteHidden(TTFoglio&) override { ++hides; }
  void NoteGone(TTFoglio&) override { ++gone; }
  bool StoreNameInUse(const std::string& storeName, const TTFoglio* asking) const override {
    asked.push_back(storeName);
    if (takenAnswers > 0) {
      --takenAnswers;
      return true;
    }
    for (TTFoglio* note : notes) {
      if (note != asking && note->Store().Name() == storeName) return true;
    }
    return inUse.count(storeName) > 0;
  }

  std::vector<std::string> opened, kept;
  std::vector<std::pair<std::string, std::string>> damaged;
  bool recycle = false;
  win::PrinterSetup printer;
  int suspends = 0, resumes = 0, endEditing = 0, changes = 0, hides = 0, gone = 0;
  std::set<std::string> inUse;
  std::vector<TTFoglio*> notes;  // the "open notes" EndNoteEditing and StoreNameInUse look at
  mutable std::vector<std::string> asked;
  mutable int takenAnswers = 0;  // answer "taken" this many times first
};

using app_test::ErrorBoxWatcher;

// Skins from these values: a 200 x 120 note with a title strip (move area) over a stretched
// background, minimise and delete buttons on the strip, a caption label below the text box.
inline const std::string kTestSkinIni =
    "[Window]\r\nwidth=200\r\nheight=120\r\nResizeable=1\r\n"
    "[BitMap]\r\nBackground=bg.bmp\r\nStretchBgk=1\r\n"
    "title=title.bmp\r\nStretchtitle=1\r\nStretchTitley=20\r\n"
    "Min=min.bmp\r\nminleft=-40\r\nmintop=2\r\nminTransparent=1\r\n"
    "delete=del.bmp\r\ndelLeft=-20\r\ndeltop=2\r\ndeleteTransparent=1\r\n"
    "alarm=alarm.bmp\r\nalarmleft=-60\r\nalarmtop=2\r\n"
    "[Move area]\r\nleft=0\r\ntop=0\r\nright=-30000\r\ndown=20\r\n"
    "[Text Box]\r\nleft=6\r\ntop=24\r\nright=-6\r\ndown=60\r\n"
    "[Colors]\r\nbgk=11\r\nbgktext=15\r\n"
    "[Font]\r\nname=Arial\r\nsize=9\r\n"
    "[Caption]\r\nActive=1\r\nleft=30\r\ntop=70\r\nright=-30\r\n";

// The test skin with `keys` put first into `section` (the first of two equal keys counts).
inline std::string TestSkinWith(const std::string& section, const std::string& keys) {
  std::string ini = kTestSkinIni;
  const std::string header = "[" + section + "]\r\n";
  ini.insert(ini.find(header) + header.size(), keys);
  return ini;
}

// A scratch program folder of its own per test: skins/<name>/ and the notes folder.
class NoteWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    base_ = fs::path(temp) / ("qkli-note-" + std::to_string(GetCurrentProcessId()) + "-" +
                              std::to_string(++counter));
    fs::create_directories(base_ / "cache");
  }
  void TearDown() override {
    host_.notes.clear();
    notes_.clear();
    skins_.clear();
    std::error_code ignored;
    fs::remove_all(base_, ignored);
  }

  std::string Base() const { return base_.string(); }
  std::string Cache() const { return (base_ / "cache").string(); }

  TQuorSkin& WriteSkin(const std::string& name, const std::string& ini, bool pictures = true) {
    const fs::path folder = base_ / "skins" / name;
    fs::create_directories(folder);
    WriteBytes(folder / "skin.ini", ini);
    if (pictures) {
      WriteBytes(folder / "bg.bmp", BmpFile(8, 8, RGB(250, 240, 150), RGB(250, 240, 150)));
      WriteBytes(folder / "title.bmp", BmpFile(8, 20, RGB(230, 200, 60), RGB(230, 200, 60)));
      WriteBytes(folder / "min.bmp", BmpFile(16, 16, RGB(0, 0, 200), RGB(255, 0, 255)));
      WriteBytes(folder / "del.bmp", BmpFile(16, 16, RGB(200, 0, 0), RGB(255, 0, 255)));
      WriteBytes(folder / "alarm.bmp", BmpFile(16, 16, RGB(0, 160, 0), RGB(255, 0, 255)));
    }
    skins_.push_back(std::make_unique<TQuorSkin>(name, Base()));
    return *skins_.back();
  }
  TQuorSkin& TestSkin() { return WriteSkin("test", kTestSkinIni); }

  // A new note (empty store folder and name: the program folder's "cache") or a restored one.
  TTFoglio& NewNote(TQuorSkin& skin, bool stamp = false, bool tray = false) {
    return Keep(std::make_unique<TTFoglio>(host_, stamp, tray, Cache(), "", skin));
  }
  TTFoglio& RestoredNote(TQuorSkin& skin, const std::string& fileName) {
    return Keep(std::make_unique<TTFoglio>(host_, false, false, Cache(), fileName, skin));
  }
  TTFoglio& Keep(std::unique_ptr<TTFoglio> note) {
    host_.notes.push_back(note.get());
    notes_.push_back(std::move(note));
    return *notes_.back();
  }
  // Destroys the note as the note list does at the end of the program.
  void Destroy(TTFoglio& note) {
    for (auto it = notes_.begin(); it != notes_.end(); ++it) {
      if (it->get() == &note) {
        std::erase(host_.notes, &note);
        notes_.erase(it);
        return;
      }
    }
  }

  std::string CachePath(const std::string& storeName) const { return Cache() + "\\" + storeName; }

  FakeHost host_;
  fs::path base_;
  std::vector<std::unique_ptr<TQuorSkin>> skins_;
  std::vector<std::unique_ptr<TTFoglio>> notes_;
};

}  // namespace note_test
