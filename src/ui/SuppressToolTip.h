#pragma once

class QWidget;

// Shows no tooltip over the widget. A toolbar button takes its action's tooltip, which Qt fills
// with the action's caption when the action has none.
void SuppressToolTip(QWidget* widget);
