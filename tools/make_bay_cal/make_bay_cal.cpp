// Writes the bundled example: a sloping bay with a shoal.
//   make_bay_cal <out.CAL> [--nx N] [--ny N]
#include "platform/files.h"
#include "tools/make_bay_cal/bay_depth.h"
#include "tools/make_bay_cal/cal_writer.h"
#include "tools/tool_args.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kUsage[] = "usage: make_bay_cal <out.CAL> [--nx N] [--ny N]\n";

}  // namespace

int main(int argc, char** argv) {
    if (const int code = wv::tools::CheckToolArgs(argc, argv, kUsage, {{"--nx", 1}, {"--ny", 1}}); code >= 0)
        return code;
    if (argc < 2 || argv[1][0] == '-') {
        std::fputs(kUsage, stderr);
        return 2;
    }
    wv::tools::BayShape shape;
    for (int a = 2; a + 1 < argc; a += 2) {
        if (std::strcmp(argv[a], "--nx") == 0) shape.nx = std::atoi(argv[a + 1]);
        else if (std::strcmp(argv[a], "--ny") == 0) shape.ny = std::atoi(argv[a + 1]);
    }
    if (shape.nx < 2 || shape.ny < 2 || shape.nx > 9999 || shape.ny > 9999) {
        std::fprintf(stderr, "make_bay_cal: node counts must be 2 to 9999\n");
        return 2;
    }
    wv::tools::CalCase calCase;
    calCase.nx = shape.nx;
    calCase.ny = shape.ny;
    calCase.dx = calCase.dy = shape.spacing;
    calCase.period = 8.0;
    calCase.height = 2.0;
    calCase.theta0Deg = 15.0;
    calCase.breaking = 1;
    const std::string text =
        wv::tools::MakeCalText(calCase, [&](int i, int j) { return wv::tools::BayDepth(shape, i, j); });
    std::string err;
    if (!wv::AtomicWriteFile(argv[1], text, &err)) {
        std::fprintf(stderr, "make_bay_cal: %s\n", err.c_str());
        return 1;
    }
    std::printf("wrote %s (%d x %d nodes)\n", argv[1], shape.nx, shape.ny);
    return 0;
}
