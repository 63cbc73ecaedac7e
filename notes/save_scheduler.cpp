#include "notes/save_scheduler.h"

#include <algorithm>
#include <optional>

SaveEffects SaveScheduler::Changed(SaveNoteId note, SaveMoment now) {
  NoteState& state = notes_[note];
  if (!state.unsaved) {
    state.unsaved = true;
    state.firstChange = now;
  }
  state.lastChange = now;
  return Settle({}, now);
}

SaveEffects SaveScheduler::Hidden(SaveNoteId note, SaveMoment now) {
  SaveEffects effects;
  if (const auto found = notes_.find(note); found != notes_.end() && MayWriteAtOnce(found->second, now))
    WriteNow(note, found->second, effects);
  return Settle(std::move(effects), now);
}

SaveEffects SaveScheduler::Closing(SaveNoteId note, SaveMoment now) {
  SaveEffects effects;
  if (const auto found = notes_.find(note); found != notes_.end()) {
    // The last chance this note has, so a pending retry does not hold it back.
    if (found->second.unsaved && !found->second.writing) effects.Write.push_back(note);
    notes_.erase(found);
  }
  return Settle(std::move(effects), now);
}

SaveEffects SaveScheduler::Forget(SaveNoteId note, SaveMoment now) {
  notes_.erase(note);
  return Settle({}, now);
}

SaveEffects SaveScheduler::SaveAllNow(SaveMoment now) {
  SaveEffects effects;
  for (auto& [note, state] : notes_) {
    if (MayWriteAtOnce(state, now)) WriteNow(note, state, effects);
  }
  return Settle(std::move(effects), now);
}

SaveEffects SaveScheduler::Tick(SaveMoment now) {
  SaveEffects effects;
  for (auto& [note, state] : notes_) {
    if (state.unsaved && !state.writing && Due(state) <= now) WriteNow(note, state, effects);
  }
  armed_ = false;
  return Settle(std::move(effects), now, true);
}

SaveEffects SaveScheduler::Written(SaveNoteId note, SaveMoment now) {
  if (const auto found = notes_.find(note); found != notes_.end()) {
    found->second.writing = false;
    found->second.failures = 0;
  }
  return Settle({}, now);
}

SaveEffects SaveScheduler::WriteFailed(SaveNoteId note, SaveMoment now) {
  const auto found = notes_.find(note);
  if (found == notes_.end()) return Settle({}, now);
  NoteState& state = found->second;
  state.writing = false;
  if (!state.unsaved) {
    state.unsaved = true;
    state.firstChange = now;
  }
  const int doublings = std::min(state.failures, 8);
  state.retryAt = now + std::min(kFirstRetryMs << doublings, kLongestRetryMs);
  ++state.failures;
  return Settle({}, now);
}

SaveMoment SaveScheduler::Due(const NoteState& state) const {
  const SaveMoment due = std::min(state.lastChange + kSaveQuietMs, state.firstChange + kLongestUnsavedMs);
  return state.failures > 0 ? std::max(due, state.retryAt) : due;
}

bool SaveScheduler::MayWriteAtOnce(const NoteState& state, SaveMoment now) const {
  return state.unsaved && !state.writing && (state.failures == 0 || state.retryAt <= now);
}

void SaveScheduler::WriteNow(SaveNoteId note, NoteState& state, SaveEffects& effects) {
  // The write takes the note as it is now; a change from here on is a new unsaved change.
  state.unsaved = false;
  state.writing = true;
  effects.Write.push_back(note);
}

SaveEffects SaveScheduler::Settle(SaveEffects effects, SaveMoment now, bool afterTick) {
  std::optional<SaveMoment> next;
  for (const auto& [note, state] : notes_) {
    if (!state.unsaved || state.writing) continue;
    const SaveMoment due = Due(state);
    if (!next || due < *next) next = due;
  }
  if (!next) {
    if (armed_ || afterTick) effects.Timer = SaveTimerChange::Disarm;
    armed_ = false;
    return effects;
  }
  // A timer that fires early only costs a tick that re-arms it; changes while typing therefore
  // leave the timer alone instead of restarting it on every key.
  if (!armed_ || armedFor_ > *next) {
    effects.Timer = SaveTimerChange::Arm;
    effects.DelayMs = std::max<SaveMoment>(*next - now, 1);
    armed_ = true;
    armedFor_ = now + effects.DelayMs;
  }
  return effects;
}
