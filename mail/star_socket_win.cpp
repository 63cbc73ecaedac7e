#include "mail/star_socket_win.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

constexpr const char kDefaultLibrary[] = "WSOCK32.DLL";
constexpr const char kWindowClass[] = "TStarSocketWindow";
constexpr UINT_PTR kCountdownTimerId = 1;
constexpr UINT kCountdownPeriodMs = 1000;
constexpr WORD kWinsockVersion = 0x0101;
constexpr long kSelectMask = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;  // 51
constexpr std::size_t kMaxLibraryPath = 255;

constexpr std::size_t IndexOf(int ordinal) {
  std::size_t index = 0;
  for (const auto& [first, last] : kWinsockOrdinalRanges) {
    if (ordinal >= first && ordinal <= last) return index + static_cast<std::size_t>(ordinal - first);
    index += static_cast<std::size_t>(last - first + 1);
  }
  return kWinsockEntryCount;
}
static_assert(IndexOf(116) == kWinsockEntryCount - 1);

// Restores the process error mode however the load ends.
class ErrorModeScope {
 public:
  explicit ErrorModeScope(UINT mode) : old_(SetErrorMode(mode)) {}
  ErrorModeScope(const ErrorModeScope&) = delete;
  ErrorModeScope& operator=(const ErrorModeScope&) = delete;
  ~ErrorModeScope() { SetErrorMode(old_); }

 private:
  UINT old_;
};

}  // namespace

// The entry points this socket calls, typed, by their ordinals in the export set.
struct TStarSocket::Api {
  template <typename F>
  static F Get(const std::array<FARPROC, kWinsockEntryCount>& entries, int ordinal) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(entries[IndexOf(ordinal)]));
  }
  explicit Api(const std::array<FARPROC, kWinsockEntryCount>& e)
      : closesocket(Get<decltype(closesocket)>(e, 3)),
        connect(Get<decltype(connect)>(e, 4)),
        htons(Get<decltype(htons)>(e, 9)),
        inet_addr(Get<decltype(inet_addr)>(e, 10)),
        inet_ntoa(Get<decltype(inet_ntoa)>(e, 11)),
        recv(Get<decltype(recv)>(e, 16)),
        send(Get<decltype(send)>(e, 19)),
        socket(Get<decltype(socket)>(e, 23)),
        gethostname(Get<decltype(gethostname)>(e, 57)),
        WSAAsyncSelect(Get<decltype(WSAAsyncSelect)>(e, 101)),
        WSAAsyncGetHostByName(Get<decltype(WSAAsyncGetHostByName)>(e, 103)),
        WSACancelAsyncRequest(Get<decltype(WSACancelAsyncRequest)>(e, 108)),
        WSAGetLastError(Get<decltype(WSAGetLastError)>(e, 111)),
        WSAStartup(Get<decltype(WSAStartup)>(e, 115)),
        WSACleanup(Get<decltype(WSACleanup)>(e, 116)) {}

  int(WSAAPI* closesocket)(SOCKET);
  int(WSAAPI* connect)(SOCKET, const sockaddr*, int);
  u_short(WSAAPI* htons)(u_short);
  unsigned long(WSAAPI* inet_addr)(const char*);
  char*(WSAAPI* inet_ntoa)(in_addr);
  int(WSAAPI* recv)(SOCKET, char*, int, int);
  int(WSAAPI* send)(SOCKET, const char*, int, int);
  SOCKET(WSAAPI* socket)(int, int, int);
  int(WSAAPI* gethostname)(char*, int);
  int(WSAAPI* WSAAsyncSelect)(SOCKET, HWND, u_int, long);
  HANDLE(WSAAPI* WSAAsyncGetHostByName)(HWND, u_int, const char*, char*, int);
  int(WSAAPI* WSACancelAsyncRequest)(HANDLE);
  int(WSAAPI* WSAGetLastError)();
  int(WSAAPI* WSAStartup)(WORD, LPWSADATA);
  int(WSAAPI* WSACleanup)();
};

TStarSocket::TStarSocket() {
  target_.sin_family = AF_INET;
  // A message-only window: it receives the notifications and is never shown.
  create({.className = kWindowClass, .style = 0, .owner = HWND_MESSAGE});
}

TStarSocket::~TStarSocket() {
  CloseSocket();
  countdownTimer_.Stop();
  destroy();
  StopWinsock();
}

