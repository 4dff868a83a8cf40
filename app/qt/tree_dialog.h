// The window of the data-selection tree: a tree control above the centred "閉じる"
// button. Its logic is CDataTreeDlg.
#pragma once

#include "app/data_tree.h"

#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace wv {

class TreeDialog : public QDialog, public DataTreeHost {
public:
    TreeDialog(CDataTreeDlg& logic, QWidget* owner);
    ~TreeDialog() override;

    void CreateWindow() override;
    void DestroyWindow() override;
    void ActivateWindow() override;
    void MoveTo(int left, int top) override;
    void GetPosition(int& left, int& top) const override;
    void OwnerTopLeft(int& left, int& top) const override;
    void ShowItems(const std::string& root, const std::vector<std::string>& children) override;
    void SelectItem(int index) override;

    QTreeWidget* Tree() const { return m_tree; }

protected:
    void accept() override;  // Enter: nothing
    void reject() override;  // "閉じる", Escape
    void closeEvent(QCloseEvent* event) override;

private:
    CDataTreeDlg& m_logic;
    QWidget* m_owner;
    QTreeWidget* m_tree;
    bool m_programmatic = false;
};

}  // namespace wv
