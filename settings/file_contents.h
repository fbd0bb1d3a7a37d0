#pragma once
// Whole-file read and crash-safe whole-file replacement. Results are 0 or
// the errno of the call that failed.

#include <string>
#include <string_view>

// Reads every byte of `path` into `out`. ENOENT when the file is missing.
int ReadFileContents(const std::string& path, std::string& out);

// Makes `bytes` the contents of `path`. The bytes go to a new file in the
// same folder which is then renamed over the old one, so a failure part-way
// leaves the old file whole. An existing file keeps its permission bits and
// must be writable by us, as an in-place write would require; a symbolic
// link is followed and its target replaced. A missing file is created with
// the usual permissions (0666 less the umask).
//
// When the folder refuses new files but the existing file is writable (an
// installed copy with a writable settings file), the file is rewritten in
// place: the room for the new contents is reserved first, so a full disk
// fails before any byte changes; only a crash during the write itself can
// leave a mix.
int ReplaceFileContents(const std::string& path, std::string_view bytes);