bool TStarSocket::LoadWinsock(const std::string& path) {
  const std::string name = path.empty() ? std::string(kDefaultLibrary) : path.substr(0, kMaxLibraryPath);
  HMODULE module = nullptr;
  {
    ErrorModeScope quiet(SEM_NOOPENFILEERRORBOX);
    module = LoadLibraryA(name.c_str());
  }
  // Win16 reported failures as handle values below 32; such a value is no module either.
  if (reinterpret_cast<UINT_PTR>(module) < 32) return false;
  win::UniqueModule candidate(module);
  std::array<FARPROC, kWinsockEntryCount> entries{};
  for (const auto& [first, last] : kWinsockOrdinalRanges) {
    for (int ordinal = first; ordinal <= last; ++ordinal) {
      FARPROC entry = GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
      if (entry == nullptr) return false;
      entries[IndexOf(ordinal)] = entry;
    }
  }
  CloseSocket();
  StopWinsock();
  library_ = std::move(candidate);
  entries_ = entries;
  api_ = std::make_unique<const Api>(entries_);
  loaded_ = true;
  return true;
}

FARPROC TStarSocket::Entry(int ordinal) const {
  const std::size_t index = IndexOf(ordinal);
  return loaded_ && index < kWinsockEntryCount ? entries_[index] : nullptr;
}

const TStarSocket::Api& TStarSocket::Calls() const { return *api_; }

bool TStarSocket::StartWinsock() {
  if (started_) return true;
  if (!loaded_ && !LoadWinsock()) return false;
  WSADATA data{};
  if (Calls().WSAStartup(kWinsockVersion, &data) != 0) return false;
  started_ = true;
  description_ = data.szDescription;
  systemStatus_ = data.szSystemStatus;
  maxSockets_ = data.iMaxSockets;
  return true;
}

void TStarSocket::StopWinsock() {
  if (started_) {
    CloseSocket();
    Calls().WSACleanup();
    started_ = false;
  }
  if (loaded_) {
    loaded_ = false;
    api_.reset();
    entries_ = {};
    library_.reset();
  }
}

int TStarSocket::ErrorOfLastCall() {
  const int error = Calls().WSAGetLastError();
  return error == kWouldBlock ? 0 : error;
}

int TStarSocket::CreateSocket() {
  if (socket_) return lastError_;
  if (!started_) return lastError_ = WSANOTINITIALISED;
  const SOCKET s = Calls().socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) {
    lastError_ = Calls().WSAGetLastError();
  } else {
    socket_ = UniqueSocket(s, ReleaseSocket{Calls().closesocket});
    lastError_ = 0;
  }
  return lastError_;
}

void TStarSocket::SetAddressText(const std::string& dotted) {
  if (started_) target_.sin_addr.s_addr = Calls().inet_addr(dotted.c_str());
}

void TStarSocket::SetPort(std::uint16_t port) {
  if (started_) target_.sin_port = Calls().htons(port);
}

int TStarSocket::ResolveHost(const std::string& hostName) {
  if (lookup_ != nullptr) return lastError_;
  if (!started_) return lastError_ = WSANOTINITIALISED;
  // A name that cannot be a host name is no name to look up.
  if (hostName.size() > kMaxHostName) return lastError_ = WSAHOST_NOT_FOUND;
  std::memcpy(hostName_, hostName.data(), hostName.size());
  hostName_[hostName.size()] = '\0';
  lookup_ = Calls().WSAAsyncGetHostByName(hwnd(), UM_LOOKUPDONE, hostName_, lookupBuffer_,
                                          static_cast<int>(kLookupBufferSize));
  if (lookup_ == nullptr) {
    lastError_ = Calls().WSAGetLastError();
  } else {
    lastError_ = 0;
    StartCountdown(TimeoutArp);
  }
  return lastError_;
}

void TStarSocket::UseResolvedAddress() { target_.sin_addr = resolved_; }

void TStarSocket::ConnectSocket() {
  if (!socket_) {
    lastError_ = WSAENOTSOCK;
    return;
  }
  const Api& api = Calls();
  lastError_ = 0;
  if (api.WSAAsyncSelect(socket_.get(), hwnd(), UM_SOCKETEVENT, kSelectMask) != 0) {
    lastError_ = ErrorOfLastCall();
    if (lastError_ != 0) return;
  }
  if (api.connect(socket_.get(), reinterpret_cast<const sockaddr*>(&target_), sizeof target_) != 0)
    lastError_ = ErrorOfLastCall();
  if (lastError_ == 0) StartCountdown(TimeoutConnect);
}

int TStarSocket::SendBytes(const char* bytes, int count) {
  return socket_ ? Transferred(Calls().send(socket_.get(), bytes, count, 0)) : NoSocket();
}

