#include "notes/save_scheduler.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <vector>

namespace {

enum class Input { Change, Hide, Close, Forget, SaveAll, DiskFailsOnce, ChangeDuringNextWrite };

struct Event {
  SaveMoment at;
  Input input;
  SaveNoteId note = 1;
};

struct Write {
  SaveMoment at;
  SaveNoteId note;
  bool operator==(const Write&) const = default;
  friend void PrintTo(const Write& w, std::ostream* out) { *out << "note " << w.note << " at " << w.at; }
};

// The window side around the scheduler: a fake clock, one periodic timer (as SetTimer gives)
// and a disk that fails when told to.
class Desk {
 public:
  void Run(const std::vector<Event>& events) {
    size_t next = 0;
    for (int rounds = 0; rounds < 10'000; ++rounds) {
      const bool eventLeft = next < events.size();
      if (!eventLeft && !timerDue_) return;
      // At the same moment an event goes before the tick.
      if (eventLeft && (!timerDue_ || events[next].at <= *timerDue_)) {
        Handle(events[next++]);
      } else {
        const SaveMoment now = *timerDue_;
        ++ticks_;
        timerDue_ = now + period_;
        Apply(scheduler_.Tick(now), now);
      }
    }
    ADD_FAILURE() << "the timer never stopped";
  }

  const std::vector<Write>& Writes() const { return writes_; }
  int Ticks() const { return ticks_; }
  bool TimerRunning() const { return timerDue_.has_value(); }

 private:
  void Handle(const Event& e) {
    switch (e.input) {
      case Input::Change: Apply(scheduler_.Changed(e.note, e.at), e.at); break;
      case Input::Hide: Apply(scheduler_.Hidden(e.note, e.at), e.at); break;
      case Input::Close: Apply(scheduler_.Closing(e.note, e.at), e.at); break;
      case Input::Forget: Apply(scheduler_.Forget(e.note, e.at), e.at); break;
      case Input::SaveAll: Apply(scheduler_.SaveAllNow(e.at), e.at); break;
      case Input::DiskFailsOnce: ++failuresAhead_[e.note]; break;
      case Input::ChangeDuringNextWrite: changeDuringWrite_[e.note] = true; break;
    }
  }

  void Apply(const SaveEffects& effects, SaveMoment now) {
    if (effects.Timer == SaveTimerChange::Arm) {
      EXPECT_GT(effects.DelayMs, 0);
      period_ = effects.DelayMs;
      timerDue_ = now + effects.DelayMs;
    } else if (effects.Timer == SaveTimerChange::Disarm) {
      timerDue_.reset();
    }
    for (const SaveNoteId note : effects.Write) {
      writes_.push_back({now, note});
      if (changeDuringWrite_[note]) {
        changeDuringWrite_[note] = false;
        Apply(scheduler_.Changed(note, now), now);
      }
      const bool fails = failuresAhead_[note] > 0;
      if (fails) --failuresAhead_[note];
      const SaveEffects report = fails ? scheduler_.WriteFailed(note, now) : scheduler_.Written(note, now);
      EXPECT_TRUE(report.Write.empty());
      Apply(report, now);
    }
  }

