// The hand-over list between a second start and the running instance.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/hand_over_list.h"
#include "storage/file_io.h"
#include "storage/io_error.h"

namespace {

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("qkli-hand-over-" + name)).string();
}

}  // namespace

TEST(HandOverList, WritesOnePathPerCrLfLineAndReadsThemBackInOrder) {
  const std::string path = TempPath("two.tmp");
  const std::vector<std::string> paths = {"C:\\notes\\first.kli", "D:\\with blank\\second.txt"};
  WriteHandOverList(path, paths);
  EXPECT_EQ(ReadWholeFile(path), "C:\\notes\\first.kli\r\nD:\\with blank\\second.txt\r\n");
  EXPECT_EQ(ReadHandOverList(path), paths);
  WriteHandOverList(path, {"C:\\€.kli"});  // 8-bit text of the code page: one byte for "€"
  EXPECT_EQ(ReadWholeFile(path).size(), 10u);
  EXPECT_EQ(ReadHandOverList(path), std::vector<std::string>{"C:\\€.kli"});

  // A second start without arguments empties the list.
  WriteHandOverList(path, {});
  EXPECT_EQ(ReadWholeFile(path), "");
  EXPECT_TRUE(ReadHandOverList(path).empty());
  std::filesystem::remove(path);
}

TEST(HandOverList, AcceptsAnyLineEndAndSkipsBlankLines) {
  const std::string path = TempPath("mixed.tmp");
  {
    std::ofstream out(path, std::ios::binary);
    out << "a.kli\nb.kli\rc.kli\r\n\r\n\nd.kli";
  }
  EXPECT_EQ(ReadHandOverList(path), (std::vector<std::string>{"a.kli", "b.kli", "c.kli", "d.kli"}));
  std::filesystem::remove(path);
}

TEST(HandOverList, AMissingListIsAnInputOutputError) {
  try {
    ReadHandOverList(TempPath("missing.tmp"));
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.code(), 2);
    EXPECT_STREQ(e.what(), "File not found");
  }
}
