#include "look/skin.h"

#include <optional>
#include <string_view>
#include <utility>

#include "storage/file_io.h"
#include "win/program_folder.h"
#include "win/unicode.h"

namespace {

[[noreturn]] void ThrowNotFound(const std::string& path) {
  throw EQuorSkinError("Error at loadSkin. File " + path + " not found");
}

// A memory DC holding `bitmap`, compatible with `like` (the screen when null).
class BitmapDc {
 public:
  explicit BitmapDc(HBITMAP bitmap, HDC like = nullptr)
      : dc_(CreateCompatibleDC(like)), selected_(dc_.get(), bitmap) {}
  HDC get() const { return dc_.get(); }

 private:
  win::UniqueMemoryDc dc_;
  win::SelectedObject selected_;
};

// The profile functions cannot tell a missing key from a value equal to the default, so the
// default is a text no skin would hold.
constexpr const wchar_t kMissing[] = L"\x01qkli:missing\x01";

ProfileReader IniReader(const std::string& iniPath) {
  return [iniPath = win::Wide(iniPath)](std::string_view section, std::string_view key) -> std::optional<std::string> {
    wchar_t buffer[2048];
    const DWORD length = GetPrivateProfileStringW(win::Wide(section).c_str(), win::Wide(key).c_str(), kMissing,
                                                  buffer, 2048, iniPath.c_str());
    const std::wstring_view value(buffer, length);
    if (value == kMissing) return std::nullopt;
    return win::Utf8(value);
  };
}

size_t Slot(SkinElement element) { return static_cast<size_t>(element); }

}  // namespace

SkinBitmap::SkinBitmap(HBITMAP bitmap) : handle_(bitmap) {
  BITMAP info{};
  GetObjectA(handle_.get(), sizeof info, &info);
  width_ = info.bmWidth;
  height_ = info.bmHeight;
  if (width_ > 0 && height_ > 0) {
    const BitmapDc pixels(handle_.get());
    transparent_ = GetPixel(pixels.get(), 0, height_ - 1);
  }
}

std::shared_ptr<const SkinBitmap> SkinBitmap::LoadFromFile(const std::string& path) {
  const auto bitmap = static_cast<HBITMAP>(
      LoadImageW(nullptr, win::Wide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!bitmap) throw EQuorSkinError("Error at loadSkin. File " + path + " is not a readable BMP picture");
  return std::make_shared<const SkinBitmap>(bitmap);
}

void DrawSkinBitmap(HDC dc, const SkinBitmap& bitmap, const PixelRect& dest, bool stretch,
                    bool transparent) {
  const int width = stretch ? dest.Width : bitmap.Width();
  const int height = stretch ? dest.Height : bitmap.Height();
  if (width <= 0 || height <= 0 || bitmap.Width() <= 0 || bitmap.Height() <= 0) return;
  const BitmapDc source(bitmap.Handle(), dc);
  if (transparent) {
    TransparentBlt(dc, dest.Left, dest.Top, width, height, source.get(), 0, 0, bitmap.Width(),
                   bitmap.Height(), bitmap.TransparentColor());
  } else if (stretch) {
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin;
    SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    StretchBlt(dc, dest.Left, dest.Top, width, height, source.get(), 0, 0, bitmap.Width(),
               bitmap.Height(), SRCCOPY);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
  } else {
    BitBlt(dc, dest.Left, dest.Top, width, height, source.get(), 0, 0, SRCCOPY);
  }
}

LOGFONTA SkinLogFont(const tQuorFont& font) {
  LOGFONTA log{};
  // Notes are laid out at 96 dpi and never rescaled, so points convert at that resolution.
  log.lfHeight = -MulDiv(font.Size, 96, 72);
  log.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
  log.lfItalic = font.Italic;
  log.lfUnderline = font.Underline;
  log.lfCharSet = DEFAULT_CHARSET;
  log.lfOutPrecision = OUT_DEFAULT_PRECIS;
  log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  log.lfQuality = DEFAULT_QUALITY;
  log.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  // The skin's texts are UTF-8; a face name goes to Windows in the code page it names fonts in.
  win::AnsiFromUtf8(font.Name).text.copy(log.lfFaceName, LF_FACESIZE - 1);
  return log;
}

SkinFont::SkinFont(const tQuorFont& font) : color_(SkinColor(font.Color)) {
  const LOGFONTA log = SkinLogFont(font);
  handle_.reset(CreateFontIndirectA(&log));
}

TQuorSkin::TQuorSkin(std::string skinName, std::string baseFolder)
    : state_(Load(std::move(skinName), std::move(baseFolder))) {}

void TQuorSkin::ReloadSkin(std::string skinName, std::string baseFolder) {
  // Everything is loaded aside and swapped in only when complete: a failed reload leaves the
  // skin the controller still names, and every picture is released exactly once, by its last
  // holder.
  state_ = Load(std::move(skinName), std::move(baseFolder));
}

std::shared_ptr<const SkinBitmap> TQuorSkin::Bitmap(SkinElement element) const {
  return state_.bitmaps[Slot(element)];
}

TQuorSkin::State TQuorSkin::Load(std::string skinName, std::string baseFolder) {
  State state;
  if (baseFolder.empty()) baseFolder = win::ProgramFolder();
  state.name = SkinFolderName(skinName);
  state.folder = baseFolder + "\\skins\\" + state.name;
  state.iniPath = state.folder + "\\skin.ini";
  if (!FileExists(state.iniPath)) ThrowNotFound(state.iniPath);

  state.options = ReadSkinOptions(IniReader(state.iniPath), [&state](SkinElement element, TSkinImage& image) {
    if (!image.Present) return;
    const std::string path = state.folder + "\\" + image.File;
    if (!FileExists(path)) ThrowNotFound(path);
    state.bitmaps[Slot(element)] = SkinBitmap::LoadFromFile(path);
  });
  return state;
}
