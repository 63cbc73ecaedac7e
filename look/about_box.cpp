#include "look/about_box.h"

#include "win/handles.h"

namespace {

constexpr const char* kMissingTitle = "Quor K-lI 5.00";
constexpr const char* kMissingLine = "The about picture is missing (quorkli.dll).";
constexpr const char* kMissingHint = "Click to close.";
constexpr SIZE kMissingSize{280, 96};

SIZE PictureSize(HBITMAP picture) {
  BITMAP info{};
  if (picture == nullptr || GetObjectA(picture, sizeof info, &info) == 0) return kMissingSize;
  return {info.bmWidth, info.bmHeight};
}

win::FormFrame FrameFor(HWND owner, HBITMAP picture) {
  const SIZE size = PictureSize(picture);
  return {.className = "TAboutBox",
          .caption = "",
          .clientWidth = static_cast<int>(size.cx),
          .clientHeight = static_cast<int>(size.cy),
          .owner = owner,
          .style = WS_POPUP,
          .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW};
}

}  // namespace

TAboutBox::TAboutBox(HWND owner, const std::string& libraryFolder)
    : TAboutBox(owner, std::make_unique<TDllLoader>(kResourceLibrary, "ABOUTBMP", libraryFolder)) {}

// The picture is loaded first: the window takes its size.
TAboutBox::TAboutBox(HWND owner, std::unique_ptr<TDllLoader> picture)
    : Form(FrameFor(owner, picture->Bitmap())), Image1_(std::move(picture)) {}

LRESULT TAboutBox::handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      win::PaintDc dc(hwnd());
      Paint(dc.get());
      return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      Close(win::ModalResult::Ok);
      return 0;
    default: return Form::handle(msg, wp, lp);
  }
}

void TAboutBox::Paint(HDC dc) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (HBITMAP picture = Image1_->Bitmap()) {
    win::UniqueMemoryDc source(CreateCompatibleDC(dc));
    win::SelectedObject selected(source.get(), picture);
    BitBlt(dc, 0, 0, client.right, client.bottom, source.get(), 0, 0, SRCCOPY);
    return;
  }
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  FrameRect(dc, &client, GetSysColorBrush(COLOR_3DDKSHADOW));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  LOGFONTA bold{};
  GetObjectA(Font(), sizeof bold, &bold);
  bold.lfWeight = FW_BOLD;
  const win::UniqueFont titleFont(CreateFontIndirectA(&bold));
  RECT line{0, 16, client.right, 34};
  for (const char* text : {kMissingTitle, kMissingLine, kMissingHint}) {
    win::SelectedObject font(dc, text == kMissingTitle ? titleFont.get() : Font());
    DrawTextA(dc, text, -1, &line, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    OffsetRect(&line, 0, 22);
  }
}
