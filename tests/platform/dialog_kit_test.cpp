// The dialog kit without widgets: the exchange in both directions, its order and partial
// update, the integer, double and text rules, radio groups and lists, and the Enter and
// Escape keys.
#include "platform/cp932_input.h"
#include "platform/data_exchange.h"
#include "platform/dialog_model.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

// A dialog with one control of each kind, exchanged in the order a, b, c, name, mode,
// list, flag.
class KitDlg : public CDialogModel {
public:
    KitDlg() : CDialogModel(100, "試験", 200, 100) {
        AddEdit(10, {5, 5, 40, 12});
        AddEdit(11, {5, 20, 40, 12});
        AddEdit(12, {5, 35, 40, 12});
        AddEdit(13, {5, 50, 80, 12});
        AddRadio(20, "一", {100, 5, 30, 10}, true);
        AddRadio(21, "二", {100, 15, 30, 10}, false);
        AddRadio(22, "三", {100, 25, 30, 10}, false);
        AddRadio(25, "別", {100, 35, 30, 10}, true);
        AddList(30, {"Ａ", "Ｂ", "Ｃ"}, {100, 50, 40, 40});
        AddCheck(40, "印", {100, 65, 40, 10});
        AddButton(IDOK, "OK", {150, 80, 40, 14});
        AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {100, 80, 40, 14});
        AddButton(3, "他", {50, 80, 40, 14});
    }

    using CDialogModel::Reformat;

    int a = 1;
    double b = 2.0;
    int c = 3;
    std::string name = "abc";
    int mode = 1;
    int list = 2;
    int flag = 1;
    int other = -1;
    int focusOuts = 0;
    int clicks = 0;
    bool failFocusRule = false;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        ExchangeInt(dx, 10, a);
        ExchangeDouble(dx, 11, b, "%.2f");
        ExchangeInt(dx, 12, c, 0, 359);
        ExchangeText(dx, 13, name, 15);
        ExchangeRadio(dx, 21, mode);
        ExchangeRadio(dx, 25, other);
        ExchangeList(dx, 30, list);
        ExchangeCheck(dx, 40, flag);
    }
    void OnFocusOut(int id) override {
        ++focusOuts;
        if (id == 11) Reformat(11, "%.2f");
        if (id == 10) UpdateData(true);
    }
    void OnClicked(int) override { ++clicks; }
};

TEST(DialogKit, SavingStopsAtTheFirstFailureWithAPartialUpdate) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    KitDlg d;
    d.InitDialog();
    EXPECT_EQ(d.GetText(11), "2.00");
    EXPECT_EQ(d.GetCheck(21), 1);
    EXPECT_EQ(d.GetIndex(30), 2);
    d.SetText(10, "7");
    d.SetText(11, "8.5");
    d.SetText(12, "360");
    d.SetText(13, "xyz");
    d.Click(22);
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(d.a, 7);           // before the failure: new
    EXPECT_EQ(d.b, 8.5);
    EXPECT_EQ(d.c, 3);           // the failing one and later: old
    EXPECT_EQ(d.name, "abc");
    EXPECT_EQ(d.mode, 1);
    bool select = false;
    EXPECT_EQ(d.TakeFocusRequest(&select), 12);
    EXPECT_TRUE(select);
    EXPECT_EQ(d.TakeFocusRequest(nullptr), -1);  // taken once
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, "0 から 359 までの整数を入力してください。");
    EXPECT_EQ(ui.Messages()[0].caption, "Wavora");
    EXPECT_EQ(ui.Messages()[0].icon, MbIcon::Warning);
    EXPECT_EQ(d.Messages().size(), 1u);
    EXPECT_EQ(d.FailedExchanges(), 1);

    d.SetText(12, "359");
    EXPECT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.c, 359);
    EXPECT_EQ(d.name, "xyz");
    EXPECT_EQ(d.mode, 2);
}

