// The system calls by which files are replaced, with the faults the tests inject into
// them: a failed create, write, fsync or rename at a chosen call, and a kill at a named
// moment of a save. The tests set them in-process (FailAt) or, to make a real program
// fail, through the environment:
//
//   WAVORA_TEST_FAULTS="write:3:ENOSPC:.TYD;rename:1:EIO"
//       the third write to a file whose name holds ".TYD" fails with ENOSPC, the next
//       rename with EIO (op:call:errno[:part of the file name]);
//   WAVORA_TEST_KILL_AT="save.renamed:2"
//       the process kills itself the second time it passes that moment.
//
// Unset, every call goes straight to the system and a moment costs one load.
#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace wv::faults {

enum class Op { Create, Write, Fsync, Rename };

// open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode), remembering the name for
// the faults that pick a file.
int CreateExclusive(const char* path, mode_t mode);
ssize_t Write(int fd, const void* data, std::size_t size);
int Fsync(int fd);
int Rename(const char* from, const char* to);
// Forgets the name of a descriptor made by CreateExclusive; call before closing it.
void Forget(int fd);

// The `nth` call of `op` from now (1 = the next) whose file name contains `part` fails
// with `err`, once. Several faults may wait at a time.
void FailAt(Op op, int nth, int err, const std::string& part = std::string());
// Drops every waiting fault and kill (the environment's too).
void Clear();
// Kills the process the `nth` time from now that it passes the moment `name`.
void KillAt(const std::string& name, int nth);

// A moment of a save the kill tests stop at. The names a save passes, in order:
// "save.created", "save.written", "save.synced", "save.renamed" (for each file), and
// between the files of a set "set.first-in-place".
void Point(const char* name);

}  // namespace wv::faults
