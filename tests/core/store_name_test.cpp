#include "notes/store_name.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(StoreName, FormatAndRange) {
  const auto none = [](const std::string&) { return false; };
  EXPECT_EQ(NewStoreName("C:\\p\\cache", none, [] { return 0u; }), "\\0.kli");
  EXPECT_EQ(NewStoreName("C:\\p\\cache", none, [] { return 0xFFFFFFFFu; }), "\\999998.kli");
  EXPECT_EQ(NewStoreName("C:\\p\\cache", none, [] { return 0x80000000u; }), "\\499999.kli");

  const std::regex shape(R"(\\(0|[1-9][0-9]{0,5})\.kli)");
  uint32_t seed = 12345;
  const auto lcg = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int i = 0; i < 1000; ++i) {
    const std::string name = NewStoreName("C:\\p\\cache", none, lcg);
    EXPECT_TRUE(std::regex_match(name, shape)) << name;
  }
}

TEST(StoreName, AvoidsNamesThatExist) {
  const std::set<std::string> taken = {"C:\\p\\cache\\0.kli", "C:\\p\\cache\\499999.kli"};
  std::vector<std::string> asked;
  const auto exists = [&](const std::string& path) {
    asked.push_back(path);
    return taken.count(path) > 0;
  };
  const std::vector<uint32_t> draws = {0u, 0x80000000u, 0xFFFFFFFFu};
  size_t next = 0;
  EXPECT_EQ(NewStoreName("C:\\p\\cache", exists, [&] { return draws.at(next++); }),
            "\\999998.kli");
  EXPECT_EQ(asked, (std::vector<std::string>{"C:\\p\\cache\\0.kli", "C:\\p\\cache\\499999.kli",
                                             "C:\\p\\cache\\999998.kli"}));
}

TEST(StoreName, GivesUpInsteadOfHanging) {
  EXPECT_THROW(NewStoreName("C:\\p\\cache", [](const std::string&) { return true; },
                            [] { return 7u; }),
               std::runtime_error);
}

}  // namespace
