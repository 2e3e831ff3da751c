#pragma once
// The read-only mark of a file, as every writer that honours it reads it and
// as the program sets it on the start-data file between runs.
#include <string>

namespace korvane::io {

// A file is read-only when it exists (and is no folder) and either its owner
// may not write it (the owner's write bit is clear, whoever runs the program)
// or this process may not write it.
bool IsReadOnlyFile(const std::string& path);

// Clears every write bit of the file, or gives the owner write permission
// back. False when the file is missing or its permissions cannot be changed.
bool SetReadOnlyFile(const std::string& path, bool readOnly);

}  // namespace korvane::io
