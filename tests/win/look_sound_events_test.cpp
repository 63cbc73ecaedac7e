// The six sound events in Wine's registry: registered at the first construction, labels put
// back, sounds stored by the options dialog's object and read once by the skin's.
#include <gtest/gtest.h>

#include "look/sound_events.h"
#include "tests/win/registry_test_root.h"

namespace {
const std::string kLabels = "Appevents\\eventLabels\\";
const std::string kScheme = "Appevents\\Schemes\\apps\\Quor k-li 5.0\\";
}  // namespace

TEST(SoundEvents, AFirstStartRegistersTheSixEventsSilentAndPutsBackChangedLabels) {
  const TestRegistryRoot root("SoundsFirst");
  const std::pair<std::string, std::string> registered[]{
      {"QKlMin", "Quor K-lI minimize note"}, {"QKlMax", "Quor K-lI maximize note"},
      {"QKlClose", "Quor K-lI close note"},  {"QKlMenu", "Quor K-lI menu"},
      {"QKlAlarm", "Quor K-lI alarm"},       {"QklNewNote", "Quor K-lI new note"}};
  tQuorEvent events(false, root.get());
  for (int i = 0; i < kQuorEventCount; ++i) {
    const auto& [key, label] = registered[i];
    EXPECT_EQ(root.Value(kLabels + key), label);
    EXPECT_EQ(root.Value(kScheme + key + "\\.current") + root.Value(kScheme + key + "\\.default"),
              "<no value><no value>");
    EXPECT_EQ(events.GetEventSound(i), "");
  }
  win::RegistryKey::Open(root.get(), kLabels + "QKlMenu", true).writeString("", "quor k-li MENU");
  win::RegistryKey::Open(root.get(), kScheme + "QKlMenu\\.current", true).writeString("", "c:\\menu.wav");
  EXPECT_EQ(tQuorEvent(false, root.get()).GetEventSound(evMenu), "c:\\menu.wav");
  EXPECT_EQ(root.Value(kLabels + "QKlMenu"), "Quor K-lI menu");
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

  dialog.SetEventSound(evAlarm, "");  // "None"
  EXPECT_EQ(root.Value(kScheme + "QKlAlarm\\.current"), "");
  // A sound file that is gone is silent, with no error.
  skin.SetEventSound(evClose, "c:\\no such folder\\gone.wav");
  EXPECT_NO_THROW(skin.PlayEvent(evClose));
}
