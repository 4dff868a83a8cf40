// The Qt-free half of every dialog: a template (controls with ids, texts and places in
// dialog units, as a Windows resource held them), the state of each control, and the
// events a dialog reacts to. A dialog's logic derives from CDialogModel; tests drive it
// headless, and the Qt host (platform/qt/dialog_host.h) only mirrors it on widgets.
// The exchange between members and controls is in data_exchange.h; the rules are in
// docs/dialogs.md.
#pragma once

#include "platform/ui_service.h"

#include <string>
#include <vector>

namespace wv {

class CDataExchange;

enum class ControlKind {
    Label,     // static text; id -1 unless the dialog changes it
    Edit,      // one-line edit
    Button,    // push button; ids 1 (OK) and 2 (Cancel) end the dialog
    Radio,     // radio button; a group runs from a button marked groupStart to the next
    Check,     // check box
    List,      // drop-down list
    Group,     // group box (a frame with a caption)
    Picture,   // picture frame (the widget side draws it)
    ListView,  // list of rows: report style with column titles, or a plain list box
};

// One column of a list view: its title and its width in horizontal dialog units.
struct ListColumn {
    std::string title;  // UTF-8
    int widthDlu = 0;
};

// The Windows list controls took column widths in pixels. At the dialog font's average
// character of six pixels a pixel is two thirds of a horizontal dialog unit, so a width
// given in pixels keeps its share of the dialog whatever font stands in.
constexpr int ListPixelsToDlu(int pixels) { return pixels * 4 / 6; }

// A rectangle in dialog units: x and width are quarters of the font's average character
// width, y and height eighths of its height.
struct DluRect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct DialogControl {
    // Template.
    int id = -1;
    ControlKind kind = ControlKind::Label;
    DluRect rect;
    bool groupStart = false;  // radio: first button of its group
    bool readOnly = false;    // edit
    bool sunken = false;      // picture: sunken edge
    std::vector<std::string> items;  // list entries, UTF-8
    // List view: its columns (a plain list box has one column and no header).
    std::vector<ListColumn> columns;
    bool header = true;

    // State.
    std::string text;     // UTF-8: caption, or the edit's contents
    int check = 0;        // radio and check box: 0 or 1
    int index = -1;       // list: selected entry; list view: current row; -1 none
    // List view: one text per column and row (UTF-8); a count of changes to them (and to
    // a drop-down list's entries) so the widget side refills only when they changed.
    std::vector<std::vector<std::string>> rows;
    unsigned rowsVersion = 0;
    bool enabled = true;
    bool visible = true;
    int byteLimit = 0;    // edit: CP932 bytes it accepts, 0 = no limit

    // The CP932 bytes last written to this edit by the exchange, and the text they showed:
    // an unchanged text gives its bytes back exactly.
    std::string loadedBytes;
    std::string loadedText;
    bool hasLoadedBytes = false;
};

// A message the dialog wants shown: kept as data so tests can read it, and shown through
// the UI service.
struct DialogMessage {
    std::string text;     // UTF-8
    std::string caption;  // UTF-8
    MbIcon icon = MbIcon::Warning;
};

class CDialogModel {
public:
    CDialogModel(int templateId, std::string caption, int widthDlu, int heightDlu);
    virtual ~CDialogModel() = default;
    CDialogModel(const CDialogModel&) = delete;
    CDialogModel& operator=(const CDialogModel&) = delete;

    // Template.
    int TemplateId() const { return m_templateId; }
    const std::string& Caption() const { return m_caption; }
    // A dialog that serves several purposes retitles itself (the host follows on Sync).
    void SetCaption(std::string caption) { m_caption = std::move(caption); }
    int WidthDlu() const { return m_width; }
    int HeightDlu() const { return m_height; }
    // "ＭＳ Ｐゴシック" 9 point for every dialog of the program.
    const std::string& FontName() const { return m_fontName; }
    int FontPoints() const { return m_fontPoints; }
    bool HasCaption() const { return m_hasCaption; }
    // Every control in tab order.
    const std::vector<DialogControl>& Controls() const { return m_controls; }
    const DialogControl* Find(int id) const;
    DialogControl* Find(int id);

