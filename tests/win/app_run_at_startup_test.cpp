// The Run value that starts the program at logon, in Wine's registry.
#include <gtest/gtest.h>

#include "app/run_at_startup.h"
#include "tests/win/registry_test_root.h"

TEST(RunAtStartup, WrittenOnlyWhenItsPresenceMustChange) {
  const TestRegistryRoot root("RunAtStartup");
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string program = "c:\\program files\\qkli\\qkli.exe";
  const auto apply = [&](bool on, const std::string& before) {
    win::RegistryKey::Create(root.get(), run).writeString("Quor K-lI", before);
    ApplyRunAtStartup(on, program, root.get());
    return root.Value(run, "Quor K-lI");
  };
  EXPECT_EQ(apply(true, ""), program);
  EXPECT_EQ(apply(false, program), "<no value>");
  // The program in other letter case is present: nothing is rewritten.
  EXPECT_EQ(apply(true, "C:\\Program Files\\QKLI\\qkli.EXE"), "C:\\Program Files\\QKLI\\qkli.EXE");
  // Another copy of the program is not this one: neither present nor removed.
  EXPECT_EQ(apply(false, "d:\\other\\qkli.exe"), "d:\\other\\qkli.exe");
}
