#include "project/qt/tik_view.h"

#include "core/shell_frame.h"
#include "draw/qt/mode_cursor_qt.h"
#include "platform/command_table.h"
#include "platform/document.h"
#include "platform/qt/dialog_host.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/scroll_view_widget.h"
#include "platform/status_bar.h"
#include "platform/window_messages.h"
#include "project/digi_read_set_dlg.h"
#include "project/qt/digitizer_dialogs_qt.h"
#include "project/qt/import_ui_qt.h"
#include "project/terrain_import.h"

#include <QAbstractScrollArea>
#include <QMenu>
#include <QWidget>

namespace wv {

namespace {

bool g_popupsShown = true;

constexpr int kPanePosition = 59143;
constexpr int kPanePrompt = 59144;

enum : int {
    kImportDxf2D = 32785, kImportDxf3D = 32896, kImportCsvPoints = 32786,
    kImportCsvLines = 32895, kImportTik = 32787, kImportQsona = 32891,
    kDigiSetup = 32788, kDigiPoints = 32789, kDigiLines = 32790, kDigiPort = 32791,
};

}  // namespace

void CTikView::SetPopupsShown(bool shown) { g_popupsShown = shown; }

CTikView::CTikView(CStatusBar* statusBar)
    : m_statusBar(statusBar), m_editor(*this), m_digitizer(*this, GuiDigitizerPoster()) {
    for (int id : CTikEditor::CommandIds()) {
        OnCommand(id, [this, id] {
            SyncClientSize();
            m_editor.OnCommand(id);
            UpdatePanes();
        });
    }
    OnCommand(kDigiSetup, [this] { m_digitizer.OnDigitizerSetup(); });
    OnCommand(kDigiPoints, [this] { m_digitizer.OnReadPoints(); UpdatePanes(); });
    OnCommand(kDigiLines, [this] {
        m_editor.State().ClearRubberBand();
        m_digitizer.OnReadLines();
        UpdatePanes();
    });
    OnCommand(kDigiPort, [this] { m_digitizer.OnPortSettings(); });
    for (int id : {kImportDxf2D, kImportDxf3D, kImportCsvPoints, kImportCsvLines, kImportTik, kImportQsona})
        OnCommand(id, [this, id] { Import(id); });
    m_editor.m_onReset = [this] { m_digitizer.EndChain(); };
}

CTikView::~CTikView() = default;

QWidget* CTikView::Widget() const { return dynamic_cast<QWidget*>(GetHost()); }

void CTikView::SyncClientSize() {
    const CSizeI c = GetClientSize();
    m_editor.OnSize(c.cx, c.cy);
}

void CTikView::UpdatePanes() {
    if (QWidget* w = Widget()) {
        auto* area = dynamic_cast<QAbstractScrollArea*>(w);
        SetModeCursor(area ? area->viewport() : w, m_editor.State().m_nMode);
    }
    if (!m_statusBar) return;
    const int pos = m_statusBar->CommandToIndex(kPanePosition);
    const int prompt = m_statusBar->CommandToIndex(kPanePrompt);
    if (pos >= 0) m_statusBar->SetPaneText(pos, m_editor.PositionText());
    if (prompt >= 0) m_statusBar->SetPaneText(prompt, m_editor.PromptText());
}

void CTikView::OnInitialUpdate() {
    SetScrollSizes({30000, 30000}, {200, 200}, {50, 50});
    SyncClientSize();
    m_editor.OnInitialUpdate();
    UpdatePanes();
}

void CTikView::OnActivateView(bool activate) {
    if (activate)
        if (CShellFrame* main = CShellFrame::Of(this))
            if (ResultListProvider* list = main->GetResultListProvider()) list->Post(WM_RESULTLIST_CLOSE);
    CScrollView::OnActivateView(activate);
}

void CTikView::OnDraw(QImage& image) {
    SyncClientSize();
    // Client coordinates: the figure routines subtract the scroll position themselves.
    CQtDC dc(&image);
    m_editor.Draw(&dc);
}

void CTikView::OnLButtonDown(unsigned flags, CPointI client) {
    SyncClientSize();
    m_editor.OnLButtonDown(flags, client.x, client.y);
    UpdatePanes();
}

void CTikView::OnLButtonUp(unsigned flags, CPointI client) {
    m_editor.OnLButtonUp(flags, client.x, client.y);
    UpdatePanes();
}

void CTikView::OnRButtonDown(unsigned flags, CPointI client) {
    m_editor.OnRButtonDown(flags, client.x, client.y);
    UpdatePanes();
}

void CTikView::OnMouseMove(unsigned flags, CPointI client) {
    m_editor.OnMouseMove(flags, client.x, client.y);
    UpdatePanes();
}

int CTikView::Ask(const std::string& text, const std::string& caption, MbButtons buttons, MbIcon icon) {
    return Ui().MessageBox(text, caption, buttons, icon);
}

int CTikView::RunDialog(CDialogModel& dlg) {
    DialogHost host(dlg, Widget());
    return host.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

CDC* CTikView::BeginMarks() {
    if (m_markDepth++ == 0) m_markDC = std::make_unique<CQtDC>(&CurrentWindowImage());
    return m_markDC.get();
}

void CTikView::EndMarks() {
    if (m_markDepth == 0 || --m_markDepth > 0) return;
    m_markDC.reset();
    const CSizeI c = GetClientSize();
    InvalidateClientRect(QRect(0, 0, c.cx, c.cy));
}

void CTikView::RedrawAll() { CScrollView::RedrawAll(); }

void CTikView::SetModified() {
    if (CDocument* doc = GetDocument()) doc->SetModifiedFlag(true);
}

void CTikView::ShowLinePopup(const std::string& text, int clientX, int clientY) {
    m_lastPopup = text;
    QWidget* w = Widget();
    if (!w || !g_popupsShown) return;
    auto* area = dynamic_cast<QAbstractScrollArea*>(w);
    QWidget* vp = area ? area->viewport() : w;
    QMenu menu(w);
    // Choosing the item does nothing: the menu only shows the line's meaning.
    menu.addAction(QString::fromUtf8(text.c_str()));
    menu.exec(vp->mapToGlobal(QPoint(clientX, clientY)));
}

void CTikView::SetMouseMode(int mode) {
    m_editor.State().m_nMode = mode;
    UpdatePanes();
}

void CTikView::FitAllAndRedraw() {
    SyncClientSize();
    m_editor.FitToWindow();
}

bool CTikView::RunReadSetDialog(CDigiReadSetDlg& dlg) { return RunDigiReadSetDialog(dlg, Widget()); }

void CTikView::RunPortSettingsDialog() {
    if (CProfile* p = DigitizerProfile()) RunSerialPortDialog(*p, Widget());
}

void CTikView::Import(int command) {
    // The import dialogs run like every other dialog of the view.
    std::unique_ptr<ImportUi> ui = MakeImportUi([this](CDialogModel& dlg) { return RunDialog(dlg); });
    ImportReport r;
    switch (command) {
    case kImportDxf2D: r = ImportDxf(*ui, DxfMode::Plane); break;
    case kImportDxf3D: r = ImportDxf(*ui, DxfMode::ThreeD); break;
    case kImportCsvPoints: r = ImportCsvPoints(*ui); break;
    case kImportCsvLines: r = ImportCsvLines(*ui); break;
    case kImportTik: r = ImportTik(*ui); break;
    case kImportQsona: r = ImportQsona(*ui); break;
    default: return;
    }
    if (r.status != ImportStatus::Imported) return;
    if (command == kImportTik) {
        // Another project's tables replace these: nothing picked or selected survives.
        TikEditState& s = m_editor.State();
        s.m_nPoint1 = s.m_nPoint2 = s.m_nSelPoint = s.m_nSelIndex = s.m_nCalcPointSel = -1;
        s.m_lineSel = SlotFlags{};
        s.m_pointSel = SlotFlags{};
        g_pAreaPolygon.reset();
        s.m_nMode = s.m_nSavedMode = 0;
        s.m_coord.SetAngle(g_tikInf.m_dRotation);
    }
    SetModified();
    SyncClientSize();
    m_editor.FitToWindow();
    UpdatePanes();
}

void RegisterProjectViewCommands(CommandTable& t, int menuId, const std::string& beforePopup) {
    struct Row { int id; const char* text; const char* prompt; };
    const Row rows[] = {
        {32777, "拡大", "図を拡大して表示します"}, {32778, "縮小", "図を縮小して表示します"},
        {32779, "全体", "図の全体を表示します"}, {32780, "再表示", "図を描き直します"},
        {32781, "回転", "画面を回転します"}, {32868, "計測", "2点間の距離を計測します"},
        {32782, "設定(&S)", "地形条件を設定します"},
        {32783, "点追加", "測点を追加します"}, {32784, "線追加", "線分を追加します"},
        {32792, "座標指定", "座標を指定して測点を追加します"}, {32793, "交点", "2線分の交点を追加します"},
        {32794, "伸縮点", "線分の延長上に測点を追加します"}, {32795, "垂直点", "垂線の足に測点を追加します"},
        {32796, "角度・距離指定", "角度と距離で測点を追加します"}, {32797, "結線", "測点を線分で結びます"},
        {32798, "分割", "線分を分割します"}, {32799, "合成", "2線分を合成します"},
        {32800, "端点変更", "線分の端点を変更します"}, {32801, "削除", "線分を削除します"},
        {32802, "領域内削除", "領域内の線分を削除します"}, {32803, "座標移動", "測点を座標で移動します"},
        {32804, "ﾏｳｽ移動", "測点をﾏｳｽで移動します"}, {32805, "伸縮移動", "測点を線分方向に移動します"},
        {32806, "削除", "測点を削除します"}, {32807, "領域内削除", "領域内の測点を削除します"},
        {32808, "設定", "水深線を設定します"}, {32809, "解除", "水深線を解除します"},
        {32810, "領域内解除", "領域内の水深線を解除します"},
        {32904, "単設定", "地形線を設定します"}, {32811, "連設定(有効/無効)", "連続する地形線を設定します"},
        {32905, "連設定(地盤高)", "連続する地形線を地盤高で設定します"}, {32902, "単解除", "地形線を解除します"},
        {32903, "連解除", "連続する地形線を解除します"}, {32813, "領域内解除", "領域内の地形線を解除します"},
        {32906, "単設定", "補助線を設定します"}, {32907, "連設定", "連続する補助線を設定します"},
        {32908, "単解除", "補助線を解除します"}, {32909, "連解除", "連続する補助線を解除します"},
        {32816, "領域内解除", "領域内の補助線を解除します"},
        {32817, "設定", "ﾌﾞﾛｯｸを設定します"}, {32818, "解除", "ﾌﾞﾛｯｸを解除します"},
        {32820, "ﾏｳｽ追加", "算出点をﾏｳｽで追加します"}, {32821, "ﾏｳｽ移動", "算出点をﾏｳｽで移動します"},
        {32822, "座標追加", "算出点を座標で追加します"}, {32823, "座標移動", "算出点を座標で移動します"},
        {32824, "削除", "算出点を削除します"}, {32864, "全削除", "算出点をすべて削除します"},
        {32788, "読取図面設定", "デジタイザの読取図面を設定します"}, {32789, "点読取", "デジタイザで点を読み取ります"},
        {32790, "線読取", "デジタイザで線を読み取ります"}, {32791, "ｼﾘｱﾙﾎﾟｰﾄ設定", "シリアルポートを設定します"},
        {32785, "2D DXF", "2D DXFﾌｧｲﾙから要素入力"}, {32896, "3D DXF", "3D DXFﾌｧｲﾙから要素入力"},
        {32786, "点", "CSVﾌｧｲﾙから点入力"}, {32895, "連続線", "CSVﾌｧｲﾙから連続線入力"},
        {32787, "TIKﾌｧｲﾙ読込み", "他ﾌﾟﾛｼﾞｪｸﾄのTIKﾌｧｲﾙから要素入力"},
        {32891, "Q-SONAﾌｧｲﾙ読込み", "Q-SONAﾌｧｲﾙから要素入力"},
    };
    for (const Row& r : rows) {
        // The zoom commands share the toolbar's rows.
        if (t.Find(r.id) && r.id >= 32777 && r.id <= 32780) continue;
        t.Add({r.id, r.text, r.prompt, "", "", false});
    }
    using Item = MenuItem;
    auto popup = [](const char* title, std::vector<int> ids) {
        Item p;
        p.kind = Item::Kind::Popup;
        p.text = title;
        for (int id : ids) p.items.push_back(id ? Item::Command(id) : Item::Separator());
        return p;
    };
    std::vector<MenuPopup> mine = {
        {"入力(&I)",
         {popup("点", {32783, 32792, 0, 32793, 32794, 32795, 32796}), popup("線", {32784, 32797}),
          popup("ﾌｧｲﾙ入力", {32785, 32896, 0, 32786, 32895, 0, 32787, 32891}),
          popup("ﾃﾞｼﾞﾀｲｻﾞ", {32788, 32789, 32790, 0, 32791})}},
        {"編集(&E)",
         {popup("線", {32798, 32799, 32800, 0, 32801, 32802}),
          popup("点", {32803, 32804, 32805, 0, 32806, 32807})}},
        {"属性(&A)",
         {popup("水深線", {32808, 32809, 32810}), popup("地形線", {32904, 32811, 32905, 0, 32902, 32903, 32813}),
          popup("補助線", {32906, 32907, 0, 32908, 32909, 32816}), popup("ﾌﾞﾛｯｸ", {32817, 32818})}},
        {"算出点(&O)", {Item::Command(32820), Item::Command(32821), Item::Separator(), Item::Command(32822),
                        Item::Command(32823), Item::Separator(), Item::Command(32824), Item::Command(32864)}},
        {"地形(&T)", {Item::Command(32777), Item::Command(32778), Item::Command(32779), Item::Command(32780),
                      Item::Separator(), Item::Command(32781), Item::Command(32868), Item::Separator(),
                      Item::Command(32782)}},
    };
    MenuDef& menu = t.Menu(menuId);
    for (const MenuPopup& p : menu.popups)
        if (p.title == mine.front().title) return;  // registered already
    auto at = menu.popups.end();
    for (auto it = menu.popups.begin(); it != menu.popups.end(); ++it)
        if (it->title == beforePopup) { at = it; break; }
    menu.popups.insert(at, mine.begin(), mine.end());
}

}  // namespace wv