TEST(DialogKit, IntegerTexts) {
    struct Case { const char* text; bool ok; int value; };
    const Case cases[] = {
        {"+5", true, 5},       {" 7 ", true, 7},          {"-0", true, 0},
        {"\t-12\t", true, -12}, {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"", false, 0},        {"  ", false, 0},          {"1.5", false, 0},
        {"12a", false, 0},     {"99999999999", false, 0}, {"2147483648", false, 0},
        {"+", false, 0},       {"- 5", false, 0},         {"5 5", false, 0},
        {"１２", false, 0},    {"0x10", false, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        const auto v = ParseDialogInt(k.text);
        EXPECT_EQ(v.has_value(), k.ok);
        if (k.ok && v) {
            EXPECT_EQ(*v, k.value);
        }
    }
    ScriptedUi ui;
    ScopedUi scope(&ui);
    KitDlg d;
    d.InitDialog();
    d.SetText(10, "12a");
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(d.a, 1);
    EXPECT_EQ(ui.Messages().at(0).text, "整数を入力してください。");
}

TEST(DialogKit, DoublesReadLikeWindowsAtofAndReformat) {
    struct Case { const char* text; const char* fmt; const char* shown; };
    const Case cases[] = {
        {"abc", "%.2f", "0.00"},      {"inf", "%.2f", "0.00"},        {"0x10", "%.2f", "0.00"},
        {"nan", "%.2f", "0.00"},      {"1e999", "%.2f", "0.00"},      {"-1e999", "%.1f", "0.0"},
        {"12.34567", "%.3f", "12.346"}, {" -3.5xyz", "%.2f", "-3.50"}, {"1e3", "%.1f", "1000.0"},
        {"", "%.3f", "0.000"},        {".5", "%.1f", "0.5"},
    };
    KitDlg d;
    d.InitDialog();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        d.SetText(11, k.text);
        d.Reformat(11, k.fmt);
        EXPECT_EQ(d.GetText(11), k.shown);
    }
    // The exchange reads an edit the same way, and a value that is not finite is never
    // written to an edit.
    d.SetText(11, "inf");
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.b, 0.0);
    d.b = 1.0 / 0.0;
    d.UpdateData(false);
    EXPECT_EQ(d.GetText(11), "0.00");
}

TEST(DialogKit, Cp932ByteLimits) {
    // Fifteen half-width katakana are fifteen bytes.
    EXPECT_EQ(FitCp932Edit("", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ", 15).text, "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ");
    // Eight kanji would be sixteen: the eighth is cut.
    EXPECT_EQ(FitCp932Edit("", "あいうえおかきく", 15).text, "あいうえおかき");
    // An emoji has no CP932 form, with or without a limit.
    EXPECT_EQ(FitCp932Edit("ab", "a😀b", 15).text, "ab");
    EXPECT_EQ(FitCp932Edit("", "備考😀です", 0).text, "備考です");
    // Typing at the limit changes nothing; a paste in the middle is cut, the rest stays.
    EXPECT_EQ(FitCp932Edit("ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿx", 15).text, "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ");
    const FittedEdit mid = FitCp932Edit("abcdefghijk", "abc漢字です!defghijk", 15);
    EXPECT_EQ(mid.text, "abc漢字defghijk");
    EXPECT_EQ(mid.cursor, 5u);
    // A stored text over the limit can still lose characters.
    EXPECT_EQ(FitCp932Edit("あいうえおかきく", "あいうえおかき", 15).text, "あいうえおかき");
    EXPECT_EQ(Cp932ByteCount("ｱあA"), 4);
    EXPECT_EQ(Cp932ByteCount("😀"), -1);
}

TEST(DialogKit, TextExchangeKeepsStoredBytesAndRefusesLongText) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    KitDlg d;
    // A name stored longer than the limit shows whole and is refused on saving.
    d.name = "\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab\x82\xad";  // あいうえおかきく
    d.InitDialog();
    EXPECT_EQ(d.GetText(13), "あいうえおかきく");
    EXPECT_EQ(d.Find(13)->byteLimit, 15);
    EXPECT_FALSE(d.UpdateData(true));
    EXPECT_EQ(ui.Messages().at(0).text, "15 バイト（全角は 2 バイト）以内で入力してください。");
    EXPECT_EQ(d.TakeFocusRequest(nullptr), 13);

    // Bytes that convert to a character with two CP932 codes come back as stored when
    // the text is left alone.
    KitDlg e;
    e.name = "\xed\x40";
    e.InitDialog();
    ASSERT_TRUE(e.UpdateData(true));
    EXPECT_EQ(e.name, "\xed\x40");
    e.SetText(13, "名前");
    ASSERT_TRUE(e.UpdateData(true));
    EXPECT_EQ(e.name, "\x96\xbc\x91\x4f");
    e.SetText(13, "a😀");
    EXPECT_FALSE(e.UpdateData(true));
    EXPECT_EQ(e.name, "\x96\xbc\x91\x4f");
}

TEST(DialogKit, RadioGroupsListsAndChecksUseMinusOneForNone) {
    KitDlg d;
    d.mode = -1;
    d.list = -1;
    d.flag = 7;
    d.InitDialog();
    for (int id : {20, 21, 22}) EXPECT_EQ(d.GetCheck(id), 0);
    EXPECT_EQ(d.GetIndex(30), -1);
    EXPECT_EQ(d.GetCheck(40), 1);
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.mode, -1);
    EXPECT_EQ(d.list, -1);
    EXPECT_EQ(d.flag, 1);

    d.Click(20);
    d.Click(22);  // a click selects one button of its group only
    EXPECT_EQ(d.GetCheck(20), 0);
    EXPECT_EQ(d.GetCheck(22), 1);
    EXPECT_EQ(d.GetCheck(25), 0);
    d.Click(40);
    d.ListChanged(30, 1);
    ASSERT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.mode, 2);
    EXPECT_EQ(d.other, -1);
    EXPECT_EQ(d.list, 1);
    EXPECT_EQ(d.flag, 0);
    EXPECT_EQ(d.clicks, 3);

    d.list = 9;  // an entry the list does not have selects nothing
    d.UpdateData(false);
    EXPECT_EQ(d.GetIndex(30), -1);
    d.Enable(40, false);
    d.Click(40);  // a disabled control takes no click
    EXPECT_EQ(d.GetCheck(40), 0);
    EXPECT_EQ(d.RadioGroup(22), (std::vector<int>{20, 21, 22}));
    EXPECT_EQ(d.RadioGroup(25), (std::vector<int>{25}));
    EXPECT_TRUE(d.RadioGroup(10).empty());
}

