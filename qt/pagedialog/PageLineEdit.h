// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>
#include <functional>

namespace qv::pagedialog {

// A one-line edit that reports focus moves, with their reasons, after Qt has handled them,
// lets its owner refuse typed characters, and limits what the user enters to a length.
class PageLineEdit final : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

    // 0: no limit. Typing, pasting and dropping stop at the limit; a longer text set by code
    // keeps its length, and the user may shorten it.
    void SetLengthLimit(int limit);
    // Sets the text as code does: never cut to the limit.
    void ShowText(const QString& text);

    // Typed characters only: pasting is not typing and is never filtered.
    std::function<bool(QChar)> acceptsTyped;
    std::function<void(Qt::FocusReason)> onFocusIn;
    std::function<void(Qt::FocusReason)> onFocusOut;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void FitLimitToText();

    int limit_ = 0;
};

}  // namespace qv::pagedialog
