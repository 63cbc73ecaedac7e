#include "mail/send_window_layout.h"

#include <algorithm>

namespace {

constexpr const char* kDefaultLanguageStrings[kLanguageStringCount] = {
    "Connecting to", "Connected to", "Recipient #", "Sending Mail", "Attachment", "Cancel"};

constexpr int kMargin = 3;

// The status line must hold each status text with a long value: a host name, a dotted
// address, an address and a file name.
std::vector<std::string> StatusSamples(const std::vector<std::string>& texts) {
  return {texts[0] + " smtp.mailserver.com", texts[1] + " 255.255.255.255 ",
          texts[2] + " firstname.lastname@mail-server.com", texts[3] + " filename.kli"};
}

}  // namespace

void CompleteLanguageStrings(std::vector<std::string>& strings) {
  for (std::size_t i = strings.size(); i < kLanguageStringCount; ++i)
    strings.emplace_back(kDefaultLanguageStrings[i]);
}

SendWindowLayout LayOutSendWindow(TSendMailDialogOptions options, int statusBarWidth,
                                  int statusBarHeight,
                                  const std::vector<std::string>& languageStrings,
                                  const MeasureText& measure) {
  using enum SendMailDialogObjects;
  SendWindowLayout layout;
  int& width = layout.ClientWidth;
  int& height = layout.ClientHeight;
  width = height = kMargin;

  if (options.Has(StatusText)) {
    TextExtent widest;
    for (const std::string& sample : StatusSamples(languageStrings)) {
      const TextExtent extent = measure(sample);
      widest = {std::max(widest.Width, extent.Width), std::max(widest.Height, extent.Height)};
    }
    layout.Status = {true, 0, height, widest.Width + 6, widest.Height + 6};
    height += layout.Status.Height;
    width = layout.Status.Width + 6;
  }
  if (options.Has(StatusBar)) {
    layout.Panel = {true, 0, height, statusBarWidth, statusBarHeight};
    height += statusBarHeight + kMargin;
    width = std::max(width, statusBarWidth + 6);
  }
  if (options.Has(ByteCounter)) {
    const TextExtent digits = measure("99999999");
    layout.Counter = {true, kMargin, height + kMargin, digits.Width + 6, digits.Height};
    if (!options.Has(CancelButton)) height += digits.Height + 6;
  }
  if (options.Has(CancelButton)) {
    layout.CancelCaption = languageStrings[5];
    const TextExtent caption = measure(layout.CancelCaption);
    const int top = layout.Counter.Visible ? layout.Counter.Top : height + kMargin;
    layout.Cancel = {true, 0, top, caption.Width + 16, caption.Height + 10};
    height += layout.Cancel.Height + kMargin;
  }

  const auto centre = [&width](ControlBox& box) { box.Left = (width - box.Width) / 2; };
  if (layout.Counter.Visible && layout.Cancel.Visible) {
    width = std::max(width, layout.Cancel.Width + layout.Counter.Width + 12);
    layout.Cancel.Left = width - layout.Cancel.Width - kMargin;
  } else {
    for (ControlBox* alone : {&layout.Counter, &layout.Cancel}) {
      if (!alone->Visible) continue;
      width = std::max(width, alone->Width + 6);
      centre(*alone);
    }
  }

  if (layout.Status.Visible) layout.Status.Width = width;
  if (layout.Panel.Visible) centre(layout.Panel);
  height += kMargin;
  return layout;
}
