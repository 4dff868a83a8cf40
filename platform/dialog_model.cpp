#include "dialog_model.h"

#include "data_exchange.h"

namespace wv {

CDialogModel::CDialogModel(int templateId, std::string caption, int widthDlu, int heightDlu)
    : m_templateId(templateId), m_caption(std::move(caption)), m_width(widthDlu), m_height(heightDlu) {}

const DialogControl* CDialogModel::Find(int id) const {
    if (id == -1) return nullptr;
    for (const DialogControl& c : m_controls)
        if (c.id == id) return &c;
    return nullptr;
}

DialogControl* CDialogModel::Find(int id) {
    return const_cast<DialogControl*>(static_cast<const CDialogModel*>(this)->Find(id));
}

std::string CDialogModel::GetText(int id) const {
    const DialogControl* c = Find(id);
    return c ? c->text : std::string();
}

void CDialogModel::SetText(int id, const std::string& utf8) {
    if (DialogControl* c = Find(id)) c->text = utf8;
}

int CDialogModel::GetCheck(int id) const {
    const DialogControl* c = Find(id);
    return c ? c->check : 0;
}

void CDialogModel::SetCheck(int id, int check) {
    if (DialogControl* c = Find(id)) c->check = check ? 1 : 0;
}

int CDialogModel::GetIndex(int id) const {
    const DialogControl* c = Find(id);
    return c ? c->index : -1;
}

void CDialogModel::SetIndex(int id, int index) {
    DialogControl* c = Find(id);
    if (!c) return;
    // A list cannot show an entry it does not have: such an index selects nothing.
    const std::size_t count = c->kind == ControlKind::ListView ? c->rows.size() : c->items.size();
    c->index = index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
}

bool CDialogModel::IsEnabled(int id) const {
    const DialogControl* c = Find(id);
    return c && c->enabled;
}

void CDialogModel::Enable(int id, bool enabled) {
    if (DialogControl* c = Find(id)) c->enabled = enabled;
}

bool CDialogModel::IsVisible(int id) const {
    const DialogControl* c = Find(id);
    return c && c->visible;
}

void CDialogModel::Show(int id, bool visible) {
    if (DialogControl* c = Find(id)) c->visible = visible;
}

void CDialogModel::SetByteLimit(int id, int bytes) {
    if (DialogControl* c = Find(id)) c->byteLimit = bytes;
}

namespace {

DialogControl* ListViewOf(CDialogModel& dlg, int id) {
    DialogControl* c = dlg.Find(id);
    return c && c->kind == ControlKind::ListView ? c : nullptr;
}

}  // namespace

void CDialogModel::DeleteAllRows(int id) {
    DialogControl* c = ListViewOf(*this, id);
    if (!c) return;
    c->rows.clear();
    c->index = -1;
    ++c->rowsVersion;
}

int CDialogModel::AddRow(int id, std::vector<std::string> cells) {
    DialogControl* c = ListViewOf(*this, id);
    if (!c) return -1;
    c->rows.push_back(std::move(cells));
    ++c->rowsVersion;
    return static_cast<int>(c->rows.size()) - 1;
}

void CDialogModel::InsertRow(int id, int at, std::vector<std::string> cells) {
    DialogControl* c = ListViewOf(*this, id);
    if (!c) return;
    const int n = static_cast<int>(c->rows.size());
    if (at < 0 || at > n) at = n;
    c->rows.insert(c->rows.begin() + at, std::move(cells));
    if (c->index >= at) ++c->index;
    ++c->rowsVersion;
}

void CDialogModel::DeleteRow(int id, int row) {
    DialogControl* c = ListViewOf(*this, id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return;
    c->rows.erase(c->rows.begin() + row);
    // The current row stays on the same text; deleting it leaves no current row.
    if (c->index == row) c->index = -1;
    else if (c->index > row) --c->index;
    ++c->rowsVersion;
}

int CDialogModel::RowCount(int id) const {
    const DialogControl* c = Find(id);
    return c && c->kind == ControlKind::ListView ? static_cast<int>(c->rows.size()) : 0;
}

std::string CDialogModel::GetCell(int id, int row, int column) const {
    const DialogControl* c = Find(id);
    if (!c || c->kind != ControlKind::ListView || row < 0 || row >= static_cast<int>(c->rows.size())) return {};
    const auto& cells = c->rows[static_cast<std::size_t>(row)];
    return column >= 0 && column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)]
                                                                   : std::string();
}

void CDialogModel::SetCell(int id, int row, int column, const std::string& utf8) {
    DialogControl* c = ListViewOf(*this, id);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0) return;
    auto& cells = c->rows[static_cast<std::size_t>(row)];
    if (cells.size() <= static_cast<std::size_t>(column)) cells.resize(static_cast<std::size_t>(column) + 1);
    cells[static_cast<std::size_t>(column)] = utf8;
    ++c->rowsVersion;
}

void CDialogModel::SetColumns(int id, std::vector<ListColumn> columns) {
    DialogControl* c = ListViewOf(*this, id);
    if (!c) return;
    c->columns = std::move(columns);
    ++c->rowsVersion;
}

void CDialogModel::SetItems(int id, std::vector<std::string> items) {
    DialogControl* c = Find(id);
    if (!c || c->kind != ControlKind::List) return;
    c->items = std::move(items);
    c->index = -1;
    ++c->rowsVersion;
}

