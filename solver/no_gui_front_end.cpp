// Built when Qt is not available: the solver is always headless.
#include "solver/gui_front_end.h"

namespace wv::solv {

GuiFrontEnd* GuiFrontEnd::Active() { return nullptr; }

}  // namespace wv::solv
