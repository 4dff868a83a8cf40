// The C-linkage exports of libtydsolv.so.
#include "solver/tydsolv.h"

#include "solver/progress_box.h"
#include "solver/run_sequence.h"

#include <string>

extern "C" {

TYDSOLV_API int32_t TYDSOLV(CalcRequest* request) { return wv::solv::RunCalculation(request); }

TYDSOLV_API void TYDSOLVSTOP(void) { wv::solv::RequestStop(); }

TYDSOLV_API int32_t DISPLAYPROGRESSBOX(PBContext* ctx, void** parent, const char* caption,
                                       int32_t captionLength, double* memoryBytes, int32_t* nodeCount,
                                       int32_t* mode, int32_t* showCancel) {
    if (!ctx || !memoryBytes || !nodeCount || !mode || !showCancel) return -1;
    std::string text;
    if (caption && captionLength > 0) text.assign(caption, static_cast<std::size_t>(captionLength));
    return wv::solv::DisplayProgressBox(ctx, parent ? *parent : nullptr, text, *memoryBytes, *nodeCount,
                                        *mode, *showCancel);
}

TYDSOLV_API int32_t SETPROGRESS(PBContext* ctx, int32_t* controlId, int32_t* value) {
    if (!controlId || !value) return 1;
    return wv::solv::SetProgress(ctx, *controlId, *value);
}

TYDSOLV_API int32_t DESTROYPROGRESSBOX(PBContext* ctx, int32_t* status) {
    return wv::solv::DestroyProgressBox(ctx, status ? *status : 0);
}

}  // extern "C"
