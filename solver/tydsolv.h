/* TYDSOLV: the wave-transformation solver library.
 *
 * One call of TYDSOLV runs one calculation from a prepared <folder><title>.CAL to the
 * node results <folder><title>.KKA, the busy flag "CALC.DAT" and the timing file
 * "TIME.TMP" in the working folder. The library also exports the three routines of its
 * progress window. Everything else stays inside the library.
 *
 * Texts are passed as pointer and length (no terminator is looked for) and are UTF-8,
 * as file names are on this platform. Folders end in '/'.
 */
#ifndef WAVORA_SOLVER_TYDSOLV_H
#define WAVORA_SOLVER_TYDSOLV_H

#include <stdint.h>

#if defined(TYDSOLV_BUILD)
#define TYDSOLV_API __attribute__((visibility("default")))
#else
#define TYDSOLV_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The request block, owned by the caller and only read by the solver. The strings must
 * outlive the run. */
typedef struct CalcRequest {
    const char* m_pszFolder;  /* folder of the calculation files, ending in '/' */
    int32_t m_nFolderLen;
    const char* m_pszTitle;   /* file title: the base name without extension */
    int32_t m_nTitleLen;
    const char* m_pszWorkDir; /* working folder of "CALC.DAT" and "TIME.TMP", no trailing '/' */
    int32_t m_nWorkDirLen;
    int32_t m_nDirDiv;        /* direction bins; must equal the .CAL's */
    int32_t m_nFreqDiv;       /* frequency components; must equal the .CAL's */
    int32_t m_nMeshX;         /* nodes along the march direction (work storage: + 10) */
    int32_t m_nMeshY;         /* nodes across it (work storage: + 10) */
    int32_t m_nMode;          /* 0 interactive, 1 batch (no end-of-run message) */
} CalcRequest;

/* Context block of the progress window, owned by the caller of DISPLAYPROGRESSBOX. */
typedef struct PBContext {
    void* m_pDialog;           /* the window object; null when no window exists */
    void* m_pParent;           /* owner window (a QWidget*) or null */
    int32_t m_nShowCancel;     /* low bit set: the Cancel button is shown */
    int32_t m_nProgress;       /* last value given to SETPROGRESS */
    int32_t m_nParentDisabled; /* -1 when the window disabled its owner, else 0 */
    int32_t m_nCancel;         /* -1 after a Cancel click not yet reported, else 0 */
    int32_t m_nMode;           /* 0 interactive, 1 batch */
} PBContext;

/* Runs one calculation on the calling thread. 0: completed, the result file is
 * complete. 1: aborted by the user or failed; a message has been shown. */
TYDSOLV_API int32_t TYDSOLV(CalcRequest* request);

/* Asks the calculation in progress in this process to end after its current column,
 * as a cancelled run (TYDSOLV returns 1, "CALC.DAT" goes back to "0", the result file
 * keeps whole columns only), without asking the user. For a program that quits while
 * a run is active. Not part of the Windows library. */
TYDSOLV_API void TYDSOLVSTOP(void);

/* Opens the progress window. 1 when it is shown, -1 on failure. */
TYDSOLV_API int32_t DISPLAYPROGRESSBOX(PBContext* ctx, void** parent, const char* caption,
                                       int32_t captionLength, double* memoryBytes,
                                       int32_t* nodeCount, int32_t* mode, int32_t* showCancel);
/* Sets control *controlId (1000: the progress bar, 0-100) and works off pending window
 * events. 1, or -2 when Cancel was clicked since the last report. */
TYDSOLV_API int32_t SETPROGRESS(PBContext* ctx, int32_t* controlId, int32_t* value);
/* *status -1 asks whether to abort: -1 when the answer is No (the window stays).
 * Otherwise (or after Yes) closes the window, in mode 0 after the end-of-run message
 * when *status is not -1, and returns 1. */
TYDSOLV_API int32_t DESTROYPROGRESSBOX(PBContext* ctx, int32_t* status);

#ifdef __cplusplus
}
#endif

#endif
