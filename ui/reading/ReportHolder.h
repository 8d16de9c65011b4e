#pragma once

#include <QString>
#include <string>

namespace soten::ui {

// `reportHolder`: the report of the last reading, kept as the code page 932 bytes
// the reading produced (CR LF line ends included) and never shown. Save As
// writes these bytes unchanged; Copy hands them over as Unicode.
class ReportHolder {
public:
    void Clear() { text_.clear(); }
    void SetText(std::string text) { text_ = std::move(text); }
    const std::string& Text() const { return text_; }
    QString UnicodeText() const;

private:
    std::string text_;
};

}  // namespace soten::ui
