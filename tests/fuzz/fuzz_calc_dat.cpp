// "CALC.DAT", the busy flag every program reads before it starts a run. With no run
// holding its lock any file reads idle (or missing), the same each time, and reading
// changes nothing; where a run starts the flag is written busy for it, and idle when the
// claim is let go. The flags
// the solver writes read back as what they say while its lock is held: idle, or busy
// with the run's title.
#include "fuzz_support.h"

#include "calc/calc_run_files.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/busy_flag.h"

#include <cctype>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    fuzz::Scratch();
    const std::string path = StartFolderFile("CALC.DAT");
    const std::string input(reinterpret_cast<const char*>(data), size);
    fuzz::WriteFile(path, data, size);
    std::string title1, title2;
    const BusyFlag first = ReadBusyFlag(&title1);
    fuzz::Check(first == BusyFlag::Idle, "a flag file that is there and no run holds reads as idle");
    fuzz::Check(ReadBusyFlag(&title2) == first && title1 == title2, "the busy flag reads the same each time");
    fuzz::Check(title1.empty(), "only a busy flag names a title");
    std::string after;
    fuzz::Check(ReadWholeFile(path, after, nullptr) && after == input, "a reader leaves the file as it was");
    {
        RunClaim claim;
        fuzz::Check(claim.Take("RUN", nullptr, nullptr) == BusyFlag::Idle, "a run may start");
        fuzz::Check(ReadWholeFile(path, after, nullptr) && after == "1\r\nRUN\r\n", "the claimed flag names the run");
    }
    fuzz::Check(ReadWholeFile(path, after, nullptr) && after == "0\r\n", "a claim let go leaves the flag idle");

    // A run holds its lock from before its busy flag until after its idle flag.
    FileLock run(StartFolderFile(kCalcDatLockName));
    fuzz::Check(run.TryLock(), "the run takes its lock");

    // A title of the input's letters and digits, as the solver writes it.
    std::string title;
    for (std::size_t i = 0; i < size && title.size() < 200; ++i)
        if (std::isalnum(data[i])) title += static_cast<char>(data[i]);
    fuzz::Check(WriteBusyFlag(path, title), "the busy flag is written");
    std::string running;
    const BusyFlag busy = ReadBusyFlag(&running);
    fuzz::Check(busy == BusyFlag::Busy, "the flag the solver writes for a run reads busy");
    fuzz::Check(running == title, "the busy flag names the running calculation");
    fuzz::Check(WriteIdleFlag(path), "the idle flag is written");
    run.Unlock();
    fuzz::Check(ReadBusyFlag(&running) == BusyFlag::Idle, "the flag the solver leaves reads idle");
    return 0;
}
