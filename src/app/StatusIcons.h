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
// The calendar symbol in the text colour of the appearance in effect.
QImage calendarSymbol(qreal devicePixelRatio = 1.0);

platform::StatusIcon toStatusIcon(const QImage& image);

}  // namespace app::statusicons
