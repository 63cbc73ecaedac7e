// The Run value that starts the program at logon, in Wine's registry.
#include <gtest/gtest.h>

#include "app/run_at_startup.h"
#include "tests/win/registry_test_root.h"

TEST(RunAtStartup, WrittenOnlyWhenItsPresenceMustChange) {
  const TestRegistryRoot root("RunAtStartup");
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::string program = "c:\\program files\\qkli\\qkli.exe";

  ApplyRunAtStartup(true, program, root.get());
  EXPECT_EQ(root.Value(run, "Quor K-lI"), program);
  ApplyRunAtStartup(false, program, root.get());
  EXPECT_EQ(root.Value(run, "Quor K-lI"), "<no value>");

  // The program's path in other letter case is present: nothing is rewritten.
  win::RegistryKey::Open(root.get(), run, true).writeString("Quor K-lI", "C:\\Program Files\\QKLI\\qkli.EXE");
  ApplyRunAtStartup(true, program, root.get());
  EXPECT_EQ(root.Value(run, "Quor K-lI"), "C:\\Program Files\\QKLI\\qkli.EXE");

  // Another copy of the program is not this one: it is neither present nor removed.
  win::RegistryKey::Open(root.get(), run, true).writeString("Quor K-lI", "d:\\other\\qkli.exe");
  ApplyRunAtStartup(false, program, root.get());
  EXPECT_EQ(root.Value(run, "Quor K-lI"), "d:\\other\\qkli.exe");
}
