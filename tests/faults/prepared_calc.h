// A calculation of the bay prepared by the driver for runs and batch jobs, with the files
// it was prepared with and the result file of a complete run, so that each kill starts
// from the same files and what it left can be compared with a whole run's.
#pragma once

#include "tests/faults/fault_suite.h"

#include <map>
#include <string>

namespace wv::faultsuite {

class PreparedCalc {
public:
    // "prepare-run" (the calculate command ran to its end, saved in state 2) or
    // "prepare-batch" (the batch-data command, saved in state 1), at `mesh` metres.
    // The complete result file is taken from the first run: the calculate command's for
    // "prepare-run", a batch job's for "prepare-batch".
    static bool Prepare(PreparedCalc& out, const std::string& name, const std::string& how, double mesh,
                        std::string* err);

    const std::string& Tyd() const { return m_tyd; }
    std::string Side(const std::string& ext) const;  // NAME.<ext> beside the .TYD
    const std::string& Title() const { return m_title; }
    const std::string& CompleteResults() const { return m_kka; }
    // What the preparation left in the file `ext`.
    const std::string& Prepared(const std::string& ext) const { return m_files.at(ext); }
    // The prepared files back in place, no result file and no batch marker, "CALC.DAT"
    // idle.
    void Restore() const;
    // Whether the document's own files (.TYD, .DPT) are as prepared.
    bool DocumentUnchanged() const;

private:
    std::string m_tyd;
    std::string m_title;
    std::string m_kka;
    std::map<std::string, std::string> m_files;
};

std::string CalcDatPath();
// "0" CR LF, or "1" CR LF and the title CR LF: the two things a run writes there.
std::string IdleFlag();
std::string BusyFlag(const std::string& title);

}  // namespace wv::faultsuite
