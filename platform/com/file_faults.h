// Faults the environment can inject into the files the program writes, set
// by the simulated card's FILE and by tests:
//  - a disk that fills up: every file created for writing while the fault is
//    set takes at most this many bytes; a write beyond them fails with
//    ENOSPC, as on a full disk;
//  - a disk that stalls: the write that carries a file past this many bytes
//    first waits this long (on the program's clock), as a USB disk spinning
//    up or a busy network share does. Once per file;
//  - a flush at the close that fails.
#pragma once

#include <cstdint>
#include <optional>

// None: no fault.
void SetWriteFailureAfterBytes(std::optional<std::uint64_t> bytes);
std::optional<std::uint64_t> WriteFailureAfterBytes();

// A file whose flush at its close fails with this errno (a network share or
// a quota that reports a lost write only then). None: no fault.
void SetCloseFailure(std::optional<int> error);
std::optional<int> InjectedCloseFailure();

struct WriteStall {
  std::uint64_t afterBytes = 0;
  std::uint32_t milliseconds = 0;
};
void SetWriteStall(std::optional<WriteStall> stall);
std::optional<WriteStall> InjectedWriteStall();
