// Exchange between a dialog's members and its controls, in both directions. A dialog's
// DoDataExchange calls one Exchange* per member in its fixed order; when saving, the
// first control that refuses its text stops the exchange: the members before it have
// their new values, the later ones keep their old ones (every later call does nothing).
// The rules, with their messages, are in docs/dialogs.md.
#pragma once

#include "platform/dialog_model.h"

#include <optional>
#include <string>

namespace wv {

class CDataExchange {
public:
    CDataExchange(CDialogModel& dlg, bool saveAndValidate) : m_dlg(dlg), m_bSaveAndValidate(saveAndValidate) {}

    CDialogModel& Dialog() { return m_dlg; }
    bool IsSaving() const { return m_bSaveAndValidate; }
    // True once a control has refused its text: every later exchange call does nothing.
    bool Failed() const { return m_failedId != 0; }
    int FailedId() const { return m_failedId; }
    const DialogMessage& Message() const { return m_message; }
    // Stops the exchange at control `id` with the message to show.
    void Fail(int id, DialogMessage message);

private:
    CDialogModel& m_dlg;
    bool m_bSaveAndValidate;
    int m_failedId = 0;
    DialogMessage m_message;
};

// Integers: blanks, an optional sign, digits, blanks, within int. Anything else fails
// with 「整数を入力してください。」.
void ExchangeInt(CDataExchange& dx, int id, int& value);
// As ExchangeInt, then outside [lo, hi] fails with 「lo から hi までの整数を入力してください。」.
void ExchangeInt(CDataExchange& dx, int id, int& value, int lo, int hi);
// Doubles: written with `fmt`; read with the Windows `atof` (no number gives 0, a value
// that is not finite gives 0). Never fails.
void ExchangeDouble(CDataExchange& dx, int id, double& value, const char* fmt);
// Text held as CP932 bytes (as the records hold it). Loading shows it whole and sets the
// edit's byte limit (0 = none); saving refuses a text over the limit with
// 「n バイト（全角は 2 バイト）以内で入力してください。」 and a character outside CP932.
void ExchangeText(CDataExchange& dx, int id, std::string& cp932, int maxBytes = 0);
// Radio group (any button's id names it): the index of the checked button in tab order,
// -1 for none, in both directions.
void ExchangeRadio(CDataExchange& dx, int groupId, int& index);
// Drop-down list: the selected index; list view or list box: the current row; -1 for
// none, in both directions.
void ExchangeList(CDataExchange& dx, int id, int& index);
// Check box: 0 or 1 (any non-zero member checks it).
void ExchangeCheck(CDataExchange& dx, int id, int& value);

// The readers behind the exchange, for handlers that read a control on their own.
// An integer text, or nothing.
std::optional<int> ParseDialogInt(const std::string& text);
// The Windows `atof` of the text, 0 when that is not a finite number.
double ParseDialogDouble(const std::string& text);
// A double written with a printf format in the "C" locale; a value that is not finite
// is written as 0.
std::string FormatDialogDouble(double value, const char* fmt);

}  // namespace wv
