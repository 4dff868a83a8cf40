#include "app/qt/tree_dialog.h"

#include "app/app_texts.h"
#include "platform/qt/window_placement.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace wv {

namespace {
QString ToQ(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
}  // namespace

TreeDialog::TreeDialog(CDataTreeDlg& logic, QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_logic(logic), m_owner(owner) {
    setObjectName(QStringLiteral("dataTree"));
    setWindowTitle(QString::fromUtf8(apptext::kTreeCaption));
    setModal(false);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tree"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    // Long names scroll sideways instead of being cut off.
    m_tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_tree->header()->setStretchLastSection(false);
    auto* close = new QPushButton(QString::fromUtf8(apptext::kTreeClose), this);
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    // 131 x 331 dialog units: a quarter of the average character width, an eighth of the height.
    const QFontMetrics fm(font());
    // The Japanese fonts here run wider than the template's, hence the floor on the width.
    resize(std::max(int(131 * fm.averageCharWidth() / 4.0), fm.horizontalAdvance(QStringLiteral(" [屈折データ] BAY1.TYD")) + 120),
           int(331 * fm.height() / 8.0));
    connect(close, &QPushButton::clicked, this, [this] { reject(); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
        if (m_programmatic || !item) return;
        m_logic.OnSelChanged(item->data(0, Qt::UserRole).toInt());
    });
    m_logic.SetHost(this);
}

TreeDialog::~TreeDialog() {
    if (m_logic.GetHost() == this) m_logic.SetHost(nullptr);
}

void TreeDialog::CreateWindow() {
    // The keys go to the list as the window comes, wherever the focus was when it was
    // closed (its "閉じる" button, clicked): Home, End and the arrows pick an entry at once.
    m_tree->setFocus(Qt::ActiveWindowFocusReason);
    // Placed by MoveTo right after, from the stored place or the owner's corner.
    show();
    raise();
}

void TreeDialog::DestroyWindow() {
    hide();
    m_programmatic = true;
    m_tree->clear();
    m_programmatic = false;
}

void TreeDialog::ActivateWindow() {
    raise();
    activateWindow();
}

void TreeDialog::MoveTo(int left, int top) {
    // A place stored over the main window's menus or off this screen is moved into sight.
    const QPoint wanted(left, top);
    PlaceFrame(this, [this, wanted](QSize frame) { return KeepInSight(wanted, frame, m_owner); });
}

void TreeDialog::GetPosition(int& left, int& top) const {
    left = frameGeometry().left();
    top = frameGeometry().top();
}

void TreeDialog::OwnerTopLeft(int& left, int& top) const {
    // The owner's corner below its menus and toolbar, not over them.
    const QPoint p = OwnerCorner(m_owner);
    left = p.x();
    top = p.y();
}

void TreeDialog::ShowItems(const std::string& root, const std::vector<std::string>& children) {
    m_programmatic = true;
    m_tree->clear();
    auto* rootItem = new QTreeWidgetItem(m_tree, QStringList(ToQ(root)));
    rootItem->setData(0, Qt::UserRole, -1);
    for (std::size_t i = 0; i < children.size(); ++i) {
        auto* item = new QTreeWidgetItem(rootItem, QStringList(ToQ(children[i])));
        item->setData(0, Qt::UserRole, static_cast<int>(i));
    }
    if (!children.empty()) rootItem->setExpanded(true);
    m_tree->setCurrentItem(nullptr);
    m_programmatic = false;
}

void TreeDialog::SelectItem(int index) {
    QTreeWidgetItem* root = m_tree->topLevelItem(0);
    if (!root) return;
    QTreeWidgetItem* item = index < 0 ? root : root->child(index);
    if (!item) return;
    m_programmatic = true;
    m_tree->setCurrentItem(item);
    m_programmatic = false;
}

void TreeDialog::accept() { m_logic.OnOK(); }

void TreeDialog::reject() { m_logic.OnCancel(); }

void TreeDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    m_logic.OnCancel();
}

}  // namespace wv
