// "PARAINI.DAT", the defaults of new calculations. Whatever the file holds, a new
// calculation made from the defaults it leaves opens again once saved.
#include "fuzz_support.h"

#include "calcdoc/tyd_doc.h"
#include "core/cal_area.h"
#include "core/param_file.h"
#include "core/sansyutu.h"
#include "core/tyd_inf.h"
#include "core/zmn_inf.h"
#include "platform/ui_service.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace wv;
    const std::string& dir = fuzz::Scratch();
    fuzz::SilentUi().Clear();
    g_calcPoints.Reset();
    g_tydInfDefault = CTyd_Inf();
    g_zmnInfDefault = CZmn_Inf();
    g_calcAreaDefault = CCalArea();
    fuzz::WriteFile(dir + kParamFileName, data, size);
    LoadDefaultsFile();

    {
        CTydDoc made;
        fuzz::Check(made.OnNewDocument(), "a new calculation is made");
        fuzz::Check(made.OnSaveDocument(dir + "NEW.TYD"), "a new calculation saves");
    }
    CTydDoc reopened;
    fuzz::Check(reopened.OnOpenDocument(dir + "NEW.TYD"), "a new calculation from the defaults reopens once saved");

    // Written at exit, the defaults still make calculations that open.
    fuzz::Check(SaveDefaultsFile(), "the defaults file is written");
    return 0;
}