  SaveScheduler scheduler_;
  std::optional<SaveMoment> timerDue_;
  SaveMoment period_ = 0;
  int ticks_ = 0;
  std::vector<Write> writes_;
  std::map<SaveNoteId, int> failuresAhead_;
  std::map<SaveNoteId, bool> changeDuringWrite_;
};

struct Row {
  const char* name;
  std::vector<Event> events;
  std::vector<Write> writes;
  int ticks;  // -1: not counted
};

std::vector<Event> TypingEverySecond(SaveMoment from, SaveMoment to) {
  std::vector<Event> events;
  for (SaveMoment t = from; t <= to; t += 1000) events.push_back({t, Input::Change});
  return events;
}

TEST(SaveScheduler, WritesOncePerQuietPeriodAndAtOnceWhenTheNoteGoesAway) {
  using enum Input;
  const Row rows[] = {
      {"one change, one write after the quiet time", {{0, Change}}, {{2000, 1}}, 1},
      {"typing postpones the write; the timer is not restarted on every key",
       {{0, Change}, {500, Change}, {1500, Change}}, {{3500, 1}}, 2},
      {"nothing changed: no write and no timer",
       {{0, Hide}, {100, SaveAll}, {200, Close}, {300, Forget}}, {}, 0},
      {"hiding writes at once", {{0, Change}, {300, Hide}}, {{300, 1}}, 0},
      {"hiding a saved note writes nothing", {{0, Change}, {3000, Hide}}, {{2000, 1}}, 1},
      {"suspend and dialogs write every unsaved note",
       {{0, Change, 1}, {100, Change, 2}, {150, Change, 3}, {160, Hide, 3}, {200, SaveAll}},
       {{160, 3}, {200, 1}, {200, 2}}, 0},
      {"closing writes the last change", {{0, Change}, {100, Close}}, {{100, 1}}, 0},
      {"a deleted note is never written again", {{0, Change}, {100, Forget}}, {}, 0},
      {"one timer serves every note", {{0, Change, 1}, {1000, Change, 2}}, {{2000, 1}, {3000, 2}}, 2},
      {"a change made while the note is written is written after its own quiet time",
       {{0, ChangeDuringNextWrite}, {0, Change}}, {{2000, 1}, {4000, 1}}, 2},
      {"steady typing is still written every 30 seconds", TypingEverySecond(0, 45'000),
       {{30'000, 1}, {47'000, 1}}, -1},
  };
  for (const Row& row : rows) {
    Desk desk;
    desk.Run(row.events);
    EXPECT_EQ(desk.Writes(), row.writes) << row.name;
    if (row.ticks >= 0) {
      EXPECT_EQ(desk.Ticks(), row.ticks) << row.name;
    }
    EXPECT_FALSE(desk.TimerRunning()) << row.name;
  }
}

TEST(SaveScheduler, AFailedWriteIsRetriedLaterEachTimeWithoutSpinning) {
  using enum Input;
  const Row rows[] = {
      {"retried after 5, 10 and 20 seconds",
       {{0, DiskFailsOnce}, {0, DiskFailsOnce}, {0, DiskFailsOnce}, {0, Change}},
       {{2000, 1}, {7000, 1}, {17'000, 1}, {37'000, 1}}, 4},
      {"the wait grows no longer than a minute",
       {{0, DiskFailsOnce}, {0, DiskFailsOnce}, {0, DiskFailsOnce}, {0, DiskFailsOnce},
        {0, DiskFailsOnce}, {0, Change}},
       {{2000, 1}, {7000, 1}, {17'000, 1}, {37'000, 1}, {77'000, 1}, {137'000, 1}}, 6},
      {"hiding and dialogs do not retry before the wait is over (the error box is a dialog)",
       {{0, DiskFailsOnce}, {0, Change}, {3000, Hide}, {3500, SaveAll}}, {{2000, 1}, {7000, 1}}, 2},
      {"typing on during the wait keeps the wait",
       {{0, DiskFailsOnce}, {0, Change}, {2500, Change}}, {{2000, 1}, {7000, 1}}, 2},
      {"closing tries once more at once", {{0, DiskFailsOnce}, {0, Change}, {3000, Close}},
       {{2000, 1}, {3000, 1}}, 1},
      {"a success ends the waiting: the next change has the plain quiet time",
       {{0, DiskFailsOnce}, {0, Change}, {10'000, Change}}, {{2000, 1}, {7000, 1}, {12'000, 1}}, 3},
  };
  for (const Row& row : rows) {
    Desk desk;
    desk.Run(row.events);
    EXPECT_EQ(desk.Writes(), row.writes) << row.name;
    EXPECT_EQ(desk.Ticks(), row.ticks) << row.name;
    EXPECT_FALSE(desk.TimerRunning()) << row.name;
  }
}

}  // namespace
