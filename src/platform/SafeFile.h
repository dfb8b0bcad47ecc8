#pragma once

#include <QString>

#include <string>
#include <string_view>

// Replaces a file by the given bytes so that a crash, a kill or a full disk
// at any moment leaves either the old file or the new one, never a mix:
// the bytes go to a temporary file in the same directory, are flushed to the
// disk, and the temporary file is renamed over the old one. Returns false,
// with the old file untouched, when any step fails.
bool replaceFileAtomically(const QString& path, std::string_view bytes);

// What became of reading a whole file.
enum class FileReadState { Read, Missing, Unreadable };

// Reads the whole file into `bytes`. Missing when there is no such file;
// Unreadable when it exists but cannot be read (a directory, no permission,
// an I/O error); `bytes` is then empty.
FileReadState readWholeFile(const QString& path, std::string* bytes);
