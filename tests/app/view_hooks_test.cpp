// The hooks with a default body that the engine and the framework leave to the program's
// windows: every hook on a class's list is overridden by the real window class (not by a
// test's stand-in), and every virtual with a default body in those classes is on a list,
// so a hook added later cannot go without its override unnoticed. A default left in place
// compiles and runs quietly; only this check tells.
//
// The lists stand beside the declarations (WV_..._HOOKS). Covered:
//   CTydViewData      -> CTydView            PostResultListRefresh, SetMouseMode, RedrawAll,
//                                            ResultsReading
//   TydViewHost       -> TydScrollView       ModeChanged, WaitCursor, ResultsLoading,
//                                            PostResultListRefresh
//   CView             -> TydScrollView, CTikView    OnInitialUpdate, OnActivateView
//   CScrollView       -> TydScrollView, CTikView    OnDraw and the mouse (the calculation
//                                                   view also its keys)
//   ResultListHost    -> QtResultListHost    Refresh
//   CCalcProgressDlg  -> CQtCalcProgressDlg  PumpMessages and the four On... changes
//   BatchRowSink      -> CTydchainWindow     SolverRunning
//   AppHost           -> QtAppHost           DestroyMainWindow
//   CMDIFrameWnd      -> CMainFrame          OnActiveChildChanged
// TikEditHost, DigitizerHost and ResultListView have pure hooks only; they are scanned so
// that a default body given to one of them must be listed too.
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "project/qt/tik_view.h"
#include "app/main_frame.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/wavora_app.h"
#include "batch/qt/tydchain_window.h"
#include "calcdoc/qt/calc_dialogs_qt.h"
#include "core/qt/calc_progress_qt.h"
#include "platform/files.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace wv {
namespace {

// The class that declares a member function, from the type of its address.
template <class M> struct MemberClassOf;
template <class C, class R, class... A> struct MemberClassOf<R (C::*)(A...)> { using type = C; };
template <class C, class R, class... A> struct MemberClassOf<R (C::*)(A...) const> { using type = C; };
template <class C, class R, class... A> struct MemberClassOf<R (C::*)(A...) noexcept> { using type = C; };
template <class C, class R, class... A> struct MemberClassOf<R (C::*)(A...) const noexcept> { using type = C; };
template <class M> using MemberClass = typename MemberClassOf<M>::type;

struct Override {
    std::string real;
    std::string hook;
    bool overridden;
};

// Whether `Real` itself declares `name`. The probe derives from it so that protected
// hooks can be named too; it is never made.
#define WV_OVERRIDE_ROW(Real, Base, name)                                               \
    [] {                                                                                \
        struct Probe : Real {                                                           \
            static constexpr bool Declared() {                                          \
                return std::is_same_v<MemberClass<decltype(&Probe::name)>, Real>;       \
            }                                                                           \
        };                                                                              \
        return Override{#Real, #Base "::" #name, Probe::Declared()};                    \
    }(),

#define WV_CALC_VIEW_ROW(name) WV_OVERRIDE_ROW(CTydView, CTydViewData, name)
#define WV_CALC_WINDOW_ROW(name) WV_OVERRIDE_ROW(TydScrollView, TydViewHost, name)
#define WV_CALC_WINDOW_VIEW_ROW(name) WV_OVERRIDE_ROW(TydScrollView, CView, name)
#define WV_CALC_WINDOW_SCROLL_ROW(name) WV_OVERRIDE_ROW(TydScrollView, CScrollView, name)
#define WV_PROJECT_VIEW_ROW(name) WV_OVERRIDE_ROW(CTikView, CView, name)
#define WV_PROJECT_SCROLL_ROW(name) WV_OVERRIDE_ROW(CTikView, CScrollView, name)
#define WV_RESULT_LIST_ROW(name) WV_OVERRIDE_ROW(QtResultListHost, ResultListHost, name)
#define WV_PROGRESS_ROW(name) WV_OVERRIDE_ROW(CQtCalcProgressDlg, CCalcProgressDlg, name)
#define WV_BATCH_ROW(name) WV_OVERRIDE_ROW(CTydchainWindow, BatchRowSink, name)
#define WV_APP_HOST_ROW(name) WV_OVERRIDE_ROW(QtAppHost, AppHost, name)
#define WV_MAIN_FRAME_ROW(name) WV_OVERRIDE_ROW(CMainFrame, CMDIFrameWnd, name)

std::vector<Override> Overrides() {
    return {
        WV_TYD_VIEW_DATA_HOOKS(WV_CALC_VIEW_ROW)
        WV_TYD_VIEW_HOST_HOOKS(WV_CALC_WINDOW_ROW)
        WV_VIEW_HOOKS(WV_CALC_WINDOW_VIEW_ROW)
        WV_SCROLL_VIEW_HOOKS(WV_CALC_WINDOW_SCROLL_ROW)
        // Escape in the calculation view goes to the result list.
        WV_CALC_WINDOW_SCROLL_ROW(OnKeyDown)
        WV_VIEW_HOOKS(WV_PROJECT_VIEW_ROW)
        WV_SCROLL_VIEW_HOOKS(WV_PROJECT_SCROLL_ROW)
        WV_RESULT_LIST_HOST_HOOKS(WV_RESULT_LIST_ROW)
        WV_CALC_PROGRESS_HOOKS(WV_PROGRESS_ROW)
        WV_BATCH_ROW_SINK_HOOKS(WV_BATCH_ROW)
        WV_APP_HOST_HOOKS(WV_APP_HOST_ROW)
        WV_MDI_FRAME_HOOKS(WV_MAIN_FRAME_ROW)
    };
}

TEST(ViewHooks, EveryListedHookIsOverriddenByTheRealClass) {
    const std::vector<Override> rows = Overrides();
    EXPECT_GE(rows.size(), 30u);
    for (const Override& r : rows) EXPECT_TRUE(r.overridden) << r.real << " does not override " << r.hook;
}

// ---- every hook is on a list ---------------------------------------------------------

std::string WithoutComments(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 2, "//") == 0) {
            while (i < s.size() && s[i] != '\n') ++i;
            out += '\n';
        } else if (s.compare(i, 2, "/*") == 0) {
            const std::size_t end = s.find("*/", i + 2);
            i = end == std::string::npos ? s.size() : end + 1;
            out += ' ';
        } else {
            out += s[i];
        }
    }
    return out;
}

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The text between the braces of `class name`'s definition; empty when there is none.
std::string ClassBody(const std::string& text, const std::string& name) {
    const std::string key = "class " + name;
    for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        const std::size_t after = at + key.size();
        if (after < text.size() && IsWordChar(text[after])) continue;
        const std::size_t stop = text.find_first_of(";{", after);
        if (stop == std::string::npos || text[stop] == ';') continue;  // a declaration
        int depth = 0;
        for (std::size_t i = stop; i < text.size(); ++i) {
            if (text[i] == '{') ++depth;
            if (text[i] == '}' && --depth == 0) return text.substr(stop + 1, i - stop - 1);
        }
    }
    return {};
}

