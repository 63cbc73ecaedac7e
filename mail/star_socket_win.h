#pragma once
// TStarSocket: one IPv4 stream socket of Windows Sockets 1.1, driven entirely on the user
// interface thread. Every call is non-blocking; completions arrive as window messages to a
// hidden window the socket owns, and a one-second countdown bounds the host look-up and the
// connect. WSOCK32.DLL is loaded at run time and bound by ordinal, so a machine without it
// runs the program and only fails to send mail.
//
// It is the socket under the SMTP session's channel (mail/mail_channel.h); mail/socket_mail_win.h
// pairs them and turns the socket's events into their calls.
#include <winsock2.h>  // types and constants only: every function comes from the loaded library
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "mail/mail_channel.h"
#include "win/handles.h"
#include "win/window.h"

inline constexpr UINT UM_LOOKUPDONE = WM_USER;       // high word of lParam: the error
inline constexpr UINT UM_SOCKETEVENT = WM_USER + 1;  // low word of lParam: event, high word: error
inline constexpr UINT UM_MAILDONE = WM_USER + 2;     // the session's end of a send

// The Windows Sockets 1.1 export set of WSOCK32.DLL: accept (1) to socket (23), the database
// functions (51-57) and WSAAsyncSelect (101) to WSACleanup (116).
inline constexpr std::array<std::pair<int, int>, 3> kWinsockOrdinalRanges{{{1, 23}, {51, 57}, {101, 116}}};
inline constexpr std::size_t kWinsockEntryCount = 23 + 7 + 16;

class TStarSocket : private win::Window, public SocketPort {
 public:
  using Event = std::function<void(TStarSocket&)>;
  // Messages above UM_SOCKETEVENT go to OnMessage when it is assigned.
  using MessageHook = std::function<LRESULT(UINT msg, WPARAM wp, LPARAM lp)>;

  static constexpr int kWouldBlock = 10035;       // WSAEWOULDBLOCK: counted as no error
  static constexpr std::size_t kLookupBufferSize = 1024;  // MAXGETHOSTSTRUCT
  static constexpr std::size_t kMaxHostName = 255;        // the longest valid DNS name

  TStarSocket();
  ~TStarSocket() override;

  // `path` empty: WSOCK32.DLL. False, quietly, when the library or any entry point is missing.
  bool LoadWinsock(const std::string& path = std::string());
  bool StartWinsock();  // WSAStartup 1.1; true once started
  void StopWinsock();
  bool WinsockStarted() const { return started_; }
  const std::string& Description() const { return description_; }
  const std::string& SystemStatus() const { return systemStatus_; }
  std::uint16_t MaxSockets() const { return maxSockets_; }
  // The entry point of `ordinal` as bound, for checking the binding; null when not loaded.
  FARPROC Entry(int ordinal) const;

  int CreateSocket();
  void SetAddressText(const std::string& dotted);
  void SetPort(std::uint16_t port);
  int ResolveHost(const std::string& hostName);  // LastError
  void UseResolvedAddress();
  void ConnectSocket();
  int SendBytes(const char* bytes, int count);
  int ReceiveBytes(char* bytes, int count);
  void CloseSocket();
  std::string LocalHostName();
  std::string AddressText() const;
  void StartCountdown(int seconds);

  bool Connected() const { return connected_; }
  bool HasSocket() const { return static_cast<bool>(socket_); }
  bool LookupPending() const { return lookup_ != nullptr; }
  int LastError() const { return lastError_; }
  int Countdown() const { return countdown_; }
  HWND MessageWindow() const { return hwnd(); }

  int TimeoutConnect = 0;  // seconds; 0: no countdown
  int TimeoutArp = 0;      // seconds; 0: no countdown
  MessageHook OnMessage;
  Event OnLookupDone, OnConnect, OnClose, OnTimeout, OnRead, OnWrite, OnAccept;

  // SocketPort: the channel's sends and receives, "would block" as nothing moved.
  Result Send(std::string_view bytes) override;
  Result Receive(char* into, std::size_t capacity) override;

 protected:
  LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void LookupDone();

 private:
  struct Api;
  struct ReleaseSocket {
    int(WSAAPI* closesocket)(SOCKET) = nullptr;
    void operator()(SOCKET s) const {
      if (closesocket != nullptr) closesocket(s);
    }
  };
  struct InvalidSocketIsEmpty {
    static SOCKET Empty() { return INVALID_SOCKET; }
  };
  using UniqueSocket = win::Unique<SOCKET, ReleaseSocket, InvalidSocketIsEmpty>;

  const Api& Calls() const;  // only while the library is loaded
  void Fire(const Event& event);
  int ErrorOfLastCall();  // WSAGetLastError, with "would block" as 0
  // The bytes a send or receive moved, its error kept in lastError_ (0 once it moved some).
  int Transferred(int result);
  int NoSocket();  // a send or receive without a socket: nothing moved, WSAENOTSOCK
  void CancelLookup();
  void SocketEvent(WPARAM socket, LPARAM lp);
  void LookupFinished(HANDLE task, LPARAM lp);
  void CountdownTick();

  // Declared first so that it outlives the socket and the look-up it closes and cancels.
  win::UniqueModule library_;
  std::array<FARPROC, kWinsockEntryCount> entries_{};
  std::unique_ptr<const Api> api_;  // the entries above that this socket calls, typed
  bool loaded_ = false;
  bool started_ = false;
  std::string description_, systemStatus_;
  std::uint16_t maxSockets_ = 0;

  UniqueSocket socket_;
  sockaddr_in target_{};
  bool connected_ = false;
  int lastError_ = 0;

  alignas(8) char lookupBuffer_[kLookupBufferSize] = {};
  char hostName_[kMaxHostName + 1] = {};
  in_addr resolved_{};
  HANDLE lookup_ = nullptr;

  int countdown_ = 0;
  win::WindowTimer countdownTimer_;
};
