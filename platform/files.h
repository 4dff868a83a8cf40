// File helpers shared by every subsystem: side-file names, silent deletion, atomic
// saves and the start folder where the working files live.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wv {

// The side file of a document: the path up to and including its last '.', then `ext`
// ("DPT", "CAL", "DEC", "KKA", "YNO"). A document whose name has no '.' has no side
// files: the result is empty, so nothing beside its folder is ever touched.
std::string SideFileName(const std::string& docPath, const std::string& ext);

// Deletes a file; a file that is not there is not an error. Returns true when the file
// is gone afterwards.
bool DeleteFileSilently(const std::string& path);

bool FileExists(const std::string& path);
// Size of a file in bytes, or -1 when it cannot be read.
std::int64_t FileSize(const std::string& path);

// Reads a whole file. On failure returns false and sets *err to a message naming the file.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out, std::string* err);
bool ReadWholeFile(const std::string& path, std::string& out, std::string* err);

// Replaces `path` whole through an AtomicFile (atomic_file.h): the old file or the new
// one is there whatever happens; a file that may not be written is refused and kept.
// *err names the file and says why, in the user's language.
bool AtomicWriteFile(const std::string& path, const void* data, std::size_t size, std::string* err);
bool AtomicWriteFile(const std::string& path, const std::string& data, std::string* err);

// True when the extension of `path` (after its last '.') equals `ext` (with or without
// the leading dot) regardless of case.
bool HasExtensionNoCase(const std::string& path, const std::string& ext);

// Folder part of a path, ending in '/', or "" when there is none.
std::string FolderOf(const std::string& path);
// Name part of a path (after the last '/').
std::string FileNameOf(const std::string& path);
// Name part without its last extension.
std::string FileTitleOf(const std::string& path);

// The start folder: the current folder when the program started, ending in '/'.
// SetStartFolder is called once at start-up (tests may call it to point elsewhere).
const std::string& StartFolder();
void SetStartFolder(const std::string& folder);
// The process's current folder, ending in '/'.
std::string CurrentFolder();
// Path of a working file in the start folder ("CALC.DAT", "PARAINI.DAT", ...).
std::string StartFolderFile(const std::string& name);

// The folder the user started the program from, ending in '/': a name the user gives
// relative to it (on the command line, or one an older settings file kept) is taken from
// there, not from the start folder. The installed launchers change into the work folder
// before they start a program, so they name the folder they were started in in
// WAVORA_CALLER_FOLDER. TakeCallerFolder, once at start-up, reads that and removes it
// from the environment (a program started from this one was not started by the user
// there); without it, in a direct start, the current folder is the caller's.
void TakeCallerFolder();
const std::string& CallerFolder();
// `path` as an absolute path: a relative one is taken from the caller folder ("./"
// parts left out). "" stays "".
std::string AbsoluteFromCaller(const std::string& path);

}  // namespace wv
