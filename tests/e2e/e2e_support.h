#pragma once
// Drives the real qkli.exe: a fresh copy of the program folder per test, the process started
// with CreateProcessA, and only its public interfaces (window messages, WM_COPYDATA, a second
// start, its files).
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/win/app_test_support.h"

namespace e2e {

namespace fs = std::filesystem;

struct NoteWindow {
  HWND hwnd;
  std::string title;
  RECT rect;
  bool visible;
  bool topmost;
};

class QkliTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts qkli.exe of the test's program folder and waits until its start-up is complete.
  void Start(const std::vector<std::string>& arguments = {});
  // A second start with `arguments`; returns its exit code once it ended (-1: it did not end).
  int StartSecond(const std::vector<std::string>& arguments);
  // UM_COMMAND 5, then waits for the process to end. Fails the test when qkli showed an error
  // box that the test did not ask for with ErrorBoxes().
  void Stop();
  // The texts of the first `count` error boxes of this run (waits for them; answered with OK).
  std::vector<std::string> ErrorBoxes(size_t count);

  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
  LRESULT SendCopyData(ULONG_PTR kind, const void* data, DWORD size) const;
  // The note windows of the running qkli, topmost first (the z-order).
  std::vector<NoteWindow> Notes() const;
  // The note windows that appear after `before` was taken.
  std::vector<NoteWindow> NewNotesSince(const std::vector<NoteWindow>& before) const;

  std::string Folder() const { return folder_.string(); }
  std::string Cache() const { return (folder_ / "cache").string(); }
  std::vector<std::string> CacheFiles() const;  // file names in cache, sorted
  DWORD ProcessId() const { return process_.dwProcessId; }

  fs::path folder_;
  fs::path scratch_;  // files outside the program folder
  PROCESS_INFORMATION process_{};
  HWND controller_ = nullptr;
  std::unique_ptr<app_test::ErrorBoxWatcher> boxes_;
  size_t boxesExpected_ = 0;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace e2e
