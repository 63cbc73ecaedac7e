#include "storage/date_time_text.h"

// The native build has no user locale of its own; it writes what Windows writes under the C
// locale, so the files stay interchangeable.
LocalePictures UserLocalePictures() { return {}; }
