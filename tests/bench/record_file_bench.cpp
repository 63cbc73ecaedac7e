// How fast the record file saves and loads, against the floor of writing and reading the same
// bytes plainly through one buffered stream, and what the safe write's flush and rename add to
// saving one file. Prints figures only; nothing here passes or fails on time.
//   record_file_bench [--quick]     (--quick: a few rounds, to check that it still runs)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "storage/file_io.h"
#include "storage/record_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsOf(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double BestOf(int runs, const std::function<void()>& work) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) best = std::min(best, MillisecondsOf(work));
  return best;
}

// The largest values the format holds: 255 strings of 255 characters, and every other type.
struct MaximalRecord {
  std::vector<std::string> lines;
  std::string text = std::string(255, 'T');
  FontValue font{std::string(255, 'F'), -12, true, true, true, true, 0x00ABCDEF};
  QDateTime when = EncodeDateTime(2026, 12, 6, 14, 26, 0);

  MaximalRecord() {
    for (int i = 0; i < 255; ++i) lines.push_back(std::string(255, static_cast<char>('a' + i % 26)));
  }

  void write(TQuorFile& f) const {
    f.writeByte(50);
    f.writeFont(font);
    f.writeColor(0xFFFFE0);
    f.writeStrings(lines);
    f.writeColor(static_cast<int32_t>(0x8000000F));
    for (unsigned word : {150u, 100u, 10u, 20u}) f.writeWord(word);
    f.writeString(text);
    f.writeDateTime(when);
    f.writeBool(true);
    f.writeInt(-65535);
    f.writeRawByte(0x7F);
  }

  // False when what comes back is not what was written. Only the list, which is most of the
  // bytes, is left to be compared by the caller, outside the timing.
  bool read(TQuorFile& f, std::vector<std::string>& into) const {
    bool same = f.readByte() == 50;
    same &= f.readFont() == font;
    same &= f.readColor() == 0xFFFFE0;
    f.readStrings(into);
    same &= f.readColor() == static_cast<int32_t>(0x8000000F);
    for (unsigned word : {150u, 100u, 10u, 20u}) same &= f.readWord() == word;
    same &= f.readString() == text;
    same &= f.readDateTime() == when;
    same &= f.readBool();
    same &= f.readInt() == -65535;
    same &= f.readRawByte() == 0x7F;
    return same;
  }
};

void PlainWrite(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot create " + path);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

std::size_t PlainRead(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw std::runtime_error("cannot open " + path);
  std::vector<char> buffer(64 * 1024);
  std::size_t total = 0, got;
  unsigned check = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
    total += got;
    check += static_cast<unsigned char>(buffer[got - 1]);
  }
  std::fclose(file);
  return total + (check & 1);  // keeps the reads from being optimised away
}

int Run(bool quick) {
  std::random_device random;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("qkli-bench-" + std::to_string(random()));
  std::filesystem::create_directories(folder);
  const std::string big = (folder / "big.kli").string();
  const std::string plain = (folder / "plain.kli").string();
  const std::string note = (folder / "note.kli").string();

  const MaximalRecord record;
  const int repetitions = quick ? 3 : 200;
  const int runs = quick ? 1 : 9;
  const int saves = quick ? 3 : 40;
  bool correct = true;

  // Streams: many records in one file, so the per-file costs do not hide the per-value ones.
  double recordWriteMs = 1e300, closeMs = 0;
  for (int run = 0; run < runs; ++run) {
    TQuorFile file(big, LocalePictures{});
    const double writeMs = MillisecondsOf([&] {
      file.OpenWrite();
      for (int i = 0; i < repetitions; ++i) record.write(file);
    });
    const double thisCloseMs = MillisecondsOf([&] { file.Close(); });
    if (writeMs < recordWriteMs) {
      recordWriteMs = writeMs;
      closeMs = thisCloseMs;
    }
  }
  const std::string bytes = ReadWholeFile(big);
  const double plainWriteMs = BestOf(runs, [&] { PlainWrite(plain, bytes); });

  std::vector<std::string> lines;
  const double recordReadMs = BestOf(runs, [&] {
    TQuorFile file(big, LocalePictures{});
    file.OpenRead();
    for (int i = 0; i < repetitions; ++i) correct &= record.read(file, lines);
  });
  correct &= lines == record.lines;
  const double plainReadMs = BestOf(runs, [&] { correct &= PlainRead(plain) >= bytes.size(); });

  // One file per save, as the program saves each note.
  const std::string one = bytes.substr(0, bytes.size() / repetitions);
  const double recordSaveMs = BestOf(runs, [&] {
    for (int i = 0; i < saves; ++i) {
      TQuorFile file(note, LocalePictures{});
      file.OpenWrite();
      record.write(file);
      file.Close();
    }
  }) / saves;
  const double safeSaveMs = BestOf(runs, [&] {
    for (int i = 0; i < saves; ++i) WriteFileAtomically(note, one);
  }) / saves;
  const double plainSaveMs = BestOf(runs, [&] {
    for (int i = 0; i < saves; ++i) PlainWrite(plain, one);
  }) / saves;
  correct &= ReadWholeFile(note) == one;
  const double recordLoadMs = BestOf(runs, [&] {
    for (int i = 0; i < saves; ++i) {
      TQuorFile file(note, LocalePictures{});
      file.OpenRead();
      correct &= record.read(file, lines);
    }
  }) / saves;
  correct &= lines == record.lines;
  const double plainLoadMs = BestOf(runs, [&] {
    for (int i = 0; i < saves; ++i) correct &= PlainRead(note) >= one.size();
  }) / saves;

  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);

  std::printf("record file benchmark: one maximal record is %zu bytes; %d in one file (%.1f MB), best of %d\n",
              one.size(), repetitions, bytes.size() / 1e6, runs);
  std::printf("  write  record file %8.2f ms   plain buffered %8.2f ms   ratio %.2f (target <= 1.5)\n",
              recordWriteMs, plainWriteMs, recordWriteMs / plainWriteMs);
  // Reading copies every value out of the buffer into the caller's strings; the plain read
  // stops at the buffer, so this ratio carries one extra pass over the bytes.
  std::printf("  read   record file %8.2f ms   plain buffered %8.2f ms   ratio %.2f (target <= 1.5)\n",
              recordReadMs, plainReadMs, recordReadMs / plainReadMs);
  std::printf("  closing the big file (last buffer, flush, rename): %.2f ms\n", closeMs);
  std::printf("one maximal record in a file of its own, as each note is kept; %d files, best of %d:\n", saves, runs);
  std::printf("  save   plain write %.3f ms   safe write %.3f ms (flush + rename %.3f ms)   record file %.3f ms\n",
              plainSaveMs, safeSaveMs, safeSaveMs - plainSaveMs, recordSaveMs);
  std::printf("  load   plain read  %.3f ms   record file %.3f ms   ratio %.2f\n", plainLoadMs, recordLoadMs,
              recordLoadMs / plainLoadMs);
  if (!correct) std::printf("ERROR: the values read back differ from those written\n");
  return correct ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc > 1 && std::strcmp(argv[1], "--quick") == 0);
  } catch (const std::exception& error) {
    std::printf("ERROR: %s\n", error.what());
    return 1;
  }
}
