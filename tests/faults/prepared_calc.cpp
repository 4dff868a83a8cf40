#include "tests/faults/prepared_calc.h"

#include "platform/files.h"

namespace wv::faultsuite {

namespace {

const char* const kPreparedFiles[] = {"TYD", "DPT", "CAL", "DEC"};

}  // namespace

std::string CalcDatPath() { return Here() + "CALC.DAT"; }
std::string IdleFlag() { return "0\r\n"; }
std::string BusyFlag(const std::string& title) { return "1\r\n" + title + "\r\n"; }

std::string PreparedCalc::Side(const std::string& ext) const { return SideFileName(m_tyd, ext); }

bool PreparedCalc::Prepare(PreparedCalc& out, const std::string& name, const std::string& how, double mesh,
                           std::string* err) {
    out.m_tyd = Here() + name + ".TYD";
    out.m_title = name;
    if (!Exists(CalcDatPath())) WriteFile(CalcDatPath(), IdleFlag());
    Finished f = RunDriver({how, out.m_tyd, std::to_string(mesh)});
    if (f.exitCode != 0) {
        *err = how + " failed:\n" + f.Transcript();
        return false;
    }
    for (const char* ext : kPreparedFiles) out.m_files[ext] = ReadFile(out.Side(ext));
    if (how == "prepare-batch") {
        f = RunDriver({"batch", out.Side("DEC")});
        if (f.exitCode != 0) {
            *err = "the first batch job failed:\n" + f.Transcript();
            return false;
        }
    }
    out.m_kka = ReadFile(out.Side("KKA"));
    if (out.m_kka.empty()) {
        *err = "the first run left no result file";
        return false;
    }
    out.Restore();
    return true;
}

void PreparedCalc::Restore() const {
    for (const auto& [ext, bytes] : m_files)
        if (ReadFile(Side(ext)) != bytes) WriteFile(Side(ext), bytes);
    Remove(Side("KKA"));
    Remove(Side("YNO"));
    if (ReadFile(CalcDatPath()) != IdleFlag()) WriteFile(CalcDatPath(), IdleFlag());
}

bool PreparedCalc::DocumentUnchanged() const {
    return ReadFile(Side("TYD")) == m_files.at("TYD") && ReadFile(Side("DPT")) == m_files.at("DPT");
}

}  // namespace wv::faultsuite
