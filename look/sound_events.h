#pragma once
// The six actions the program announces with a sound. Each is an application sound event of the
// user's sound scheme, so the system's sound control panel shows and edits it too, and its sound
// file is whatever that scheme entry names. Win32 only.
#include <windows.h>

#include <array>
#include <string>

enum QuorEventIndex : int { evMinimize = 0, evMaximize = 1, evClose = 2, evMenu = 3, evAlarm = 4, evNewNote = 5 };
inline constexpr int kQuorEventCount = 6;

// One event: its display name, its key name in the registry, and its sound file (empty: silent).
struct TEvents {
  std::string Label;
  std::string Key;
  std::string WaveFile;
};

// Registry paths under the root, as the program writes them.
inline constexpr const char* kEventLabelsKey = "\\Appevents\\eventLabels\\";
inline constexpr const char* kEventSchemeKey = "\\Appevents\\Schemes\\apps\\Quor k-li 5.0\\";

class tQuorEvent {
 public:
  // Registers the six events and reads their sound files, through `root` (HKEY_CURRENT_USER; a
  // test passes a key of its own). With `refresh` every play and query reads the registry again
  // first, so a sound changed meanwhile is heard at once.
  explicit tQuorEvent(bool refresh, HKEY root = HKEY_CURRENT_USER);

  void DefineEvent(int index, std::string label, std::string key);
  // Makes sure the event is registered under `root` (label written back when it differs) and
  // reads its sound file. Registry errors are swallowed: the event keeps the sound it had.
  void SyncEvent(HKEY root, int index);
  // Stores a new sound file (empty: none) in the event's scheme entry; registry errors propagate.
  void SetEventSound(int index, const std::string& fileName);
  std::string GetEventSound(int index);
  void PlayEvent(int index);
  // Plays a wave file and returns when it has ended; silent when no such file exists, and any
  // error while playing is swallowed.
  static void PlayWave(const std::string& fileName);

  bool RefreshOnUse() const { return refreshOnUse_; }
  // How often PlayEvent was asked for this event, sound or no sound: what an action announced
  // can be told apart from what the user's sound scheme let be heard.
  int Requests(int index) const { return requests_[Checked(index)]; }
  const TEvents& Event(int index) const { return events_[Checked(index)]; }

 private:
  static size_t Checked(int index);

  std::array<TEvents, kQuorEventCount> events_;
  std::array<int, kQuorEventCount> requests_{};
  bool refreshOnUse_;
  HKEY root_;
};
