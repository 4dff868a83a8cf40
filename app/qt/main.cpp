// Wavora: the desktop program. The command line opens nothing: the program starts empty.
#include "app/qt/app_main.h"

int main(int argc, char** argv) { return wv::RunWavora(argc, argv); }
