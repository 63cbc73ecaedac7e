// libFuzzer target for reading the configuration file. The input is "options.dat": reading it
// ends in settings or in a file error, settings read are always in range, and settings read
// are written and read back the same. A pointer in the input may send the reader to any path;
// such paths (folder + backslash + name) name no file here, which is one of the cases read.
#include <cstdint>
#include <string>

#include "app/settings_file.h"
#include "storage/io_error.h"
#include "storage/record_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string Unchanged(std::string text) { return text; }

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::InputFile input("-in\\options.dat");
  static fuzz::InputFile written("-out\\options.dat");
  TQuorSettings settings;
  settings.ConfigFolder = FolderOf(input.write(data, size));
  try {
    LoadSettings(settings);
  } catch (const EQuorFileError&) {
    return 0;
  } catch (const EInOutError&) {
    return 0;
  }
  fuzz::Check(settings.StartupShow <= ssShowNone && settings.TrayClickAction <= taNone && settings.TrayIconIndex <= 3,
              "settings read are in range");

  settings.ConfigName = "options.dat";
  settings.ConfigFolder = FolderOf(written.path());
  SaveSettings(settings, settings.ConfigFolder, Unchanged);
  TQuorSettings reread;
  reread.ConfigFolder = settings.ConfigFolder;
  LoadSettings(reread);
  fuzz::Check(reread == settings, "settings read are written and read back the same");
  return 0;
}