// The virtual member functions declared with a body of their own (destructors aside).
std::set<std::string> VirtualsWithBodies(const std::string& body) {
    std::set<std::string> names;
    const std::string key = "virtual";
    for (std::size_t at = body.find(key); at != std::string::npos; at = body.find(key, at + 1)) {
        if ((at > 0 && IsWordChar(body[at - 1])) || IsWordChar(body[at + key.size()])) continue;
        const std::size_t open = body.find('(', at);
        if (open == std::string::npos) break;
        const std::string head = body.substr(at, open - at);
        if (head.find('~') != std::string::npos) continue;
        std::size_t nameEnd = open;
        while (nameEnd > at && std::isspace(static_cast<unsigned char>(body[nameEnd - 1]))) --nameEnd;
        std::size_t nameStart = nameEnd;
        while (nameStart > at && IsWordChar(body[nameStart - 1])) --nameStart;
        int depth = 0;
        std::size_t close = open;
        for (; close < body.size(); ++close) {
            if (body[close] == '(') ++depth;
            if (body[close] == ')' && --depth == 0) break;
        }
        const std::size_t end = body.find_first_of(";{=", close);
        if (end != std::string::npos && body[end] == '{') names.insert(body.substr(nameStart, nameEnd - nameStart));
    }
    return names;
}

