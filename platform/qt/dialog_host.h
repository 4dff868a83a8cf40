// The QDialog that shows a CDialogModel. It builds one widget per control of the model's
// template (object name "c<id>"), places them by converting dialog units through the
// dialog font's metrics, passes every event on to the model and mirrors the model's
// state back on the widgets. It holds no logic of its own.
#pragma once

#include "platform/dialog_model.h"

#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <map>

class QTreeWidget;
class QValidator;

namespace wv {

class DialogHost : public QDialog {
    Q_OBJECT
public:
    // Builds the widgets and runs the model's OnInitDialog. The model outlives the host.
    explicit DialogHost(CDialogModel& model, QWidget* parent = nullptr);
    // Stops passing events on first: the widgets lose their focus while they go.
    ~DialogHost() override;

    CDialogModel& Model() { return m_model; }
    // The widget of a control, or nullptr (labels without an id have none to look up).
    QWidget* Control(int id) const;
    // Draws a picture control.
    void SetPicture(int id, const QPixmap& picture);
    // Copies the model's state on the widgets and hands on a focus request.
    void Sync();

    // The font that stands for "ＭＳ Ｐゴシック": an installed Japanese proportional
    // gothic at the given size.
    static QFont DialogFont(int points = 9);
    // Dialog units to pixels for `font`, the way Windows derives its base units: the
    // average width of the 52 Latin letters and the font's height.
    static QRect DluToPixels(const QFont& font, const DluRect& r);

public slots:
    void accept() override;
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Build();
    // Runs one model event, then syncs and closes the dialog when the model has ended.
    template <class F> void Dispatch(F&& f);
    int IdOf(QObject* o) const;
    void FillRows(QTreeWidget* tree, const DialogControl& c);

    CDialogModel& m_model;
    std::map<int, QWidget*> m_widgets;
    bool m_dispatching = false;
    bool m_syncing = false;
    bool m_closing = false;
    // Per list view, the row version its widget shows.
    std::map<int, unsigned> m_rowsShown;
};

}  // namespace wv
