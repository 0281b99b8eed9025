#pragma once

class QWidget;

namespace lobex {

// Centres a small window over the main window, 20 pixels (300 twips) below its centre.
void PlaceOverMainWindow(QWidget& window, const QWidget* mainWindow);

} // namespace lobex