#define WV_NAME_OF(name) #name,

struct HookClass {
    const char* header;
    const char* name;
    std::set<std::string> listed;
};

TEST(ViewHooks, EveryVirtualWithADefaultBodyIsListed) {
    const std::vector<HookClass> classes = {
        {"calc/calc_doc_data.h", "CTydViewData", {WV_TYD_VIEW_DATA_HOOKS(WV_NAME_OF)}},
        {"calcview/tyd_view.h", "TydViewHost", {WV_TYD_VIEW_HOST_HOOKS(WV_NAME_OF)}},
        {"platform/view.h", "CView", {WV_VIEW_HOOKS(WV_NAME_OF) WV_VIEW_OPTIONAL_HOOKS(WV_NAME_OF)}},
        {"platform/qt/scroll_view.h", "CScrollView",
         {WV_SCROLL_VIEW_HOOKS(WV_NAME_OF) WV_SCROLL_VIEW_OPTIONAL_HOOKS(WV_NAME_OF)}},
        {"calcdoc/result_list_dlg.h", "ResultListHost", {WV_RESULT_LIST_HOST_HOOKS(WV_NAME_OF)}},
        {"calcdoc/result_list_dlg.h", "ResultListView", {}},
        {"core/calc_progress.h", "CCalcProgressDlg", {WV_CALC_PROGRESS_HOOKS(WV_NAME_OF)}},
        {"batch/batch_queue.h", "BatchRowSink", {WV_BATCH_ROW_SINK_HOOKS(WV_NAME_OF)}},
        {"app/wavora_app.h", "AppHost", {WV_APP_HOST_HOOKS(WV_NAME_OF)}},
        {"platform/frame.h", "CMDIFrameWnd", {WV_MDI_FRAME_HOOKS(WV_NAME_OF)}},
        {"project/tik_edit_state.h", "TikEditHost", {}},
        {"project/digitizer_reader.h", "DigitizerHost", {}},
    };
    for (const HookClass& c : classes) {
        std::string text;
        ASSERT_TRUE(ReadWholeFile(std::string(WAVORA_SOURCE_DIR) + "/" + c.header, text, nullptr)) << c.header;
        const std::string body = ClassBody(WithoutComments(text), c.name);
        ASSERT_FALSE(body.empty()) << "no class " << c.name << " in " << c.header;
        const std::set<std::string> found = VirtualsWithBodies(body);
        for (const std::string& f : found)
            EXPECT_TRUE(c.listed.count(f)) << c.name << "::" << f << " has a default body but is on no list in "
                                           << c.header;
        // A list names only what is there: a hook that became pure or went leaves it.
        for (const std::string& l : c.listed)
            EXPECT_TRUE(found.count(l)) << c.name << "::" << l << " is listed but has no default body";
    }
}

TEST(ViewHooks, TheScanFindsDefaultBodiesOnly) {
    const std::string body = WithoutComments(
        "class X {\n"
        "    virtual ~X() = default;\n"
        "    virtual void Pure(int a) = 0;\n"
        "    virtual void Empty() {}  // virtual void InComment() {}\n"
        "    virtual int Defaulted(int a = int{}) const { return a; }\n"
        "    virtual void Outside();\n"
        "    void Plain() {}\n"
        "};\n");
    EXPECT_EQ(VirtualsWithBodies(ClassBody(body, "X")), (std::set<std::string>{"Empty", "Defaulted"}));
    EXPECT_TRUE(ClassBody("class X;\nclass XY { int a; };", "X").empty());
}

}  // namespace
}  // namespace wv
