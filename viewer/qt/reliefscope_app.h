// Reliefscope's start-up and event loop; main() only calls it.
#pragma once

namespace wv {

int ReliefscopeMain(int argc, char** argv);

}  // namespace wv
