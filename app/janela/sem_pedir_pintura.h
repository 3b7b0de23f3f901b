#pragma once
// Changing a widget without it asking to be painted: its caller paints what changed itself.
//
// A label asks to be painted whole when its text changes, and a progress bar repaints itself at
// once now and then when its value changes. The progress group changes after every copied row
// and paints exactly the part that changed, in one pass; the widgets' own requests would paint
// more (a label's last line reaches into the bar below it, which would be painted with it). While
// `mudar` runs, the widget's updates are blocked without the whole-widget repaint that
// setUpdatesEnabled(true) would ask for when they are enabled again.
//
// Qt reserves the attribute used for this to itself and offers no other way; what the widgets
// paint after a refresh is checked by the window's tests (a label and the bars beneath it
// painted only where the refresh asks), so a Qt that behaved otherwise would show there.
#include <QWidget>

namespace quorvel {

template <typename Mudar>
void SemPedirPintura(QWidget* widget, Mudar&& mudar) {
    if (!widget->updatesEnabled()) {
        mudar();
        return;
    }
    widget->setAttribute(Qt::WA_UpdatesDisabled, true);
    mudar();
    widget->setAttribute(Qt::WA_UpdatesDisabled, false);
}

}  // namespace quorvel
