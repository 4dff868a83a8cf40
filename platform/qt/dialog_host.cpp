#include "dialog_host.h"

#include "platform/cp932_input.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QValidator>

#include <algorithm>

namespace wv {

namespace {

// Keeps an edit within its CP932 byte limit and out of characters CP932 cannot hold.
// The limit is read from the model each time: the exchange sets it when it loads.
class Cp932Validator : public QValidator {
public:
    Cp932Validator(CDialogModel& model, int id, QObject* parent) : QValidator(parent), m_model(model), m_id(id) {}

    State validate(QString& input, int& pos) const override {
        const DialogControl* c = m_model.Find(m_id);
        const int limit = c ? c->byteLimit : 0;
        // The edit already holds the new text here; the model still holds the one before.
        const FittedEdit fit = FitCp932Edit(m_model.GetText(m_id), input.toStdString(), limit);
        const QString fitted = QString::fromStdString(fit.text);
        if (fitted == input) return Acceptable;
        input = fitted;
        int q = 0;
        for (std::size_t n = 0; n < fit.cursor && q < input.size(); ++n)
            q += input.at(q).isHighSurrogate() && q + 1 < input.size() ? 2 : 1;
        pos = q;
        return Acceptable;
    }

private:
    CDialogModel& m_model;
    int m_id;
};

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

QFont DialogHost::DialogFont(int points) {
    QFont f;
    // "ＭＳ Ｐゴシック" first, for a system that has it; then the proportional gothics
    // a Linux desktop installs.
    f.setFamilies({QString::fromUtf8("ＭＳ Ｐゴシック"), "MS PGothic", "IPAPGothic", "IPAexGothic",
                   "IPAGothic", "Noto Sans CJK JP", "VL PGothic", "TakaoPGothic"});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(points);
    return f;
}

QRect DialogHost::DluToPixels(const QFont& font, const DluRect& r) {
    const QFontMetrics fm(font);
    const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int baseX = std::max(1, (letters / 26 + 1) / 2);
    const int baseY = std::max(1, fm.height());
    auto mul = [](int v, int num, int den) { return (v * num + (v >= 0 ? den / 2 : -den / 2)) / den; };
    return QRect(mul(r.x, baseX, 4), mul(r.y, baseY, 8), mul(r.w, baseX, 4), mul(r.h, baseY, 8));
}

DialogHost::DialogHost(CDialogModel& model, QWidget* parent) : QDialog(parent), m_model(model) {
    Build();
    Dispatch([this] { m_model.InitDialog(); });
}

DialogHost::~DialogHost() {
    m_closing = true;
    for (const auto& [id, w] : m_widgets) w->removeEventFilter(this);
}

QWidget* DialogHost::Control(int id) const {
    const auto it = m_widgets.find(id);
    return it == m_widgets.end() ? nullptr : it->second;
}

void DialogHost::SetPicture(int id, const QPixmap& picture) {
    if (auto* label = qobject_cast<QLabel*>(Control(id))) label->setPixmap(picture);
}

int DialogHost::IdOf(QObject* o) const {
    for (const auto& [id, w] : m_widgets)
        if (w == o) return id;
    return -1;
}

void DialogHost::Build() {
    setWindowTitle(Q(m_model.Caption()));
    if (!m_model.HasCaption())
        setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const QFont font = DialogFont(m_model.FontPoints());
    setFont(font);
    setFixedSize(DluToPixels(font, {0, 0, m_model.WidthDlu(), m_model.HeightDlu()}).size());

    std::vector<QLabel*> labels;  // for their mnemonics: the next control that takes focus
    std::vector<QWidget*> order;
    for (const DialogControl& c : m_model.Controls()) {
        const int id = c.id;
        QWidget* w = nullptr;
        switch (c.kind) {
        case ControlKind::Label: {
            auto* l = new QLabel(Q(c.text), this);
            l->setWordWrap(c.rect.h > 12);
            w = l;
            break;
        }
        case ControlKind::Edit: {
            auto* e = new QLineEdit(this);
            e->setReadOnly(c.readOnly);
            e->setValidator(new Cp932Validator(m_model, id, e));
            e->installEventFilter(this);
            connect(e, &QLineEdit::textChanged, this, [this, id](const QString& t) {
                if (!m_syncing) m_model.SetText(id, t.toStdString());
            });
            w = e;
            break;
        }
        case ControlKind::Button: {
            auto* b = new QPushButton(Q(c.text), this);
            b->setAutoDefault(true);
            b->setDefault(id == IDOK);
            connect(b, &QPushButton::clicked, this, [this, id] { Dispatch([this, id] { m_model.Click(id); }); });
            w = b;
            break;
        }
        case ControlKind::Radio: {
            auto* r = new QRadioButton(Q(c.text), this);
            // The model keeps its groups exclusive; Qt's exclusivity would join every
            // group of the dialog and could not show "none selected".
            r->setAutoExclusive(false);
            connect(r, &QRadioButton::clicked, this, [this, id] { Dispatch([this, id] { m_model.Click(id); }); });
            w = r;
            break;
        }
        case ControlKind::Check: {
            auto* b = new QCheckBox(Q(c.text), this);
            connect(b, &QCheckBox::clicked, this, [this, id] { Dispatch([this, id] { m_model.Click(id); }); });
            w = b;
            break;
        }
        case ControlKind::List: {
            auto* cb = new QComboBox(this);
            for (const std::string& item : c.items) cb->addItem(Q(item));
            cb->setCurrentIndex(-1);
            connect(cb, &QComboBox::activated, this,
                    [this, id](int index) { Dispatch([this, id, index] { m_model.ListChanged(id, index); }); });
            w = cb;
            break;
        }
        case ControlKind::Group: {
            auto* g = new QGroupBox(Q(c.text), this);
            g->setAttribute(Qt::WA_TransparentForMouseEvents);
            w = g;
            break;
        }
        case ControlKind::ListView: {
            auto* t = new QTreeWidget(this);
            t->setRootIsDecorated(false);
            t->setItemsExpandable(false);
            t->setUniformRowHeights(true);
            t->setSelectionMode(QAbstractItemView::SingleSelection);
            t->setHeaderHidden(!c.header);
            t->header()->setStretchLastSection(!c.header);
            if (!c.header) {
                // A list box's one column is the box's width, as in a Windows list box.
                t->header()->setMinimumSectionSize(1);
                t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            }
            t->header()->setSectionsMovable(false);
            connect(t, &QTreeWidget::currentItemChanged, this, [this, id, t](QTreeWidgetItem* item) {
                if (m_syncing) return;
                const int row = item ? t->indexOfTopLevelItem(item) : -1;
                Dispatch([this, id, row] { m_model.RowSelected(id, row); });
            });
            connect(t, &QTreeWidget::itemDoubleClicked, this, [this, id, t](QTreeWidgetItem* item) {
                if (m_syncing || !item) return;
                const int row = t->indexOfTopLevelItem(item);
                Dispatch([this, id, row] { m_model.RowDoubleClicked(id, row); });
            });
            w = t;
            break;
        }
        case ControlKind::Picture: {
            auto* p = new QLabel(this);
            p->setScaledContents(true);
            if (c.sunken) p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            w = p;
            break;
        }
        }
        if (id != -1) {
            w->setObjectName(QStringLiteral("c%1").arg(id));
            m_widgets[id] = w;
        }
        QRect r = DluToPixels(font, c.rect);
        // A drop-down list's template height includes its open list; closed it is one line.
        if (c.kind == ControlKind::List) r.setHeight(w->sizeHint().height());
        w->setGeometry(r);
        if (c.kind == ControlKind::Group) w->lower();
        if (c.kind == ControlKind::Label) labels.push_back(static_cast<QLabel*>(w));
        order.push_back(w);
    }
    // A label's mnemonic moves the focus to the next control in tab order that takes it.
    for (QLabel* l : labels) {
        if (!l->text().contains('&')) continue;
        const auto at = std::find(order.begin(), order.end(), l);
        const std::size_t start = static_cast<std::size_t>(at - order.begin());
        for (std::size_t k = 1; k < order.size(); ++k) {
            QWidget* next = order[(start + k) % order.size()];
            if (next->focusPolicy() != Qt::NoFocus) {
                l->setBuddy(next);
                break;
            }
        }
    }
    // Tab order is the template order.
    QWidget* prev = nullptr;
    for (QWidget* w : order) {
        if (w->focusPolicy() == Qt::NoFocus) continue;
        if (prev) setTabOrder(prev, w);
        prev = w;
    }
}

void DialogHost::Sync() {
    m_syncing = true;
    if (windowTitle() != Q(m_model.Caption())) setWindowTitle(Q(m_model.Caption()));
    for (const DialogControl& c : m_model.Controls()) {
        QWidget* w = Control(c.id);
        if (!w) continue;
        w->setEnabled(c.enabled);
        w->setHidden(!c.visible);
        switch (c.kind) {
        case ControlKind::Edit: {
            auto* e = static_cast<QLineEdit*>(w);
            const QString t = Q(c.text);
            if (e->text() != t) e->setText(t);
            break;
        }
        case ControlKind::Label:
        case ControlKind::Group: {
            const QString t = Q(c.text);
            if (auto* l = qobject_cast<QLabel*>(w); l && l->text() != t) l->setText(t);
            if (auto* g = qobject_cast<QGroupBox*>(w); g && g->title() != t) g->setTitle(t);
            break;
        }
        case ControlKind::Radio:
        case ControlKind::Check: static_cast<QAbstractButton*>(w)->setChecked(c.check != 0); break;
        case ControlKind::List: {
            auto* cb = static_cast<QComboBox*>(w);
            const auto shown = m_rowsShown.find(c.id);
            if (shown != m_rowsShown.end() ? shown->second != c.rowsVersion : c.rowsVersion != 0) {
                cb->clear();
                for (const std::string& item : c.items) cb->addItem(Q(item));
                m_rowsShown[c.id] = c.rowsVersion;
            }
            cb->setCurrentIndex(c.index);
            break;
        }
        case ControlKind::ListView: {
            auto* t = static_cast<QTreeWidget*>(w);
            const auto shown = m_rowsShown.find(c.id);
            if (shown == m_rowsShown.end() || shown->second != c.rowsVersion) FillRows(t, c);
            QTreeWidgetItem* current = c.index >= 0 ? t->topLevelItem(c.index) : nullptr;
            if (t->currentItem() != current) {
                t->setCurrentItem(current);
                if (!current) t->clearSelection();
            }
            if (current) t->scrollToItem(current);
            break;
        }
        default: break;
        }
    }
    m_syncing = false;
    bool selectAll = false;
    const int focus = m_model.TakeFocusRequest(&selectAll);
    if (QWidget* w = Control(focus)) {
        w->setFocus(Qt::OtherFocusReason);
        if (auto* e = qobject_cast<QLineEdit*>(w); e && selectAll) e->selectAll();
    }
}

void DialogHost::FillRows(QTreeWidget* tree, const DialogControl& c) {
    const QFont f = font();
    const int columns = std::max<int>(1, static_cast<int>(c.columns.size()));
    tree->setColumnCount(columns);
    QStringList titles;
    for (const ListColumn& col : c.columns) titles << Q(col.title);
    tree->setHeaderLabels(titles);
    // A list box's one column fills the box (its last section stretches).
    for (int k = 0; c.header && k < static_cast<int>(c.columns.size()); ++k)
        tree->setColumnWidth(k, DluToPixels(f, {0, 0, c.columns[static_cast<std::size_t>(k)].widthDlu, 0}).width());
    tree->clear();
    QList<QTreeWidgetItem*> items;
    for (const auto& cells : c.rows) {
        auto* item = new QTreeWidgetItem;
        for (int k = 0; k < columns && k < static_cast<int>(cells.size()); ++k)
            item->setText(k, Q(cells[static_cast<std::size_t>(k)]));
        items << item;
    }
    tree->addTopLevelItems(items);
    m_rowsShown[c.id] = c.rowsVersion;
}

template <class F> void DialogHost::Dispatch(F&& f) {
    // A message box shown by a handler takes the focus from the dialog; that focus loss
    // and any other event arriving meanwhile belong to the handler's own doing.
    if (m_dispatching || m_closing) return;
    m_dispatching = true;
    f();
    Sync();
    m_dispatching = false;
    if (const int result = m_model.Result()) {
        m_closing = true;
        QDialog::done(result);
    }
}

void DialogHost::accept() { Dispatch([this] { m_model.Click(IDOK); }); }

void DialogHost::reject() {
    if (m_closing) {
        QDialog::reject();
        return;
    }
    Dispatch([this] { m_model.Escape(); });
}

bool DialogHost::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // Every loss of the focus runs the rule, changed or not, except to a context menu.
        const auto* fe = static_cast<QFocusEvent*>(event);
        const int id = IdOf(watched);
        if (fe->reason() != Qt::PopupFocusReason && id != -1 && !m_dispatching && !m_closing) {
            // The edit finishes its own focus loss first (it drops its selection then), so
            // a rule that sends the focus back finds the edit ready to select its text.
            static_cast<QObject*>(watched)->event(event);
            Dispatch([this, id] { m_model.FocusOut(id); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DialogHost::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier)) {
        const int id = IdOf(focusWidget());
        Dispatch([this, id] { m_model.Enter(id); });
        return;
    }
    if (key == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace wv
