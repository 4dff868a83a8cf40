// The Qt host of a dialog model, offscreen: widgets named after their ids, placed in
// dialog units, and every event passed to the model and mirrored back.
#include "platform/data_exchange.h"
#include "platform/qt/dialog_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QHeaderView>
#include <QRadioButton>
#include <QTreeWidget>

namespace wv {
namespace {

class HostDlg : public CDialogModel {
public:
    HostDlg() : CDialogModel(100, "試験", 160, 90) {
        AddLabel("数(&N)", {5, 5, 40, 10});
        AddEdit(10, {50, 5, 40, 12});
        AddEdit(11, {50, 20, 40, 12});
        AddEdit(13, {50, 35, 80, 12});
        AddGroup("群", {95, 0, 60, 40});
        AddRadio(20, "一", {100, 10, 30, 10}, true);
        AddRadio(21, "二", {100, 22, 30, 10}, false);
        AddList(30, {"Ａ", "Ｂ"}, {5, 50, 40, 40});
        AddCheck(40, "印", {50, 50, 40, 10});
        AddButton(IDOK, "OK", {110, 70, 40, 14});
        AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {60, 70, 40, 14});
    }
    int a = 1;
    double b = 2.0;
    std::string name = "ab";
    int mode = 0;
    int list = 1;
    int flag = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        ExchangeInt(dx, 10, a);
        ExchangeDouble(dx, 11, b, "%.1f");
        ExchangeText(dx, 13, name, 15);
        ExchangeRadio(dx, 20, mode);
        ExchangeList(dx, 30, list);
        ExchangeCheck(dx, 40, flag);
    }
    void OnFocusOut(int id) override {
        if (id == 11) Reformat(11, "%.1f");
    }
    void OnClicked(int id) override {
        if (id == 40) Enable(11, GetCheck(40) == 0);
    }
};

class DialogHostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "platform_dialog_host_test";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
    }
    static void FocusOut(QWidget* w, Qt::FocusReason reason = Qt::TabFocusReason) {
        QFocusEvent e(QEvent::FocusOut, reason);
        QApplication::sendEvent(w, &e);
    }
    static void Key(QWidget* w, int key) {
        QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(DialogHostTest, BuildsOneNamedWidgetPerControlInDialogUnits) {
    HostDlg m;
    DialogHost host(m);
    EXPECT_EQ(host.windowTitle(), QString::fromUtf8("試験"));
    EXPECT_NE(host.findChild<QLineEdit*>("c10"), nullptr);
    EXPECT_NE(host.findChild<QRadioButton*>("c21"), nullptr);
    EXPECT_NE(host.findChild<QComboBox*>("c30"), nullptr);
    EXPECT_NE(host.findChild<QCheckBox*>("c40"), nullptr);
    EXPECT_EQ(host.findChild<QPushButton*>("c2")->text(), QString::fromUtf8("ｷｬﾝｾﾙ"));
    EXPECT_TRUE(host.findChild<QPushButton*>("c1")->isDefault());
    // The label's mnemonic leads to the edit after it.
    QLabel* label = nullptr;
    for (QLabel* l : host.findChildren<QLabel*>())
        if (l->text() == QString::fromUtf8("数(&N)")) label = l;
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->buddy(), host.Control(10));
    // The loaded values are on the widgets.
    EXPECT_EQ(static_cast<QLineEdit*>(host.Control(10))->text(), "1");
    EXPECT_EQ(static_cast<QLineEdit*>(host.Control(11))->text(), "2.0");
    EXPECT_TRUE(static_cast<QRadioButton*>(host.Control(20))->isChecked());
    EXPECT_EQ(static_cast<QComboBox*>(host.Control(30))->currentIndex(), 1);
    // Dialog units scale with the font: 4 horizontal units are one average character.
    const QFont f = DialogHost::DialogFont(9);
    EXPECT_TRUE(f.family().contains("Gothic") || f.family().contains(QString::fromUtf8("ゴシック")))
        << f.family().toStdString();
    const QRect r = DialogHost::DluToPixels(f, {0, 0, 160, 90});
    EXPECT_EQ(host.size(), r.size());
    const QRect big = DialogHost::DluToPixels(DialogHost::DialogFont(18), {0, 0, 160, 90});
    EXPECT_GT(big.width(), r.width() * 3 / 2);
}

TEST_F(DialogHostTest, FocusOutRunsTheRuleChangedOrNotExceptToAContextMenu) {
    HostDlg m;
    DialogHost host(m);
    auto* e = static_cast<QLineEdit*>(host.Control(11));
    e->setText("abc");
    FocusOut(e, Qt::PopupFocusReason);
    EXPECT_EQ(e->text(), "abc");
    FocusOut(e);
    EXPECT_EQ(e->text(), "0.0");
    e->setText("12.34");
    FocusOut(e, Qt::MouseFocusReason);
    EXPECT_EQ(e->text(), "12.3");
}

TEST_F(DialogHostTest, EnterRescalesThroughTheFocusRuleThenOkAndEscapeCancels) {
    HostDlg m;
    DialogHost host(m);
    host.show();
    auto* e = static_cast<QLineEdit*>(host.Control(11));
    e->setFocus();
    e->setText("7.77");
    Key(e, Qt::Key_Return);
    EXPECT_EQ(e->text(), "7.8");
    EXPECT_EQ(m.b, 7.8);
    EXPECT_EQ(m.Result(), IDOK);
    EXPECT_EQ(host.result(), QDialog::Accepted);

    HostDlg m2;
    DialogHost host2(m2);
    host2.show();
    Key(&host2, Qt::Key_Escape);
    EXPECT_EQ(m2.Result(), IDCANCEL);
    EXPECT_FALSE(host2.isVisible());
}

