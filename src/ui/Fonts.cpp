#include "ui/Fonts.h"

QFont SansFont(int pointSize, bool bold) {
    return QFont(QStringLiteral("Liberation Sans"), pointSize, bold ? QFont::Bold : QFont::Normal);
}

QFont MonoFont(int pointSize) {
    return QFont(QStringLiteral("Liberation Mono"), pointSize);
}