TEST(DialogKit, EnterRunsTheFocusRuleThenOkAndEscapeCancels) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    {
        KitDlg d;
        d.InitDialog();
        d.SetText(11, "4.567");
        d.Enter(11);
        EXPECT_EQ(d.focusOuts, 1);
        EXPECT_EQ(d.GetText(11), "4.57");
        EXPECT_EQ(d.b, 4.57);  // OK read the reformatted text
        EXPECT_EQ(d.Result(), IDOK);
    }
    {
        // The rule's own exchange fails: one message, and OK does not run.
        KitDlg d;
        d.InitDialog();
        d.SetText(10, "x");
        d.Enter(10);
        EXPECT_EQ(d.Result(), 0);
        EXPECT_EQ(ui.Messages().size(), 1u);
        // Enter on another push button presses that button; on a list it is OK.
        d.SetText(10, "5");
        d.Enter(3);
        EXPECT_EQ(d.clicks, 1);
        EXPECT_EQ(d.Result(), 0);
        d.Enter(30);
        EXPECT_EQ(d.Result(), IDOK);
        d.FocusOut(11);  // an ended dialog takes no more events
        EXPECT_EQ(d.focusOuts, 1);
    }
    {
        KitDlg d;
        d.InitDialog();
        d.SetText(10, "not a number");
        d.Escape();
        EXPECT_EQ(d.Result(), IDCANCEL);
        EXPECT_EQ(d.a, 1);
    }
}

}  // namespace
}  // namespace wv

