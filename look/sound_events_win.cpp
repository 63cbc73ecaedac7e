#include "look/sound_events.h"

#include <mmsystem.h>

#include <exception>
#include <stdexcept>

#include "storage/file_io.h"
#include "win/registry.h"
#include "win/unicode.h"

namespace {

struct EventName {
  const char* label;
  const char* key;
};
constexpr std::array<EventName, kQuorEventCount> kEventNames{{
    {"Quor K-lI minimize note", "QKlMin"},
    {"Quor K-lI maximize note", "QKlMax"},
    {"Quor K-lI close note", "QKlClose"},
    {"Quor K-lI menu", "QKlMenu"},
    {"Quor K-lI alarm", "QKlAlarm"},
    {"Quor K-lI new note", "QklNewNote"},
}};

std::string LabelPath(const TEvents& event) { return kEventLabelsKey + event.Key; }
std::string SchemePath(const TEvents& event, const char* entry) { return kEventSchemeKey + event.Key + entry; }

}  // namespace

tQuorEvent::tQuorEvent(bool refresh, HKEY root) : refreshOnUse_(refresh), root_(root) {
  for (int i = 0; i < kQuorEventCount; ++i) DefineEvent(i, kEventNames[i].label, kEventNames[i].key);
  for (int i = 0; i < kQuorEventCount; ++i) SyncEvent(root_, i);
}

size_t tQuorEvent::Checked(int index) {
  if (index < 0 || index >= kQuorEventCount) throw std::out_of_range("No sound event " + std::to_string(index));
  return static_cast<size_t>(index);
}

void tQuorEvent::DefineEvent(int index, std::string label, std::string key) {
  TEvents& event = events_[Checked(index)];
  event.Label = std::move(label);
  event.Key = std::move(key);
}

void tQuorEvent::SyncEvent(HKEY root, int index) {
  TEvents& event = events_[Checked(index)];
  // A sound is never worth an error box: a registry that refuses any step leaves the event with
  // the sound it had.
  try {
    if (const auto labelKey = win::RegistryKey::Open(root, LabelPath(event))) {
      // Read first and written only when it differs, so a labels key the user may not write
      // still yields its sound.
      if (labelKey.readString("") != event.Label)
        win::RegistryKey::Open(root, LabelPath(event), true).writeString("", event.Label);
      event.WaveFile = win::RegistryKey::Create(root, SchemePath(event, "\\.current")).readString("").value_or("");
    } else {
      event.WaveFile.clear();
      win::RegistryKey::Create(root, LabelPath(event)).writeString("", event.Label);
      win::RegistryKey::Create(root, SchemePath(event, "\\.current"));
      win::RegistryKey::Create(root, SchemePath(event, "\\.default"));
    }
  } catch (const std::exception&) {
  }
}

void tQuorEvent::SetEventSound(int index, const std::string& fileName) {
  TEvents& event = events_[Checked(index)];
  event.WaveFile = fileName;
  const bool registered = win::RegistryKey::Exists(root_, LabelPath(event));
  win::RegistryKey::Create(root_, LabelPath(event)).writeString("", event.Label);
  if (!registered) win::RegistryKey::Create(root_, SchemePath(event, "\\.default"));
  win::RegistryKey::Create(root_, SchemePath(event, "\\.current")).writeString("", fileName);
}

std::string tQuorEvent::GetEventSound(int index) {
  if (refreshOnUse_) SyncEvent(root_, index);
  return events_[Checked(index)].WaveFile;
}

void tQuorEvent::PlayEvent(int index) {
  ++requests_[Checked(index)];
  if (refreshOnUse_) SyncEvent(root_, index);
  PlayWave(events_[Checked(index)].WaveFile);
}

void tQuorEvent::PlayWave(const std::string& fileName) {
  if (!FileExists(fileName)) return;
  // Synchronous: the call returns when the sound has ended. A file that will not play is no
  // error of the program's (the system plays its default sound for it).
  PlaySoundW(win::Wide(fileName).c_str(), nullptr, SND_FILENAME);
}
