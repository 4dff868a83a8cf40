#include "data_exchange.h"

#include "cp932_input.h"
#include "dialog_texts.h"
#include "text.h"

#include <climits>
#include <cmath>

namespace wv {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Replace(std::string s, const std::string& key, const std::string& value) {
    const auto p = s.find(key);
    if (p != std::string::npos) s.replace(p, key.size(), value);
    return s;
}

DialogMessage ExchangeMessage(std::string text) {
    return DialogMessage{std::move(text), msg::kExchangeCaption, MbIcon::Warning};
}

}  // namespace

void CDataExchange::Fail(int id, DialogMessage message) {
    if (Failed()) return;
    // Id 0 is no control; keep the failure visible anyway.
    m_failedId = id == 0 ? INT_MIN : id;
    m_message = std::move(message);
}

std::optional<int> ParseDialogInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool neg = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) neg = text[i++] == '-';
    long long v = 0;
    std::size_t digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        v = v * 10 + (text[i] - '0');
        if (v > 2147483648LL) return std::nullopt;  // no int, however many digits follow
        ++i;
        ++digits;
    }
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (digits == 0 || i != text.size()) return std::nullopt;
    if (neg) v = -v;
    if (v < INT_MIN || v > INT_MAX) return std::nullopt;
    return static_cast<int>(v);
}

double ParseDialogDouble(const std::string& text) {
    const double v = WinAtof(text);
    return std::isfinite(v) ? v : 0.0;
}

std::string FormatDialogDouble(double value, const char* fmt) {
    if (!std::isfinite(value)) value = 0.0;
    return Sprintf(fmt, value);
}

void ExchangeInt(CDataExchange& dx, int id, int& value) {
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        dx.Dialog().SetText(id, Sprintf("%d", value));
        return;
    }
    const auto v = ParseDialogInt(dx.Dialog().GetText(id));
    if (!v) {
        dx.Fail(id, ExchangeMessage(msg::kEnterInteger));
        return;
    }
    value = *v;
}

void ExchangeInt(CDataExchange& dx, int id, int& value, int lo, int hi) {
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        dx.Dialog().SetText(id, Sprintf("%d", value));
        return;
    }
    const auto v = ParseDialogInt(dx.Dialog().GetText(id));
    if (!v) {
        dx.Fail(id, ExchangeMessage(msg::kEnterInteger));
        return;
    }
    if (*v < lo || *v > hi) {
        std::string text = Replace(msg::kEnterIntegerRange, "%1", Sprintf("%d", lo));
        dx.Fail(id, ExchangeMessage(Replace(text, "%2", Sprintf("%d", hi))));
        return;
    }
    value = *v;
}

void ExchangeDouble(CDataExchange& dx, int id, double& value, const char* fmt) {
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        dx.Dialog().SetText(id, FormatDialogDouble(value, fmt));
        return;
    }
    value = ParseDialogDouble(dx.Dialog().GetText(id));
}

void ExchangeText(CDataExchange& dx, int id, std::string& cp932, int maxBytes) {
    if (dx.Failed()) return;
    CDialogModel& dlg = dx.Dialog();
    DialogControl* c = dlg.Find(id);
    if (!dx.IsSaving()) {
        const std::string shown = Cp932ToUtf8(cp932);
        dlg.SetText(id, shown);
        if (c) {
            c->byteLimit = maxBytes;
            c->loadedBytes = cp932;
            c->loadedText = shown;
            c->hasLoadedBytes = true;
        }
        return;
    }
    const std::string text = dlg.GetText(id);
    std::string bytes;
    if (c && c->hasLoadedBytes && text == c->loadedText) {
        bytes = c->loadedBytes;  // unchanged: the stored bytes, exactly
    } else {
        if (!IsCp932Text(text)) {
            dx.Fail(id, ExchangeMessage(msg::kTextNotCp932));
            return;
        }
        bytes = Utf8ToCp932(text);
    }
    if (maxBytes > 0 && static_cast<int>(bytes.size()) > maxBytes) {
        dx.Fail(id, ExchangeMessage(Replace(msg::kTextTooLong, "%1", Sprintf("%d", maxBytes))));
        return;
    }
    cp932 = bytes;
}

void ExchangeRadio(CDataExchange& dx, int groupId, int& index) {
    if (dx.Failed()) return;
    CDialogModel& dlg = dx.Dialog();
    const std::vector<int> group = dlg.RadioGroup(groupId);
    if (!dx.IsSaving()) {
        for (std::size_t i = 0; i < group.size(); ++i)
            dlg.SetCheck(group[i], static_cast<int>(i) == index ? 1 : 0);
        return;
    }
    index = -1;
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (dlg.GetCheck(group[i])) {
            index = static_cast<int>(i);
            break;
        }
    }
}

void ExchangeList(CDataExchange& dx, int id, int& index) {
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        dx.Dialog().SetIndex(id, index);
        return;
    }
    index = dx.Dialog().GetIndex(id);
}

void ExchangeCheck(CDataExchange& dx, int id, int& value) {
    if (dx.Failed()) return;
    if (!dx.IsSaving()) {
        dx.Dialog().SetCheck(id, value != 0 ? 1 : 0);
        return;
    }
    value = dx.Dialog().GetCheck(id) ? 1 : 0;
}

}  // namespace wv
