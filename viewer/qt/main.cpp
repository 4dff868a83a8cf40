// Reliefscope: shows a Q-SONA bathymetry file and writes an area of it as Q-SONA or as a
// 3D DXF drawing.
#include "viewer/qt/reliefscope_app.h"

int main(int argc, char** argv) { return wv::ReliefscopeMain(argc, argv); }