namespace wv {
namespace {

// A report list and a plain list box, with the current row exchanged and every
// selection and double click counted.
class RowsDlg : public CDialogModel {
public:
    RowsDlg() : CDialogModel(101, "一覧", 200, 120) {
        AddListView(50, {{"名称", 60}, {"値", 40}}, {5, 5, 120, 80});
        AddListBox(51, {130, 5, 60, 80});
        AddButton(IDOK, "OK", {150, 100, 40, 14});
    }
    int row = 1;
    std::vector<std::pair<int, int>> selected;  // (id, current row)
    std::vector<std::pair<int, int>> doubled;

protected:
    void DoDataExchange(CDataExchange& dx) override { ExchangeList(dx, 50, row); }
    void OnInitDialog() override {
        AddRow(50, {"Ａ", "1.0"});
        AddRow(50, {"Ｂ"});
        AddRow(50, {"Ｃ", "3.0", "extra"});
        CDialogModel::OnInitDialog();
    }
    void OnRowSelected(int id) override { selected.emplace_back(id, GetIndex(id)); }
    void OnRowDoubleClicked(int id) override { doubled.emplace_back(id, GetIndex(id)); }
};

TEST(DialogKit, ListViewRowsCurrentRowAndEvents) {
    RowsDlg d;
    d.InitDialog();
    const DialogControl* c = d.Find(50);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->kind, ControlKind::ListView);
    ASSERT_EQ(c->columns.size(), 2u);
    EXPECT_EQ(c->columns[1].title, "値");
    EXPECT_EQ(c->columns[1].widthDlu, 40);
    EXPECT_TRUE(c->header);
    EXPECT_FALSE(d.Find(51)->header);
    ASSERT_EQ(d.Find(51)->columns.size(), 1u);

    EXPECT_EQ(d.RowCount(50), 3);
    EXPECT_EQ(d.GetCell(50, 0, 1), "1.0");
    EXPECT_EQ(d.GetCell(50, 1, 1), "");        // a short row
    EXPECT_EQ(d.GetCell(50, 2, 2), "extra");   // kept beyond the columns
    EXPECT_EQ(d.GetCell(50, 3, 0), "");
    EXPECT_EQ(d.GetCell(50, -1, 0), "");
    EXPECT_EQ(d.GetIndex(50), 1);              // loaded by the exchange

    d.RowSelected(50, 2);
    d.RowSelected(50, 7);                      // no such row: none
    d.RowDoubleClicked(50, 0);
    d.RowDoubleClicked(50, 9);                 // nothing there: no event
    ASSERT_EQ(d.selected.size(), 2u);
    EXPECT_EQ(d.selected[0], std::make_pair(50, 2));
    EXPECT_EQ(d.selected[1], std::make_pair(50, -1));
    ASSERT_EQ(d.doubled.size(), 1u);
    EXPECT_EQ(d.doubled[0], std::make_pair(50, 0));
    EXPECT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.row, 0);

    // Removing rows keeps the current row on its text.
    d.InsertRow(50, 0, {"先"});
    EXPECT_EQ(d.GetIndex(50), 1);
    EXPECT_EQ(d.GetCell(50, 1, 0), "Ａ");
    d.DeleteRow(50, 0);
    EXPECT_EQ(d.GetIndex(50), 0);
    d.DeleteRow(50, 0);
    EXPECT_EQ(d.GetIndex(50), -1);
    d.DeleteRow(50, 5);
    EXPECT_EQ(d.RowCount(50), 2);
    // A cell is rewritten in place; a short row grows to it; no row, no cell.
    d.SetCell(50, 1, 1, "9.5");
    d.SetCell(50, 1, 3, "x");
    d.SetCell(50, 7, 0, "none");
    EXPECT_EQ(d.GetCell(50, 1, 1), "9.5");
    EXPECT_EQ(d.GetCell(50, 1, 3), "x");
    EXPECT_EQ(d.RowCount(50), 2);
    EXPECT_EQ(ListPixelsToDlu(175), 116);

    const unsigned version = d.Find(50)->rowsVersion;
    d.DeleteAllRows(50);
    EXPECT_EQ(d.RowCount(50), 0);
    EXPECT_GT(d.Find(50)->rowsVersion, version);
    d.RowDoubleClicked(50, 0);
    EXPECT_EQ(d.doubled.size(), 1u);

    // Rows go only to list views; other ids are ignored.
    EXPECT_EQ(d.AddRow(IDOK, {"x"}), -1);
    EXPECT_EQ(d.AddRow(99, {"x"}), -1);
    EXPECT_EQ(d.RowCount(IDOK), 0);
    // A disabled list or an ended dialog takes no events.
    d.AddRow(51, {"1.00"});
    d.Enable(51, false);
    d.RowDoubleClicked(51, 0);
    d.Enable(51, true);
    d.Click(IDOK);
    d.RowDoubleClicked(51, 0);
    EXPECT_EQ(d.doubled.size(), 1u);
}

}  // namespace
}  // namespace wv
