// The lock a filter shares with its pins. It is re-entrant because a thread
// that holds it (for example the recording start, which runs the graph) calls
// back into the same filter's state changes.
#pragma once

#include <mutex>

using CCritSec = std::recursive_mutex;
using CAutoLock = std::lock_guard<CCritSec>;
