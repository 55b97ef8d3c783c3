#pragma once

#include <QLineEdit>
#include <functional>

namespace qv::designer {

// A one-line edit that reports focus moves after Qt has handled them and lets its owner
// refuse typed characters. Pasting is not typing and is never filtered.
class PageLineEdit final : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;

    std::function<bool(QChar)> acceptsTyped;
    std::function<void()> onFocusIn;
    std::function<void()> onFocusOut;
    // 0: no limit. Only typing is limited; text set by code may be longer.
    int typedLimit = 0;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace qv::designer
