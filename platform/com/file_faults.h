// A fault the environment can inject into the files the program writes: a
// disk that fills up. Every file created for writing while the fault is set
// takes at most this many bytes; a write beyond them fails with ENOSPC, as on
// a full disk. Set by the simulated card's FILE and by tests.
#pragma once

#include <cstdint>
#include <optional>

// None: no fault.
void SetWriteFailureAfterBytes(std::optional<std::uint64_t> bytes);
std::optional<std::uint64_t> WriteFailureAfterBytes();
