#include "batch/version_text.h"

#include "batch/batch_messages.h"
#include "platform/sysver.h"
#include "platform/text.h"
#include "platform/ui_service.h"

namespace wv {

std::string LoadVersionText(const std::string& startFolder) {
    bool opened = false;
    const std::string version = ReadSysVer(startFolder, &opened);
    if (!opened) Ui().MessageBox(batchmsg::kNoVersion, batchmsg::kNoVersionCaption, MbButtons::Ok, MbIcon::Warning);
    return Cp932ToUtf8(version);
}

}  // namespace wv
