#include "design/widgets/PopupMenu.h"

#include "design/widgets/ODFont.h"

#include <QCursor>

namespace design {

std::unique_ptr<KitMenu> PopupMenu::build(const std::vector<PopupMenuItem>& items) {
    auto menu = std::make_unique<KitMenu>(KitMenu::Look{ODFont::system(13), KitMenu::Swatch::dot, std::nullopt});
    for (const PopupMenuItem& item : items) {
        if (item.isSeparator) {
            menu->addSeparator();
            continue;
        }
        menu->addRow(MenuRow{item.title, std::nullopt, item.color, item.checked, true}, item.action);
    }
    return menu;
}

void PopupMenu::show(const std::vector<PopupMenuItem>& items) {
    const std::unique_ptr<KitMenu> menu = build(items);
    menu->run(QCursor::pos());
}

}  // namespace design
