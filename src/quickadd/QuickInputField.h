#pragma once

#include "design/widgets/ODTextField.h"
#include "quickadd/QuickCreateModel.h"

#include <QString>

#include <vector>

namespace quickadd {

// The line of the quick-add screen: the kit's one-line field, with the parts
// of the line that were recognised coloured in place (the text itself is never
// changed) and its beginning cut away when it is too long to show whole.
class QuickInputField : public design::ODTextField {
    Q_OBJECT

public:
    explicit QuickInputField(QWidget* parent = nullptr);

    // Colours the ranges when `text` is what the field holds; for another text
    // (an edit not taken in yet) it colours nothing. A range running past the
    // end of the text is left out, the others still apply.
    void setHighlights(const QString& text, const std::vector<QuickCreateModel::Highlight>& highlights);
    // The ranges coloured now.
    const std::vector<QuickCreateModel::Highlight>& appliedHighlights() const { return m_applied; }

private:
    void applyFormats();

    std::vector<QuickCreateModel::Highlight> m_applied;
};

}  // namespace quickadd
