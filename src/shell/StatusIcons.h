#pragma once

#include "platform/statusitem/StatusItem.h"

#include <QImage>
#include <QString>

// The images of the tray item, drawn here because a tray can show text only as
// a label beside its icon: the countdown pill has to be a picture.
namespace app::statusicons {

// The countdown as a flame-coloured pill 16 pixels high, `leadingGap` pixels of
// empty room before it.
QImage pill(const QString& text, int leadingGap, qreal devicePixelRatio = 1.0);
// The calendar symbol for a tray on a desktop of the given scheme: in the dark
// appearance's text colour on a dark desktop, the light one's on a light desktop.
// The tray draws it as given, and a panel need not follow the desktop's scheme:
// an edge of the other tone keeps it readable on a panel of its own colour.
QImage calendarSymbol(bool darkDesktop, qreal devicePixelRatio = 1.0);

platform::StatusIcon toStatusIcon(const QImage& image);

}  // namespace app::statusicons
