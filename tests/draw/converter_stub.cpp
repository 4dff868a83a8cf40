// Stands in for the converter programs: records how it was started (its arguments and
// working folder) in "stub.log" beside its job file, and writes the output file the job
// names, as a real converter would.
#include <fstream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    char cwd[4096] = {};
    if (::getcwd(cwd, sizeof cwd) == nullptr) return 9;
    std::ofstream log("stub.log");
    log << "argc=" << argc << "\n";
    for (int i = 0; i < argc; ++i) log << "argv" << i << "=" << argv[i] << "\n";
    log << "cwd=" << cwd << "\n";

    const std::string self = argv[0];
    const bool bfo = self.rfind("Shapewright", 0) == 0;
    std::ifstream job(bfo ? "bfo_conv.tmp" : "dxf_conv.tmp", std::ios::binary);
    std::string line, output;
    // DXF jobs name the output on line 4, BFO jobs on line 3.
    for (int n = 1; std::getline(job, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (n == (bfo ? 3 : 4)) output = line;
    }
    if (output.empty()) return 8;
    std::ofstream out(output, std::ios::binary);
    out << "converted\n";
    return out ? 0 : 7;
}
