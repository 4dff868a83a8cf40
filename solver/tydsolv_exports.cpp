// The C-linkage exports of libtydsolv.so. No exception may leave them: the callers are C
// programs and thread procedures, for which an exception ends the process. The run
// catches its own failures with their messages (RunCalculation); the catches here are
// the last guard.
#include "solver/tydsolv.h"

#include "solver/progress_box.h"
#include "solver/run_sequence.h"

#include <string>

extern "C" {

TYDSOLV_API int32_t TYDSOLV(CalcRequest* request) {
    try {
        return wv::solv::RunCalculation(request);
    } catch (...) {
        return 1;
    }
}

TYDSOLV_API void TYDSOLVSTOP(void) { wv::solv::RequestStop(); }

TYDSOLV_API int32_t DISPLAYPROGRESSBOX(PBContext* ctx, void** parent, const char* caption,
                                       int32_t captionLength, double* memoryBytes, int32_t* nodeCount,
                                       int32_t* mode, int32_t* showCancel) {
    if (!ctx || !memoryBytes || !nodeCount || !mode || !showCancel) return -1;
    std::string text;
    try {
        if (caption && captionLength > 0) text.assign(caption, static_cast<std::size_t>(captionLength));
    } catch (...) {
        return -1;
    }
    try {
        return wv::solv::DisplayProgressBox(ctx, parent ? *parent : nullptr, text, *memoryBytes, *nodeCount,
                                            *mode, *showCancel);
    } catch (...) {
        // The context was reset first thing, so it names the window if one was made.
        wv::solv::CloseProgressBoxSilently(ctx);
        return -1;
    }
}

TYDSOLV_API int32_t SETPROGRESS(PBContext* ctx, int32_t* controlId, int32_t* value) {
    if (!controlId || !value) return 1;
    try {
        return wv::solv::SetProgress(ctx, *controlId, *value);
    } catch (...) {
        return 1;
    }
}

TYDSOLV_API int32_t DESTROYPROGRESSBOX(PBContext* ctx, int32_t* status) {
    try {
        return wv::solv::DestroyProgressBox(ctx, status ? *status : 0);
    } catch (...) {
        wv::solv::CloseProgressBoxSilently(ctx);
        return 1;
    }
}

}  // extern "C"
