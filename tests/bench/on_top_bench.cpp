// "Always on top" for all notes at once, with 255 notes on a skin whose notes switch between
// editing and display (Activable): the time the note list takes, and how many notes edit after.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/note_list.h"
#include "look/skin.h"
#include "notes/note_host.h"
#include "notes/note_window.h"
#include "tests/win/app_test_support.h"
#include "win/printer.h"

namespace {

class BenchHost final : public NoteHost {
 public:
  void OpenNoteFile(const std::string&) override {}
  void SuspendNotes() override {}
  void ResumeNotes() override {}
  void EndNoteEditing(TTFoglio& editing) override { notes->EndEditing(&editing); }
  bool DeleteToRecycleBin() const override { return false; }
  bool StoreNameInUse(const std::string& name, const TTFoglio* asking) const override {
    return notes->UsesStoreName(name, asking);
  }
  win::PrinterSetup& Printer() override { return printer; }
  void NoteChanged(TTFoglio&) override {}
  void NoteHidden(TTFoglio&) override {}
  void NoteGone(TTFoglio&) override {}
  TQuorLista* notes = nullptr;
  win::PrinterSetup printer;
};

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 && std::string(argv[1]) == "--quick" ? 20 : 255;
  const std::string folder = (std::filesystem::temp_directory_path() / "qkli-on-top-bench").string();
  std::filesystem::create_directories(folder);
  TQuorSkin skin("glass", app_test::WindowsPath(QKLI_PROGRAM_DIR));
  BenchHost host;
  auto notes = std::make_unique<TQuorLista>(host);
  host.notes = notes.get();
  for (int i = 0; i < count; ++i) notes->AddFromFile(skin, "", folder).SetShown(true);
  notes->EndEditing();  // every note shows its display: each one the command reaches starts editing
  const auto start = std::chrono::steady_clock::now();
  notes->SetAllOnTop(true);
  const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  int editing = 0;
  for (int i = 0; i < notes->Count(); ++i) editing += notes->Note(i).TextBox().Visible();
  std::printf("on top for all, %d notes (Activable skin): %.0f ms; notes editing after: %d\n", count, ms, editing);
  for (int i = notes->Count(); i > 0; --i) notes->Delete(0);
  std::filesystem::remove_all(folder);
  return editing == 1 ? 0 : 1;
}
