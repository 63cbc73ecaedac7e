#include "look/skin_options.h"

#include <cctype>

const TSkinImage& TSkinOptions::Image(SkinElement element) const {
  switch (element) {
    case SkinElement::Menu: return Menu;
    case SkinElement::Delete: return Delete;
    case SkinElement::Min: return Min;
    case SkinElement::Background: return Background;
    case SkinElement::Title: return Title;
    case SkinElement::Alarm: break;
  }
  return Alarm;
}

TSkinImage& TSkinOptions::Image(SkinElement element) {
  return const_cast<TSkinImage&>(static_cast<const TSkinOptions&>(*this).Image(element));
}

int32_t ParseSkinInteger(std::string_view text, int32_t fallback) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);

  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return fallback;

  // Hexadecimal spans all 32 bits ($FFFFFFFF is -1); decimal must fit a signed 32-bit value.
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
      digit = std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    else return fallback;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    if (value > limit) return fallback;
  }
  const auto bits = static_cast<uint32_t>(value);
  return static_cast<int32_t>(negative ? 0u - bits : bits);
}

namespace {

class SkinReader {
 public:
  explicit SkinReader(const ProfileReader& read) : read_(read) {}

  int32_t Int(std::string_view section, std::string_view key, int32_t fallback) const {
    const auto value = read_(section, key);
    return value ? ParseSkinInteger(*value, fallback) : fallback;
  }
  bool Bool(std::string_view section, std::string_view key, bool fallback) const {
    return Int(section, key, fallback ? 1 : 0) != 0;
  }
  std::string String(std::string_view section, std::string_view key, std::string fallback) const {
    auto value = read_(section, key);
    return value ? std::move(*value) : std::move(fallback);
  }

  tQuorFont Font(std::string_view section) const {
    const tQuorFont defaults;
    tQuorFont font;
    font.Name = String(section, "name", defaults.Name);
    font.Size = static_cast<uint8_t>(Int(section, "size", defaults.Size));
    font.Underline = Bool(section, "underline", defaults.Underline);
    font.Bold = Bool(section, "Bold", defaults.Bold);
    font.Italic = Bool(section, "Italic", defaults.Italic);
    font.Color = Int(section, "color", defaults.Color);
    return font;
  }

 private:
  const ProfileReader& read_;
};

struct ImageKeys {
  SkinElement element;
  const char *file, *left, *top, *stretch, *right, *bottom, *transparent;
};

constexpr ImageKeys kImageKeys[] = {
    {SkinElement::Menu, "menu", "menuleft", "menutop", "StretchMenu", "StretchMenux", "StretchMenuy",
     "menuTransparent"},
    {SkinElement::Delete, "delete", "delLeft", "deltop", "StretchDel", "StretchDelx", "StretchDely",
     "deleteTransparent"},
    {SkinElement::Min, "Min", "minleft", "mintop", "StretchMin", "StretchMinx", "StretchMiny",
     "minTransparent"},
    {SkinElement::Background, "Background", "bgkleft", "bgktop", "StretchBgk", "StretchBgkx",
     "StretchBgky", "bgkTransparent"},
    {SkinElement::Title, "title", "titleleft", "titletop", "Stretchtitle", "StretchTitlex",
     "StretchTitley", "titleTransparent"},
    {SkinElement::Alarm, "alarm", "alarmleft", "alarmtop", "Stretchalarm", "StretchAlarmx",
     "StretchAlarmy", "alarmTransparent"},
};

void ReadImage(const SkinReader& in, const ImageKeys& keys, TSkinImage& image,
               const SkinImageHook& onImage) {
  constexpr std::string_view section = "BitMap";
  image.File = in.String(section, keys.file, {});
  image.Present = !image.File.empty();
  if (onImage) onImage(keys.element, image);
  image.StretchX = in.Int(section, keys.right, -30000);
  image.StretchY = in.Int(section, keys.bottom, -30000);
  image.Left = in.Int(section, keys.left, 0);
  image.Top = in.Int(section, keys.top, 0);
  image.Stretch = in.Bool(section, keys.stretch, false);
  image.Transparent = in.Bool(section, keys.transparent, false);
}

}  // namespace

TSkinOptions ReadSkinOptions(const ProfileReader& read, const SkinImageHook& onImage) {
  const SkinReader in(read);
  TSkinOptions o;
  for (const ImageKeys& keys : kImageKeys) ReadImage(in, keys, o.Image(keys.element), onImage);

  o.MoveArea.Top = in.Int("Move area", "top", 0);
  o.MoveArea.Left = in.Int("Move area", "left", 0);
  o.MoveArea.Right = in.Int("Move area", "right", 0);
  o.MoveArea.Down = in.Int("Move area", "down", 0);

  o.TextBox.Top = in.Int("Text Box", "top", 0);
  o.TextBox.Down = in.Int("Text Box", "down", 0);
  o.TextBox.Left = in.Int("Text Box", "left", 0);
  o.TextBox.Right = in.Int("Text Box", "right", 0);
  o.TextBox.Line = in.Bool("Text box", "line", false);
  o.TextBox.BackColor = in.Int("Colors", "bgktext", 11);
  o.TextBox.Font = in.Font("Font");
  if (const int32_t text = in.Int("colors", "text", -1); text != -1) o.TextBox.Font.Color = text;

  o.Resizeable = in.Bool("Window", "Resizeable", true);
  o.Activable = in.Bool("Window", "Activable", false);
  o.BackColor = in.Int("colors", "bgk", 11);

  o.WindowTitle.Old = in.Bool("window", "old", false);
  o.WindowTitle.Title = in.String("window", "title", "Quor k-li 5");
  o.WindowTitle.Standard = in.Bool("window", "Standard", false);
  o.BevelVisible = in.Bool("window", "BevelVisible", false);
  o.BevelTop = in.Int("window", "BevelTop", 0);

  o.Caption.Active = in.Bool("Caption", "Active", false);
  o.Caption.OnlyFileName = in.Bool("Caption", "Onlyfilename", false);
  o.Caption.Left = in.Int("Caption", "left", 0);
  o.Caption.Top = in.Int("Caption", "top", 0);
  o.Caption.Right = in.Int("Caption", "right", 0);

  o.Width = static_cast<uint16_t>(in.Int("Window", "width", 150));
  o.Height = static_cast<uint16_t>(in.Int("Window", "height", 100));
  o.Caption.Font = in.Font("Caption Font");
  return o;
}
