// The six sound events in Wine's registry: registered at the first construction, labels put
// back, sounds stored by the options dialog's object and read once by the skin's.
#include <gtest/gtest.h>

#include <string>

#include "look/sound_events.h"
#include "tests/win/registry_test_root.h"

namespace {

const std::string kLabels = "Appevents\\eventLabels\\";
const std::string kScheme = "Appevents\\Schemes\\apps\\Quor k-li 5.0\\";

struct Registered {
  const char* key;
  const char* label;
};
constexpr Registered kRegistered[] = {
    {"QKlMin", "Quor K-lI minimize note"}, {"QKlMax", "Quor K-lI maximize note"},
    {"QKlClose", "Quor K-lI close note"},  {"QKlMenu", "Quor K-lI menu"},
    {"QKlAlarm", "Quor K-lI alarm"},       {"QklNewNote", "Quor K-lI new note"},
};

}  // namespace

TEST(SoundEvents, AFirstStartRegistersTheSixEventsSilent) {
  const TestRegistryRoot root("SoundsFirst");
  tQuorEvent events(false, root.get());
  for (int i = 0; i < kQuorEventCount; ++i) {
    const std::string key = kRegistered[i].key;
    EXPECT_EQ(root.Value(kLabels + key), kRegistered[i].label);
    EXPECT_EQ(root.Value(kScheme + key + "\\.current"), "<no value>");
    EXPECT_EQ(root.Value(kScheme + key + "\\.default"), "<no value>");
    EXPECT_EQ(events.GetEventSound(i), "");
  }
}

TEST(SoundEvents, AChangedLabelIsPutBackAndTheChosenSoundRead) {
  const TestRegistryRoot root("SoundsLabel");
  tQuorEvent{false, root.get()};
  win::RegistryKey::Open(root.get(), kLabels + "QKlMenu", true).writeString("", "quor k-li MENU");
  win::RegistryKey::Open(root.get(), kScheme + "QKlMenu\\.current", true).writeString("", "c:\\menu.wav");
  tQuorEvent events(false, root.get());
  EXPECT_EQ(root.Value(kLabels + "QKlMenu"), "Quor K-lI menu");
  EXPECT_EQ(events.GetEventSound(evMenu), "c:\\menu.wav");
}

TEST(SoundEvents, TheDialogStoresSoundsThatTheSkinHearsFromItsNextStart) {
  const TestRegistryRoot root("SoundsStore");
  tQuorEvent skin(false, root.get());
  tQuorEvent dialog(true, root.get());
  RegDeleteTreeA(root.get(), (kLabels + "QKlAlarm").c_str());  // "Change" registers it again
  dialog.SetEventSound(evAlarm, "c:\\alarm.wav");
  EXPECT_EQ(root.Value(kLabels + "QKlAlarm"), "Quor K-lI alarm");
  EXPECT_EQ(root.Value(kScheme + "QKlAlarm\\.current"), "c:\\alarm.wav");
  EXPECT_EQ(skin.GetEventSound(evAlarm), "");
  EXPECT_EQ(tQuorEvent(false, root.get()).GetEventSound(evAlarm), "c:\\alarm.wav");

  // Changed behind the dialog's back (the sound control panel): the dialog reads it again.
  win::RegistryKey::Open(root.get(), kScheme + "QKlAlarm\\.current", true).writeString("", "c:\\panel.wav");
  EXPECT_EQ(dialog.GetEventSound(evAlarm), "c:\\panel.wav");

  dialog.SetEventSound(evAlarm, "");  // "None"
  EXPECT_EQ(root.Value(kScheme + "QKlAlarm\\.current"), "");
  EXPECT_EQ(dialog.GetEventSound(evAlarm), "");
}

TEST(SoundEvents, AMissingSoundFileIsSilent) {
  const TestRegistryRoot root("SoundsMissing");
  tQuorEvent events(false, root.get());
  events.SetEventSound(evClose, "c:\\no such folder\\gone.wav");
  EXPECT_NO_THROW(events.PlayEvent(evClose));
  EXPECT_NO_THROW(tQuorEvent::PlayWave(""));
}
