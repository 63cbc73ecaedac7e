#include "mail/send_mail_dialog.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "mail/send_report.h"
#include "mail/socket_mail_win.h"
#include "storage/file_io.h"
#include "win/form.h"
#include "win/handles.h"

namespace {

constexpr int kStatusId = 101, kCounterId = 102;
// A progress event comes for every line of an attachment, tens of thousands a message; the
// window looks at the clock instead of restarting a timer each time, and shows the counter at
// most this often.
constexpr UINT_PTR kInactivityTimerId = 1, kCounterTimerId = 2;
constexpr UINT kInactivityCheckMs = 1000;
constexpr DWORD kCounterRefreshMs = 50;

std::int64_t NumberIn(const std::string& text) {
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// The frame of each border style; none of them has border icons.
struct BorderFrame {
  DWORD style, exStyle;
};
BorderFrame FrameOf(TFormBorderStyle border) {
  constexpr DWORD kCaption = WS_POPUP | WS_CAPTION;
  switch (border) {
    case bsNone: return {WS_POPUP, 0};
    case bsSingle: return {kCaption, 0};
    case bsSizeable: return {kCaption | WS_THICKFRAME, 0};
    case bsToolWindow: return {kCaption, WS_EX_TOOLWINDOW};
    case bsSizeToolWin: return {kCaption | WS_THICKFRAME, WS_EX_TOOLWINDOW};
    case bsDialog:
    default: return {kCaption, WS_EX_DLGMODALFRAME};
  }
}

win::UniqueFont MakeFont(const TDialogFont& font) {
  return win::UniqueFont(CreateFontA(font.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, font.Name.c_str()));
}

// The sending window: status line, progress bar, byte counter and cancel button around one
// session of its own.
class Tsmdlg final : public win::Form {
 public:
  Tsmdlg(const SendMailDialog& dialog, const std::vector<std::string>& texts, const SendWindowLayout& layout,
         HFONT font)
      : Form(FrameFor(dialog, layout)),
        texts_(texts),
        layout_(layout),
        onInfo_(dialog.OnSendMailInfo),
        textColor_(dialog.Font.Color),
        windowColor_(dialog.Color),
        windowBrush_(CreateSolidBrush(dialog.Color)),
        barBrush_(CreateSolidBrush(dialog.StatusBarColor)),
        panelBrush_(CreateSolidBrush(dialog.StatusBarBackground)) {
    AddControls<Tsmdlg>(kRows);
    Place(kStatusId, layout.Status);
    Place(kCounterId, layout.Counter);
    Place(IDCANCEL, layout.Cancel);
    SetText(IDCANCEL, layout.CancelCaption);
    for (int id : {kStatusId, kCounterId, IDCANCEL})
      SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    mail_.Socket().TimeoutConnect = SendMailDialog::kTimeoutConnect;
    mail_.Socket().TimeoutArp = SendMailDialog::kTimeoutArp;
    SendMail& session = mail_.Session();
    session.SMTP_Port = dialog.SMTP_Port;
    session.SetSMTP_Server(dialog.SMTP_Server);
    static_cast<MailMessage&>(session) = dialog;  // the message and its lists, copied
    static_cast<SmtpSecurityOptions&>(session) = dialog;
    serverText_ = dialog.SMTP_Server;
  }

  void Run() {
    SendMail& session = mail_.Session();
    progressPos_ = progressMax_ = 0;
    RepaintBar();
    lastEventAt_ = GetTickCount();
    inactivity_.Start(hwnd(), kInactivityTimerId, kInactivityCheckMs);
    session.OnMailInfo = [this](SendMailInfo info, const std::string& text) { Info(info, text); };
    session.OnDone = [this] { Close(win::ModalResult::Ok); };
    session.OnMailError = [this](SendMailError, const std::string& text) { failureText_ = text; };
    SetText(kStatusId, texts_[0] + " " + serverText_);
    PostMessageA(hwnd(), SendMailDialog::UM_STARTSEND, 0, 0);
    ShowModal();
    inactivity_.Stop();
    counterTimer_.Stop();
  }

  bool Accepted() { return mail_.Session().Accepted(); }
  // Why the send failed; a server that went silent counts as a time-out.
  SendMailError Failure() { return timedOut_ ? SendMailError::TimedOut : mail_.Session().ErrorCode(); }
  const std::string& FailureText() const { return failureText_; }
  const std::vector<std::string>& Refused() const { return refused_; }
  const CertificateCheck& Certificate() { return mail_.Session().ServerCertificate(); }

 protected:
  void CloseRequested() override { CancelClick(); }

  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case SendMailDialog::UM_STARTSEND:
        StartSend();
        return 0;
      case WM_TIMER:
        if (wp == kInactivityTimerId && GetTickCount() - lastEventAt_ >= SendMailDialog::kInactivityMs) GiveUp();
        if (wp == kCounterTimerId) ShowCounter();
        return 0;
      case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        FillRect(reinterpret_cast<HDC>(wp), &client, windowBrush_.get());
        return 1;
      }
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, textColor_);
        SetBkColor(dc, windowColor_);
        return reinterpret_cast<LRESULT>(windowBrush_.get());
      }
      case WM_PAINT:
        PaintBar();
        return 0;
      default:
        return Form::handle(msg, wp, lp);
    }
  }

 private:
  static win::FormFrame FrameFor(const SendMailDialog& dialog, const SendWindowLayout& layout) {
    const BorderFrame frame = FrameOf(dialog.Border);
    const bool custom = dialog.Position == TSendMailDialogPos::Custom;
    return {.className = "Tsmdlg",
            .caption = dialog.Caption.c_str(),
            .clientWidth = layout.ClientWidth,
            .clientHeight = layout.ClientHeight,
            .style = frame.style,
            .exStyle = frame.exStyle,
            .centred = !custom,
            .left = custom ? dialog.WindowLeft : 0,
            .top = custom ? dialog.WindowTop : 0};
  }

  void Place(int id, const ControlBox& box) {
    SetWindowPos(Item(id), nullptr, box.Left, box.Top, box.Width, box.Height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowControl(id, box.Visible);
  }

  void StartSend() {
    std::int64_t bodyLength = 0;
    for (const std::string& line : mail_.Session().MailText) bodyLength += static_cast<std::int64_t>(line.size()) + 2;
    progressMax_ = bodyLength;
    mail_.Session().SetAction(TMailAction::Send_Mail);
  }

  void CancelClick() {
    mail_.Session().SetAction(TMailAction::Cancel_SendMail);
    Close(win::ModalResult::Cancel);
  }

  void GiveUp() {
    inactivity_.Stop();
    timedOut_ = !mail_.Session().Accepted();
    mail_.Session().SetAction(TMailAction::Cancel_SendMail);
    Close(win::ModalResult::Ok);
  }

  void Info(SendMailInfo info, const std::string& text) {
    lastEventAt_ = GetTickCount();
    if (onInfo_) onInfo_(info, text);
    // A refused recipient is told by its address; the server's reply came just before it.
    if (info == smTraceIn) lastReply_ = text;
    if (info == smBadAddress) refused_.push_back(text + " (" + lastReply_ + ")");
    switch (info) {
      case smServerConnected: SetText(kStatusId, texts_[1] + " " + text); break;
      case smRecipient: SetText(kStatusId, texts_[2] + " " + text); break;
      case smSendingMessage:
        SetText(kStatusId, texts_[3]);
        ShowProgress(NumberIn(text), text);
        break;
      case smAttachmentName:
        SetText(kStatusId, texts_[4] + " " + FileNamePart(text));
        progressMax_ = 1;
        progressPos_ = 0;
        RepaintBar();
        break;
      case smAttachmentSize:
        progressMax_ = NumberIn(text);
        RepaintBar();
        break;
      case smAttachmentBytes: ShowProgress(NumberIn(text), text); break;
      default: break;
    }
  }

  void ShowProgress(std::int64_t position, const std::string& text) {
    progressPos_ = position;
    counterText_ = text;
    if (GetTickCount() - counterShownAt_ >= kCounterRefreshMs) ShowCounter();
    else if (!counterTimer_.Running()) counterTimer_.Start(hwnd(), kCounterTimerId, kCounterRefreshMs);
    RepaintBar();
  }

  void ShowCounter() {
    counterTimer_.Stop();
    counterShownAt_ = GetTickCount();
    SetText(kCounterId, counterText_);
  }

  RECT PanelRect() const {
    const ControlBox& panel = layout_.Panel;
    return {panel.Left, panel.Top, panel.Left + panel.Width, panel.Top + panel.Height};
  }

  // The bar's width in pixels; -1 with nothing to show.
  int BarWidth() const {
    if (progressMax_ == 0) return -1;
    // The byte count of the last attachment line may run past the file's size.
    return static_cast<int>(std::clamp<std::int64_t>(
        layout_.Panel.Width * std::max<std::int64_t>(progressPos_, 0) / progressMax_, 0, layout_.Panel.Width));
  }

  // Asks for a paint only when the bar's width changes: most lines of an attachment do not
  // move it by a pixel, and each request is a trip to the window system.
  void RepaintBar() {
    if (!layout_.Panel.Visible || BarWidth() == requestedWidth_) return;
    requestedWidth_ = BarWidth();
    const RECT panel = PanelRect();
    InvalidateRect(hwnd(), &panel, FALSE);
  }

  void PaintBar() {
    win::PaintDc paint(hwnd());
    if (!layout_.Panel.Visible) return;
    const RECT panel = PanelRect();
    FillRect(paint.get(), &panel, panelBrush_.get());
    const int width = BarWidth();
    if (width < 0) return;
    const RECT bar{panel.left, panel.top, panel.left + width, panel.bottom};
    FillRect(paint.get(), &bar, barBrush_.get());
  }

  static constexpr win::ControlRow<Tsmdlg> kRows[] = {
      {win::kLabel, "", kStatusId, 0, 0, 0, 0, SS_CENTER | SS_NOPREFIX},
      {win::kLabel, "0", kCounterId, 0, 0, 0, 0, SS_LEFT | SS_NOPREFIX},
      {win::kButton, "", IDCANCEL, 0, 0, 0, 0, BS_PUSHBUTTON, 0, &Tsmdlg::CancelClick},
  };

  std::vector<std::string> texts_;
  SendWindowLayout layout_;
  TSendMailInfoEvent onInfo_;
  COLORREF textColor_, windowColor_;
  win::UniqueBrush windowBrush_, barBrush_, panelBrush_;
  std::string serverText_;
  std::int64_t progressPos_ = 0, progressMax_ = 0;
  int requestedWidth_ = -2;  // no paint asked for yet
  std::string counterText_;
  DWORD counterShownAt_ = 0, lastEventAt_ = 0;
  bool timedOut_ = false;
  std::string failureText_, lastReply_;
  std::vector<std::string> refused_;
  win::WindowTimer inactivity_, counterTimer_;
  SocketMail mail_;
};

}  // namespace

SendMailDialog::SendMailDialog() { CompleteLanguageStrings(LanguageStrings); }

bool SendMailDialog::Execute() {
  std::vector<std::string> texts = LanguageStrings;
  CompleteLanguageStrings(texts);
  const win::UniqueFont font = MakeFont(Font);
  SendWindowLayout layout;
  {
    win::WindowDc screen;
    win::SelectedObject selected(screen.get(), font.get());
    layout = LayOutSendWindow(Options, StatusBarWidth, StatusBarHeight, texts, [&screen](std::string_view text) {
      SIZE size{};
      GetTextExtentPoint32A(screen.get(), text.data(), static_cast<int>(text.size()), &size);
      return TextExtent{size.cx, size.cy};
    });
  }
  Tsmdlg window(*this, texts, layout, font.get());
  window.Run();
  const bool accepted = window.Accepted();
  status_ = accepted ? configuredStatus_ : RecordedStatus(window.Failure(), configuredStatus_);
  failure_ = accepted ? SendMailError::None : window.Failure();
  failureText_ = accepted ? std::string() : window.FailureText();
  refused_ = window.Refused();
  certificate_ = window.Certificate();
  return accepted;
}
