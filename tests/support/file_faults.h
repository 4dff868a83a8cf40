// Faults for the tests, put between the file layer and the system through its table of
// file calls (platform/file_calls.h): a failed create, write, fsync or rename at a
// chosen call, and a kill at a named moment of a save. Only test programs link this.
//
// In-process a test sets them with FailAt and KillAt. A test program that the fault
// suite starts as a child (tests/faults/fault_driver) takes them from its environment
// with ArmFromEnvironment:
//
//   WAVORA_TEST_FAULTS="write:3:ENOSPC:.TYD;rename:1:EIO"
//       the third write to a file whose name holds ".TYD" fails with ENOSPC, the next
//       rename with EIO (op:call:errno[:part of the file name]; "syncfolder" names the
//       sync of the folder a file was renamed into, by the folder's name);
//   WAVORA_TEST_KILL_AT="save.renamed:2"
//       the process kills itself the second time it passes that moment.
#pragma once

#include <string>

namespace wv::faults {

enum class Op { Create, Write, Fsync, Rename, SyncFolder };

// The `nth` call of `op` from now (1 = the next) whose file name contains `part` fails
// with `err`, once. Several faults may wait at a time.
void FailAt(Op op, int nth, int err, const std::string& part = std::string());
// Kills the process the `nth` time from now that it passes the moment `name`.
void KillAt(const std::string& name, int nth);
// Drops every waiting fault and kill.
void Clear();
// Adds the faults and kills that WAVORA_TEST_FAULTS and WAVORA_TEST_KILL_AT name.
void ArmFromEnvironment();

}  // namespace wv::faults