std::vector<int> CDialogModel::RadioGroup(int anyId) const {
    std::vector<int> group;
    bool found = false;
    for (const DialogControl& c : m_controls) {
        if (c.kind == ControlKind::Radio && c.groupStart) {
            if (found) break;
            group.clear();
        }
        if (c.kind != ControlKind::Radio) {
            // Any other control with the group mark would end the group in a template;
            // the builders mark only radio buttons, so other controls are skipped.
            continue;
        }
        group.push_back(c.id);
        if (c.id == anyId) found = true;
    }
    return found ? group : std::vector<int>{};
}

void CDialogModel::InitDialog() { OnInitDialog(); }

void CDialogModel::FocusOut(int id) {
    const DialogControl* c = Find(id);
    if (!c || c->kind != ControlKind::Edit || m_result) return;
    OnFocusOut(id);
}

void CDialogModel::Click(int id) {
    DialogControl* c = Find(id);
    if (!c || !c->enabled || m_result) return;
    switch (c->kind) {
    case ControlKind::Radio:
        for (int other : RadioGroup(id)) SetCheck(other, other == id);
        OnClicked(id);
        break;
    case ControlKind::Check:
        c->check = c->check ? 0 : 1;
        OnClicked(id);
        break;
    case ControlKind::Button:
        if (id == IDOK) OnOK();
        else if (id == IDCANCEL) OnCancel();
        else OnClicked(id);
        break;
    default: break;
    }
}

void CDialogModel::ListChanged(int id, int index) {
    if (m_result) return;
    SetIndex(id, index);
    OnListChanged(id);
}

void CDialogModel::RowSelected(int id, int row) {
    const DialogControl* c = Find(id);
    if (m_result || !c || c->kind != ControlKind::ListView || !c->enabled) return;
    SetIndex(id, row);
    OnRowSelected(id);
}

void CDialogModel::RowDoubleClicked(int id, int row) {
    const DialogControl* c = Find(id);
    if (m_result || !c || c->kind != ControlKind::ListView || !c->enabled) return;
    if (row < 0 || row >= static_cast<int>(c->rows.size())) return;
    SetIndex(id, row);
    OnRowDoubleClicked(id);
}

void CDialogModel::Enter(int focusedId) {
    if (m_result) return;
    const DialogControl* c = Find(focusedId);
    if (c && c->kind == ControlKind::Button && focusedId != IDOK) {
        Click(focusedId);
        return;
    }
    const int before = m_failedExchanges;
    if (c && c->kind == ControlKind::Edit) OnFocusOut(focusedId);
    if (m_failedExchanges != before || m_result) return;
    OnOK();
}

void CDialogModel::Escape() {
    if (m_result) return;
    OnCancel();
}

bool CDialogModel::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    if (!dx.Failed()) return true;
    ++m_failedExchanges;
    GotoControl(dx.FailedId(), true);
    ShowMessage(dx.Message());
    return false;
}

int CDialogModel::TakeFocusRequest(bool* selectAll) {
    const int id = m_focusRequest;
    if (selectAll) *selectAll = m_focusSelectAll;
    m_focusRequest = -1;
    return id;
}

void CDialogModel::Reformat(int id, const char* fmt) {
    SetText(id, FormatDialogDouble(ParseDialogDouble(GetText(id)), fmt));
}

void CDialogModel::GotoControl(int id, bool selectAll) {
    m_focusRequest = id;
    m_focusSelectAll = selectAll;
}

int CDialogModel::ShowMessage(const DialogMessage& m, MbButtons buttons) {
    m_messages.push_back(m);
    return Ui().MessageBox(m.text, m.caption, buttons, m.icon);
}

DialogControl& CDialogModel::Add(DialogControl c) {
    m_controls.push_back(std::move(c));
    return m_controls.back();
}

DialogControl& CDialogModel::AddLabel(const std::string& text, DluRect r, int id) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::Label;
    c.text = text;
    c.rect = r;
    return Add(std::move(c));
}

DialogControl& CDialogModel::AddEdit(int id, DluRect r) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::Edit;
    c.rect = r;
    return Add(std::move(c));
}

DialogControl& CDialogModel::AddButton(int id, const std::string& text, DluRect r) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::Button;
    c.text = text;
    c.rect = r;
    return Add(std::move(c));
}

DialogControl& CDialogModel::AddRadio(int id, const std::string& text, DluRect r, bool groupStart) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::Radio;
    c.text = text;
    c.rect = r;
    c.groupStart = groupStart;
    return Add(std::move(c));
}

DialogControl& CDialogModel::AddCheck(int id, const std::string& text, DluRect r) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::Check;
    c.text = text;
    c.rect = r;
    return Add(std::move(c));
}

DialogControl& CDialogModel::AddList(int id, std::vector<std::string> items, DluRect r) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::List;
    c.items = std::move(items);
    c.rect = r;
    return Add(std::move(c));
}

DialogControl& CDialogModel::AddGroup(const std::string& text, DluRect r, int id) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::Group;
    c.text = text;
    c.rect = r;
    return Add(std::move(c));
}

DialogControl& CDialogModel::AddPicture(int id, DluRect r) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::Picture;
    c.rect = r;
    return Add(std::move(c));
}

DialogControl& CDialogModel::AddListView(int id, std::vector<ListColumn> columns, DluRect r) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::ListView;
    c.columns = std::move(columns);
    c.rect = r;
    return Add(std::move(c));
}

DialogControl& CDialogModel::AddListBox(int id, DluRect r) {
    DialogControl c;
    c.id = id;
    c.kind = ControlKind::ListView;
    c.columns = {ListColumn{"", r.w}};
    c.header = false;
    c.rect = r;
    return Add(std::move(c));
}

}  // namespace wv