    // Control state, read and set by the host, the exchange and tests. Unknown ids are
    // ignored (reads give empty, 0 or -1).
    std::string GetText(int id) const;
    void SetText(int id, const std::string& utf8);
    int GetCheck(int id) const;
    void SetCheck(int id, int check);
    int GetIndex(int id) const;
    void SetIndex(int id, int index);
    bool IsEnabled(int id) const;
    void Enable(int id, bool enabled);
    bool IsVisible(int id) const;
    void Show(int id, bool visible);
    void SetByteLimit(int id, int bytes);
    // List view rows. A row shorter than the columns shows empty cells; texts beyond the
    // last column are kept but not shown. Removing rows moves the current row onto the
    // rows that are left (or to -1).
    void DeleteAllRows(int id);
    // Appends a row and returns its index (-1 for an unknown id).
    int AddRow(int id, std::vector<std::string> cells);
    void InsertRow(int id, int at, std::vector<std::string> cells);
    void DeleteRow(int id, int row);
    int RowCount(int id) const;
    // The text of a cell, empty outside the rows or columns.
    std::string GetCell(int id, int row, int column) const;
    // Rewrites a cell of an existing row (the row grows to the column); nothing outside.
    void SetCell(int id, int row, int column, const std::string& utf8);
    void SetColumns(int id, std::vector<ListColumn> columns);
    // A drop-down list's entries, for a list filled while the dialog initialises; the
    // selection goes.
    void SetItems(int id, std::vector<std::string> items);
    // The radio buttons of the group that `anyId` belongs to, in tab order.
    std::vector<int> RadioGroup(int anyId) const;

    // Events, from the host or a test. Each runs the dialog's handler.
    void InitDialog();               // OnInitDialog
    void FocusOut(int id);           // an edit lost the focus
    void Click(int id);              // a button, radio button or check box was clicked
    void ListChanged(int id, int index);  // a list selection changed
    // A list view's current row changed by a click or the keys (-1: none).
    void RowSelected(int id, int row);
    // A row of a list view was double-clicked (it becomes the current row first).
    void RowDoubleClicked(int id, int row);
    // Enter: the focused edit's focus-out rule, then OK, unless that rule's exchange
    // failed. A focused push button other than OK is clicked instead.
    void Enter(int focusedId);
    void Escape();                   // OnCancel

    // Saving (true) reads the controls into the members; loading (false) writes the
    // members to the controls. On a failed save the message goes through the UI service,
    // the failing control gets the focus with its text selected, and false comes back.
    bool UpdateData(bool saveAndValidate = true);

    // 0 while the dialog runs, else the code it ended with (IDOK, IDCANCEL).
    int Result() const { return m_result; }
    void EndDialog(int result) { m_result = result; }

    // The control that should have the focus, set by a failed exchange or GotoControl;
    // the host takes it once. Returns -1 when there is no request.
    int TakeFocusRequest(bool* selectAll);
    // Every message the dialog has shown, oldest first.
    const std::vector<DialogMessage>& Messages() const { return m_messages; }
    // Counts failed exchanges: an action compares it before and after a rule it ran.
    int FailedExchanges() const { return m_failedExchanges; }

protected:
    virtual void DoDataExchange(CDataExchange& dx) = 0;
    virtual void OnInitDialog() { UpdateData(false); }
    virtual void OnFocusOut(int id) {}
    virtual void OnClicked(int id) {}
    virtual void OnListChanged(int id) {}
    virtual void OnRowSelected(int id) {}
    virtual void OnRowDoubleClicked(int id) {}
    virtual void OnOK() {
        if (UpdateData(true)) EndDialog(IDOK);
    }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    // Template building, in tab order. Each returns the control for further settings.
    DialogControl& AddLabel(const std::string& text, DluRect r, int id = -1);
    DialogControl& AddEdit(int id, DluRect r);
    DialogControl& AddButton(int id, const std::string& text, DluRect r);
    DialogControl& AddRadio(int id, const std::string& text, DluRect r, bool groupStart);
    DialogControl& AddCheck(int id, const std::string& text, DluRect r);
    DialogControl& AddList(int id, std::vector<std::string> items, DluRect r);
    DialogControl& AddGroup(const std::string& text, DluRect r, int id = -1);
    DialogControl& AddPicture(int id, DluRect r);
    // A report-style list: column titles over rows of texts.
    DialogControl& AddListView(int id, std::vector<ListColumn> columns, DluRect r);
    // A plain list box: one column of texts, no header.
    DialogControl& AddListBox(int id, DluRect r);
    void SetNoCaption() { m_hasCaption = false; }

    // Reads the edit with the Windows `atof` and writes it back with `fmt` ("%.1f", ...).
    void Reformat(int id, const char* fmt);
    // Asks the host to focus a control (and select an edit's text).
    void GotoControl(int id, bool selectAll = true);
    // Shows a message through the UI service and keeps it; returns the answer.
    int ShowMessage(const DialogMessage& m, MbButtons buttons = MbButtons::Ok);

private:
    DialogControl& Add(DialogControl c);

    int m_templateId;
    std::string m_caption;
    int m_width;
    int m_height;
    std::string m_fontName = "ＭＳ Ｐゴシック";
    int m_fontPoints = 9;
    bool m_hasCaption = true;
    std::vector<DialogControl> m_controls;
    int m_result = 0;
    int m_focusRequest = -1;
    bool m_focusSelectAll = false;
    int m_failedExchanges = 0;
    std::vector<DialogMessage> m_messages;
};

}  // namespace wv
