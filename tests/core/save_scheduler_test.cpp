#include "notes/save_scheduler.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

enum class Input { Change, Hide, Close, Forget, SaveAll, DiskFailsOnce, ChangeDuringNextWrite };

struct Event {
  SaveMoment at;
  Input input;
  SaveNoteId note = 1;
};

// The window side: a fake clock, the one timer, and a disk that fails when told to. Writes are
// kept as "note@time". Events at the moment of a tick come first.
struct Desk {
  void Run(const std::vector<Event>& events) {
    size_t next = 0;
    for (int rounds = 0; rounds < 1000 && (next < events.size() || timer); ++rounds) {
      if (timer && (next == events.size() || *timer < events[next].at)) {
        ++ticks;
        Apply(scheduler.Tick(*timer), *timer);  // a Keep here would tick again at once
        continue;
      }
      const auto [at, input, note] = events[next++];
      if (input == Input::Change) Apply(scheduler.Changed(note, at), at);
      if (input == Input::Hide) Apply(scheduler.Hidden(note, at), at);
      if (input == Input::Close) Apply(scheduler.Closing(note, at), at);
      if (input == Input::Forget) Apply(scheduler.Forget(note, at), at);
      if (input == Input::SaveAll) Apply(scheduler.SaveAllNow(at), at);
      if (input == Input::DiskFailsOnce) ++failuresAhead[note];
      if (input == Input::ChangeDuringNextWrite) changeDuringWrite[note] = true;
    }
  }
  void Apply(const SaveEffects& effects, SaveMoment now) {
    if (effects.Timer == SaveTimerChange::Arm) timer = now + effects.DelayMs;
    if (effects.Timer == SaveTimerChange::Disarm) timer.reset();
    for (const SaveNoteId note : effects.Write) {
      writes.push_back(std::to_string(note) + "@" + std::to_string(now));
      if (std::exchange(changeDuringWrite[note], false)) Apply(scheduler.Changed(note, now), now);
      const bool fails = failuresAhead[note] > 0;
      if (fails) --failuresAhead[note];
      Apply(fails ? scheduler.WriteFailed(note, now) : scheduler.Written(note, now), now);
    }
  }

  SaveScheduler scheduler;
  std::optional<SaveMoment> timer;
  std::vector<std::string> writes;
  int ticks = 0;
  std::map<SaveNoteId, int> failuresAhead;
  std::map<SaveNoteId, bool> changeDuringWrite;
};

struct Row {
  const char* name;
  std::vector<Event> events;
  std::vector<std::string> writes;
  int ticks;  // -1: not counted
};

TEST(SaveScheduler, WritesOncePerQuietPeriodAtOnceWhenNeededAndRetriesWithoutSpinning) {
  using enum Input;
  std::vector<Event> typing;
  for (SaveMoment t = 0; t <= 45'000; t += 1000) typing.push_back({t, Change});
  const Event fail{0, DiskFailsOnce};
  const Row rows[] = {
      {"typing postpones the write, and the timer is not restarted on every key",
       {{0, Change}, {500, Change}, {1500, Change}}, {"1@3500"}, 2},
      {"nothing changed: no write, no timer", {{0, Hide}, {100, SaveAll}, {200, Close}}, {}, 0},
      {"hiding writes at once, a saved note not again", {{0, Change}, {300, Hide}, {400, Hide}}, {"1@300"}, 0},
      {"suspend and dialogs write every unsaved note; closing the last change",
       {{0, Change, 1}, {100, Change, 2}, {150, Change, 3}, {200, SaveAll}, {300, Change, 3}, {400, Close, 3}},
       {"1@200", "2@200", "3@200", "3@400"}, 0},
      {"a deleted note is never written again", {{0, Change}, {100, Forget}}, {}, 0},
      {"one timer serves every note", {{0, Change, 1}, {1000, Change, 2}}, {"1@2000", "2@3000"}, 2},
      {"a change made during its write gets a write of its own",
       {{0, ChangeDuringNextWrite}, {0, Change}}, {"1@2000", "1@4000"}, 2},
      {"steady typing is still written every 30 seconds", typing, {"1@30000", "1@47000"}, -1},
      {"a failed write is retried after 5, 10, 20, 40, then every 60 seconds",
       {fail, fail, fail, fail, fail, {0, Change}},
       {"1@2000", "1@7000", "1@17000", "1@37000", "1@77000", "1@137000"}, 6},
      {"hiding and dialogs (the error box is one) do not retry before the wait is over; success ends it",
       {fail, {0, Change}, {3000, Hide}, {3500, SaveAll}, {4000, Change}, {10'000, Change}},
       {"1@2000", "1@7000", "1@12000"}, 3},
      {"closing tries at once all the same", {fail, {0, Change}, {3000, Close}}, {"1@2000", "1@3000"}, 1},
  };
  for (const Row& row : rows) {
    Desk desk;
    desk.Run(row.events);
    EXPECT_EQ(desk.writes, row.writes) << row.name;
    if (row.ticks >= 0) {
      EXPECT_EQ(desk.ticks, row.ticks) << row.name;
    }
    EXPECT_FALSE(desk.timer) << row.name;
  }
}

}  // namespace
