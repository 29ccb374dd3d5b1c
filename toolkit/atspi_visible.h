// The "visible" state notice for AT-SPI readers, which Qt's bridge does not send itself.
#pragma once

class QWidget;

namespace tk {

// Tells AT-SPI readers that the widget's "visible" state changed. Does nothing while no reader
// listens; warns once if a reader listens but Qt's bridge connection cannot be found.
void send_visible(QWidget& widget, bool visible);

} // namespace tk