SocketPort::Result TStarSocket::Send(std::string_view bytes) {
  lastError_ = 0;
  const int sent = SendBytes(bytes.data(), static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX)));
  return {static_cast<std::size_t>(sent), sent > 0 ? 0 : lastError_};
}

int TStarSocket::ReceiveBytes(char* bytes, int count) {
  return socket_ ? Transferred(Calls().recv(socket_.get(), bytes, count, 0)) : NoSocket();
}

SocketPort::Result TStarSocket::Receive(char* into, std::size_t capacity) {
  lastError_ = 0;  // a receive of nothing, the peer's orderly close, leaves no error
  const int got = ReceiveBytes(into, static_cast<int>(std::min<std::size_t>(capacity, INT_MAX)));
  return {static_cast<std::size_t>(got), got > 0 ? 0 : lastError_};
}

int TStarSocket::Transferred(int result) {
  if (result > 0) {
    lastError_ = 0;
    return result;
  }
  if (result < 0) lastError_ = ErrorOfLastCall();
  return 0;
}

int TStarSocket::NoSocket() {
  lastError_ = WSAENOTSOCK;
  return 0;
}

void TStarSocket::CancelLookup() {
  if (lookup_ == nullptr) return;
  if (started_) Calls().WSACancelAsyncRequest(lookup_);
  lookup_ = nullptr;
}

void TStarSocket::CloseSocket() {
  CancelLookup();
  StartCountdown(0);
  socket_.reset();
  connected_ = false;
}

std::string TStarSocket::LocalHostName() {
  if (!started_) return {};
  char name[256] = {};
  if (Calls().gethostname(name, 255) != 0) return {};
  return name;
}

std::string TStarSocket::AddressText() const {
  if (!started_) return {};
  const char* text = Calls().inet_ntoa(target_.sin_addr);
  return text != nullptr ? text : "";
}

void TStarSocket::StartCountdown(int seconds) {
  countdownTimer_.Stop();
  countdown_ = seconds;
  if (seconds != 0) countdownTimer_.Start(hwnd(), kCountdownTimerId, kCountdownPeriodMs);
}

void TStarSocket::Fire(const Event& event) {
  if (event) event(*this);
}

void TStarSocket::LookupDone() { Fire(OnLookupDone); }

void TStarSocket::CountdownTick() {
  if (countdown_ <= 0 || --countdown_ > 0) return;
  CloseSocket();
  Fire(OnTimeout);
}

void TStarSocket::LookupFinished(HANDLE task, LPARAM lp) {
  // The answer to a look-up that was cancelled, or replaced by a newer one, is no answer.
  if (task != lookup_ || lookup_ == nullptr) return;
  StartCountdown(0);
  lastError_ = WSAGETASYNCERROR(lp);
  if (lastError_ == 0) {
    const auto* host = reinterpret_cast<const hostent*>(lookupBuffer_);
    if (host->h_addr_list != nullptr && host->h_addr_list[0] != nullptr)
      std::memcpy(&resolved_, host->h_addr_list[0], sizeof resolved_);
    else
      lastError_ = WSANO_DATA;
  }
  lookup_ = nullptr;
  LookupDone();
}

void TStarSocket::SocketEvent(WPARAM socket, LPARAM lp) {
  // Notifications of a socket closed meanwhile are still in the queue: they are not ours.
  if (!socket_ || socket != socket_.get()) return;
  StartCountdown(0);
  lastError_ = WSAGETSELECTERROR(lp);
  switch (WSAGETSELECTEVENT(lp)) {
    case FD_READ: Fire(OnRead); break;
    case FD_WRITE: Fire(OnWrite); break;
    case FD_ACCEPT: Fire(OnAccept); break;
    case FD_CONNECT:
      // Also for a failed connect: the handler reads LastError.
      connected_ = true;
      Fire(OnConnect);
      break;
    case FD_CLOSE:
      Fire(OnClose);
      socket_.reset();
      connected_ = false;
      break;
    default: break;
  }
}

LRESULT TStarSocket::handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg > UM_SOCKETEVENT && OnMessage) return OnMessage(msg, wp, lp);
  switch (msg) {
    case WM_QUERYENDSESSION: return 1;
    case WM_TIMER:
      if (wp == kCountdownTimerId) CountdownTick();
      return 0;
    case UM_LOOKUPDONE: LookupFinished(reinterpret_cast<HANDLE>(wp), lp); return 0;
    case UM_SOCKETEVENT: SocketEvent(wp, lp); return 0;
    default: return defaultHandling(msg, wp, lp);
  }
}
