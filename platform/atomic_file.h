// Replacing a file whole, so that whatever moment the program dies at, the old file or
// the new one is there, complete.
//
// The new contents go to a temporary file beside the file they replace, under a name
// only this program makes (".<name>.wvtmp-<pid>-<random>"), locked while its writer
// lives. Only when it is complete and on the disk is it renamed over the old name. A
// symbolic link is followed, so its target is what gets replaced, in the target's
// folder. The new file keeps the mode and owner of the one it replaces. A file that no
// one may write (read-only, or not the user's to write) is refused and left as it is.
// The temporary files a killed save left behind for the same file are removed.
//
// A set of files that belong together (a calculation's .TYD and .DPT) is replaced with
// AtomicFileSet: every member is written and on the disk before the first rename, and
// their temporary names share one token. A temporary name names its file exactly
// (TempNamePrefix), so no file's temporary files are taken for another's. A kill during
// the renames leaves the members not yet in place as complete temporary files;
// RecoverInterruptedSet puts them in place, so the set on disk is always the old one or
// the new one.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace wv {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // a file not committed is removed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Makes the temporary file for `path`. False, with a message naming the file in
    // *err, when the file may not be replaced or the temporary file cannot be made.
    bool Open(const std::string& path, std::string* err);
    // Appends bytes; false once any write has failed (Finish then reports it).
    bool Write(const void* data, std::size_t size);
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    // Writes what others put into the temporary file by name (a PDF printer) to the
    // disk, with the mode of the file it replaces. Commit does it when not done.
    bool Finish(std::string* err);
    // Renames the complete temporary file over the target.
    bool Commit(std::string* err);
    // Commit, handing the open descriptor of the file now in place to the caller, who
    // goes on writing into it and closes it (a result file that grows while a run goes
    // on). -1 on failure.
    int CommitKeepingOpen(std::string* err);
    // Removes the temporary file; the target stays as it was.
    void Abandon();

    bool IsOpen() const { return m_fd >= 0; }
    // The temporary file's path (for writers that open files by name).
    const std::string& TempPath() const { return m_temp; }
    // The file that will be replaced: the path given, its links followed.
    const std::string& TargetPath() const { return m_target; }

private:
    friend class AtomicFileSet;
    bool OpenAs(const std::string& path, const std::string& suffix, std::string* err);
    bool Fail(int err, std::string* out);

    std::string m_given;   // the path as the caller named it, for messages
    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
    int m_writeErrno = 0;
    bool m_finished = false;
    bool m_exists = false;  // the target was there when opened (its mode is kept)
    unsigned m_mode = 0;
    unsigned m_uid = 0, m_gid = 0;
};

class AtomicFileSet {
public:
    // The members in the order they are put in place.
    explicit AtomicFileSet(std::vector<std::string> paths);
    ~AtomicFileSet();
    // Finishes an interrupted replacement of the set and removes dead temporary files,
    // then makes a temporary file for every member. False, with *err naming the file,
    // when any member may not be replaced; nothing is changed then.
    bool Open(std::string* err);
    AtomicFile& Member(std::size_t i) { return *m_files[i]; }
    // Every member to disk, then renamed into place in order.
    bool Commit(std::string* err);
    void Abandon();

private:
    std::vector<std::string> m_paths;
    std::vector<std::unique_ptr<AtomicFile>> m_files;
};

// What RecoverInterruptedSet found beside a set's files.
struct SetRecovery {
    int completed = 0;  // members a killed save had left out of place, now put in place
    int removed = 0;    // temporary files of saves that died before their first rename
    int failed = 0;     // members that could not be put in place
    std::string error;  // the first of them and the system's reason
};

// Finishes the replacement of a set (members in commit order) that a killed program had
// begun, and removes the temporary files of saves of this set that died before their
// first rename. Nothing else is touched: temporary files whose writer still runs, and
// those of other files or of sets of another shape. Links are followed as AtomicFile
// does.
SetRecovery RecoverInterruptedSet(const std::vector<std::string>& paths);

// Whether the file at `path` (links followed) may be replaced by this user: a file that
// is there must be a plain file that the user may write and that is not marked
// read-only for everyone (no write permission bit at all, as the Windows read-only
// attribute, which stops even the administrator). A file that is not there yet may be.
// On false, *err says why (Japanese).
bool MayReplaceFile(const std::string& path, std::string* err);

// The beginning of every temporary name made for the file `target` (its links not
// followed): ".<name>.wvtmp-" where the whole name leaves room for the rest of a
// temporary name within the 255 bytes a folder entry holds; a longer name is cut at a
// character and followed by "~" and 16 hex digits of a hash of the whole name. Either
// way it tells the file from every other, also from one that differs only at its end.
std::string TempNamePrefix(const std::string& target);

// The Japanese text of a system error number, for the messages the user sees.
std::string SystemErrorText(int errnum);

}  // namespace wv
