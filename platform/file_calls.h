// The system calls by which the file layer replaces a file, taken through one table.
//
// The programs use the table of the real calls and never change it. A test program
// puts a table of its own in its place (tests/support/file_faults.h) to fail a chosen
// create, write, fsync, rename or folder sync, or to stop the process at a named moment of a save;
// nothing in a program reads a setting or a variable that could do so.
#pragma once

#include <cstddef>
#include <sys/types.h>

namespace wv {

struct FileCalls {
    // open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode).
    int (*createExclusive)(const char* path, mode_t mode);
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*fsync)(int fd);
    int (*rename)(const char* from, const char* to);
    // Removes a temporary file of a save.
    int (*unlink)(const char* path);
    // Makes the entries of a folder durable (open, fsync, close): 0, or -1 with errno.
    int (*syncFolder)(const char* folder);
    // A descriptor made by createExclusive is about to be closed.
    void (*closing)(int fd);
    // A save has reached a moment: "save.created", "save.written", "save.synced",
    // "save.renamed" (for each file), and between the files of a set
    // "set.first-in-place".
    void (*moment)(const char* name);
};

// The real calls.
const FileCalls& SystemFileCalls();
// The table the file layer calls through now.
const FileCalls& ActiveFileCalls();
// Puts `calls` in place of the real ones (nullptr: the real ones again). It must outlive
// its use; only test programs call this.
void UseFileCalls(const FileCalls* calls);

}  // namespace wv
