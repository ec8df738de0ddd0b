#pragma once

namespace morvane::temp_files {

// The temporary files a process has open for writing, kept where a signal handler can remove them.
// add and forget may be called from any thread; removeAll only reads the table and unlinks, so it
// is safe inside a signal handler.

// Records path; false when the table is full or the path too long to keep.
bool add(const char* path);
// Forgets path once it was renamed or removed.
void forget(const char* path);
// Brackets the making and recording of a temporary file on any thread; beginCreate is false once
// the process is ending (no file may be made then).
bool beginCreate();
void endCreate();
// Unlinks every recorded file, after any file being made on another thread is recorded.
// Async-signal-safe.
void removeAll();

}  // namespace morvane::temp_files
