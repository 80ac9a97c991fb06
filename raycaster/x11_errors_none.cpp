#include "x11_errors.h"

// Windows: no X server, nothing to forgive.
void forgive_late_wakeups() {}
