#pragma once

#include <QString>
#include <string>
#include <string_view>

// Replaces a file by the given bytes so that a crash, a kill or a full disk
// at any moment leaves either the old file or the new one, never a mix:
// the bytes go to a temporary file in the same directory, are flushed to the
// disk, and the temporary file is renamed over the old one. Returns false,
// with the old file untouched, when any step fails, and when something other
// than a regular file (a FIFO, a device, a directory) stands at the path:
// that is not the program's to replace. A file that did not exist is made
// readable by its owner alone (it holds who called and whom they know); one
// that exists keeps its permissions.
bool replaceFileAtomically(const QString& path, std::string_view bytes);

// Makes the directory, with the directories above it that are missing, and
// the directory itself readable by its owner alone. True when it is there.
// An existing directory keeps its permissions.
bool makePrivateDirectory(const QString& path);

// Removes the temporary files that a save of `path` left behind when the
// program was killed between writing and putting them in place ("<name>."
// and six letters or digits, beside the file). Only for a process that holds
// the single-instance lock: nobody else saves these files. Returns how many
// were removed.
int removeLeftoverSaves(const QString& path);

// What became of reading a whole file.
enum class FileReadState
{
    Read,
    Missing,
    Unreadable
};

// Reads the whole file into `bytes`. Missing when there is no such file;
// Unreadable when it exists but cannot be read (no permission, an I/O error)
// or is no regular file (a directory, a FIFO, a device: opening one never
// blocks, and nothing endless is read); `bytes` is then empty. A symbolic
// link to a regular file is read like the file.
FileReadState readWholeFile(const QString& path, std::string* bytes);
