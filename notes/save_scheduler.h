#pragma once
// When notes are written to their store files while the user works, so that a crash, a power
// cut or a killed process loses at most the last moments of typing. A note is written once it
// has been quiet for a moment after its last change (and at the latest a while after its first
// unsaved change, for someone who types without pause), at once when it is hidden or its window
// closes, and every unsaved note at once when the program suspends its notes, before any dialog
// and when the system goes to sleep or the session ends. Nothing is written while nothing
// changed, and the one timer that serves every note runs only while some change is unsaved.
//
// Time and input come in, effects go out: the window side owns the timer, does the writing and
// reports how each write went.

#include <cstdint>
#include <map>
#include <vector>

using SaveNoteId = std::uint64_t;  // names one open note for as long as it is open
using SaveMoment = std::int64_t;   // milliseconds on a steady clock (GetTickCount64)

inline constexpr SaveMoment kSaveQuietMs = 2'000;        // quiet time after the last change
inline constexpr SaveMoment kLongestUnsavedMs = 30'000;  // since the first unsaved change
inline constexpr SaveMoment kFirstRetryMs = 5'000;       // after a failed write; doubles ...
inline constexpr SaveMoment kLongestRetryMs = 60'000;    // ... up to this

enum class SaveTimerChange { Keep, Arm, Disarm };

// Carry out the timer change first, then write the notes in order, reporting each outcome with
// Written or WriteFailed. A report never asks for a write; it may change the timer once more.
// Every write asked for must be reported, whatever happens: until then the note is taken as
// being written and nothing writes it again.
struct SaveEffects {
  std::vector<SaveNoteId> Write;
  SaveTimerChange Timer = SaveTimerChange::Keep;
  SaveMoment DelayMs = 0;  // with Arm: (re)start the timer so that Tick comes this much later
};

class SaveScheduler {
 public:
  // Anything the store file holds changed: text, font, colours, place, size, alarm, ...
  SaveEffects Changed(SaveNoteId note, SaveMoment now);
  SaveEffects Hidden(SaveNoteId note, SaveMoment now);
  // The note's window closes: written when unsaved, and forgotten.
  SaveEffects Closing(SaveNoteId note, SaveMoment now);
  // The user deleted the note, and its store file goes with it: forgotten without a write, so
  // that no late write brings the file back.
  SaveEffects Forget(SaveNoteId note, SaveMoment now);
  // Suspend, before a dialog, system sleep, end of session: every unsaved note.
  SaveEffects SaveAllNow(SaveMoment now);
  // The timer fired. The answer always arms or disarms, so a periodic timer serves as well.
  SaveEffects Tick(SaveMoment now);

  SaveEffects Written(SaveNoteId note, SaveMoment now);
  // The change stays unsaved and is tried again later, each time a little later than the last.
  // Until then hiding and suspending do not try it again: the error box the window side shows
  // for the failure is itself a dialog, and must not set off another failing write.
  SaveEffects WriteFailed(SaveNoteId note, SaveMoment now);

 private:
  struct NoteState {
    bool unsaved = false;
    bool writing = false;  // asked for and not yet reported
    SaveMoment firstChange = 0, lastChange = 0;
    int failures = 0;  // in a row
    SaveMoment retryAt = 0;
  };

  SaveMoment Due(const NoteState& state) const;
  bool MayWriteAtOnce(const NoteState& state, SaveMoment now) const;
  void WriteNow(SaveNoteId note, NoteState& state, SaveEffects& effects);
  SaveEffects Settle(SaveEffects effects, SaveMoment now, bool afterTick = false);

  std::map<SaveNoteId, NoteState> notes_;
  bool armed_ = false;
  SaveMoment armedFor_ = 0;  // when the armed timer fires
};
