// The project view's small input dialogs: ground heights of a line or chain, a distance
// and an angle, one value, the coordinates of a survey point or of an output point, and
// one height. Several of them read the view's mode and picks, which they are given as the
// view's editing state; the two coordinate dialogs register points themselves and stay
// open for the next one.
#pragma once

#include "platform/dialog_model.h"

#include <functional>

namespace wv {

struct TikEditState;

class CGroundHeightDlg : public CDialogModel {
public:
    enum : int { kTypeHeight = 1002, kTypeValid = 1003, kTypeInvalid = 1004, kStart = 1089, kEnd = 1016 };
    explicit CGroundHeightDlg(const TikEditState* view);
    int m_nType = -1;
    double m_dHeightStart = 0.0;
    double m_dHeightEnd = 0.0;
    const TikEditState* m_pView;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnClicked(int id) override;

private:
    void EnableHeights(bool on);
    bool m_bLockStart = false;
    bool m_bLockEnd = false;
};

class CAngleDistDlg : public CDialogModel {
public:
    enum : int { kDistance = 1010, kAngle = 1011 };
    explicit CAngleDistDlg(const TikEditState* view);
    double m_dDistance = 0.0;
    double m_dAngle = 0.0;
    const TikEditState* m_pView;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnFocusOut(int id) override;
};

class CValueInputDlg : public CDialogModel {
public:
    enum : int { kValue = 1010, kLabel = 1016 };
    // The caption and the label follow the view's mode when the dialog is made.
    explicit CValueInputDlg(const TikEditState* view);
    double m_dValue = 0.0;
    const TikEditState* m_pView;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
};

// The X and Y edits of the two coordinate dialogs, in their edit form (OK, Cancel) or
// register form (登録, 閉じる).
class CCoordPairDlg : public CDialogModel {
public:
    bool IsEditForm() const { return m_bEdit; }
    double m_dX = 0.0;
    double m_dY = 0.0;
    const TikEditState* m_pView;
    // Register form: told after each point added (the view fits, redraws, marks modified).
    std::function<void()> m_onRegistered;

protected:
    CCoordPairDlg(int templateId, const char* caption, int idX, int idY, const TikEditState* view,
                  bool editForm);
    bool m_bEdit;
};

class CPointCoordDlg : public CCoordPairDlg {
public:
    enum : int { kX = 1010, kY = 1011 };
    // Mode 101 makes the edit form (OK closes); any other the register form.
    explicit CPointCoordDlg(const TikEditState* view);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnOK() override;

private:
    bool TakeEdits();
};

class CSansyutuCoordDlg : public CCoordPairDlg {
public:
    enum : int { kX = 1065, kY = 1066 };
    // Mode 143 makes the edit form; any other the register form.
    explicit CSansyutuCoordDlg(const TikEditState* view);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
    void OnOK() override;
};

class CHeightValueDlg : public CDialogModel {
public:
    enum : int { kHeight = 1015 };
    CHeightValueDlg();
    double m_dHeight = 0.0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnFocusOut(int id) override;
};

}  // namespace wv
