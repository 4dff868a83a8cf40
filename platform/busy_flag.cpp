#include "platform/busy_flag.h"

#include "platform/text.h"

namespace wv {

bool WriteBusyFlag(const std::string& path, const std::string& titleUtf8, std::string* err) {
    TextWriter w;
    w.Line("1");
    w.Line(Utf8ToCp932(titleUtf8));
    return w.Save(path, err);
}

bool WriteIdleFlag(const std::string& path, std::string* err) {
    TextWriter w;
    w.Line("0");
    return w.Save(path, err);
}

}  // namespace wv
