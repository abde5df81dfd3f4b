#pragma once

#include <QFont>

// Liberation Sans and Liberation Mono stand in, metric for metric, for the window's fonts.
QFont SansFont(int pointSize, bool bold);
QFont MonoFont(int pointSize);
