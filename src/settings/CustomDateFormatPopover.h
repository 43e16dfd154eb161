#pragma once

#include "design/widgets/AnchoredPopover.h"

class QLineEdit;

namespace app {
class AppSettings;
}
namespace design {
class ODButton;
class TextBlock;
}  // namespace design

namespace settings {

// The editor of the custom date pattern, a pop-over hanging from the date
// format button: the pattern in a monospaced field, the date in it as the tray
// will show it, a key to the pattern letters, Cancel and Use format. Only Use
// format (or Return) writes, and only a pattern the formatter takes.
class CustomDateFormatPopover : public design::AnchoredPopover {
    Q_OBJECT

public:
    static constexpr int kWidth = 300;

    // Starts from the stored pattern.
    explicit CustomDateFormatPopover(app::AppSettings& settings, QWidget* parent = nullptr);

    QLineEdit& patternField() const { return *m_field; }
    QString previewText() const;
    design::ODButton& useButton() const { return *m_use; }
    design::ODButton& cancelButton() const { return *m_cancel; }

    // Shown hanging from `anchor`, the pattern selected for typing over.
    void popUpUnder(QWidget* anchor);

signals:
    // It went, by Cancel, by use, or dismissed.
    void closed();

protected:
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void refresh();
    void use();

    app::AppSettings& m_settings;
    QLineEdit* m_field;
    design::TextBlock* m_preview;
    design::ODButton* m_cancel;
    design::ODButton* m_use;
};

}  // namespace settings
