// Tydchain: runs the solver over a queue of calculations prepared by the main program.
#include "batch/qt/tydchain_window.h"
#include "solver/tydsolv.h"

int main(int argc, char** argv) { return wv::TydchainMain(argc, argv, &TYDSOLV); }