TEST_F(DialogHostTest, AFailedExchangeFocusesItsControlWithTheTextSelected) {
    ScriptedUi ui;
    ScopedUi scope(&ui);
    HostDlg m;
    DialogHost host(m);
    host.show();
    auto* e = static_cast<QLineEdit*>(host.Control(10));
    e->setText("12a");
    host.findChild<QPushButton*>("c1")->click();
    EXPECT_EQ(m.Result(), 0);
    EXPECT_TRUE(host.isVisible());
    EXPECT_EQ(host.focusWidget(), e);
    EXPECT_EQ(e->selectedText(), "12a");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].caption, "Wavora");
}

TEST_F(DialogHostTest, ClicksAndTypingReachTheModel) {
    HostDlg m;
    DialogHost host(m);
    auto* check = static_cast<QCheckBox*>(host.Control(40));
    check->click();
    EXPECT_EQ(m.GetCheck(40), 1);
    EXPECT_FALSE(host.Control(11)->isEnabled());
    auto* r1 = static_cast<QRadioButton*>(host.Control(21));
    r1->click();
    EXPECT_TRUE(r1->isChecked());
    EXPECT_FALSE(static_cast<QRadioButton*>(host.Control(20))->isChecked());
    r1->click();  // a second click keeps it selected
    EXPECT_TRUE(r1->isChecked());

    // Typing and pasting into a 15-byte edit stop at whole characters within 15 bytes.
    auto* name = static_cast<QLineEdit*>(host.Control(13));
    name->clear();
    name->insert(QString::fromUtf8("あいうえおかきく"));
    EXPECT_EQ(name->text(), QString::fromUtf8("あいうえおかき"));
    name->insert("x");
    EXPECT_EQ(name->text(), QString::fromUtf8("あいうえおかきx"));
    name->insert("y");
    EXPECT_EQ(name->text(), QString::fromUtf8("あいうえおかきx"));
    EXPECT_EQ(m.GetText(13), "あいうえおかきx");
    name->clear();
    name->insert(QString::fromUtf8("a😀b"));
    EXPECT_EQ(name->text(), "ab");
}


class RowsHostDlg : public CDialogModel {
public:
    RowsHostDlg() : CDialogModel(101, "一覧", 200, 120) {
        AddListView(50, {{"算出点名称", 60}, {"値", 40}}, {5, 5, 120, 80});
        AddListBox(51, {130, 5, 60, 80});
        AddButton(IDCANCEL, "閉じる", {150, 100, 40, 14});
    }
    int selections = 0;
    int doubleClicks = 0;

protected:
    void DoDataExchange(CDataExchange&) override {}
    void OnInitDialog() override {
        AddRow(50, {"Ａ", "1.0"});
        AddRow(50, {"Ｂ", "2.0"});
        AddRow(51, {"1.00"});
        AddRow(51, {"2.00"});
    }
    void OnRowSelected(int) override { ++selections; }
    // Double click deletes the row, as a list of registered values does.
    void OnRowDoubleClicked(int id) override {
        ++doubleClicks;
        DeleteRow(id, GetIndex(id));
    }
};

TEST_F(DialogHostTest, ListViewsShowColumnsRowsAndPassClicksOn) {
    RowsHostDlg m;
    DialogHost host(m);
    auto* t = host.findChild<QTreeWidget*>("c50");
    ASSERT_NE(t, nullptr);
    EXPECT_FALSE(t->isHeaderHidden());
    ASSERT_EQ(t->columnCount(), 2);
    EXPECT_EQ(t->headerItem()->text(0), QString::fromUtf8("算出点名称"));
    EXPECT_EQ(t->columnWidth(0), DialogHost::DluToPixels(host.font(), {0, 0, 60, 0}).width());
    ASSERT_EQ(t->topLevelItemCount(), 2);
    EXPECT_EQ(t->topLevelItem(1)->text(1), "2.0");
    EXPECT_EQ(t->currentItem(), nullptr);

    t->setCurrentItem(t->topLevelItem(1));
    EXPECT_EQ(m.GetIndex(50), 1);
    EXPECT_EQ(m.selections, 1);
    // The model moving the current row does not come back as a selection event.
    m.SetIndex(50, 0);
    host.Sync();
    EXPECT_EQ(t->currentItem(), t->topLevelItem(0));
    EXPECT_EQ(m.selections, 1);

    auto* box = host.findChild<QTreeWidget*>("c51");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isHeaderHidden());
    emit box->itemDoubleClicked(box->topLevelItem(0), 0);
    EXPECT_EQ(m.doubleClicks, 1);
    ASSERT_EQ(box->topLevelItemCount(), 1);
    EXPECT_EQ(box->topLevelItem(0)->text(0), "2.00");
    EXPECT_EQ(m.GetIndex(51), -1);
}

TEST_F(DialogHostTest, DropDownEntriesFilledLaterReachTheWidget) {
    HostDlg m;
    DialogHost host(m);
    m.SetItems(30, {"一", "二", "三"});
    m.SetIndex(30, 2);
    host.Sync();
    auto* cb = static_cast<QComboBox*>(host.Control(30));
    ASSERT_EQ(cb->count(), 3);
    EXPECT_EQ(cb->currentText(), QString::fromUtf8("三"));
    m.SetItems(30, {});
    host.Sync();
    EXPECT_EQ(cb->count(), 0);
    EXPECT_EQ(m.GetIndex(30), -1);
}

}  // namespace
}  // namespace wv
