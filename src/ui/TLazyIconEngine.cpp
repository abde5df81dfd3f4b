#include "ui/TLazyIconEngine.h"

#include <utility>

TLazyIconEngine::TLazyIconEngine(std::function<QIcon()> make) : FMake(std::move(make)) {}

void TLazyIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
                            QIcon::State state) {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap TLazyIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return Icon().pixmap(size, mode, state);
}

QPixmap TLazyIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                                      qreal scale) {
    return Icon().pixmap(size, scale, mode, state);
}

QSize TLazyIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) {
    return Icon().actualSize(size, mode, state);
}

QList<QSize> TLazyIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state) {
    return Icon().availableSizes(mode, state);
}

bool TLazyIconEngine::isNull() {
    return false;
}

QString TLazyIconEngine::key() const {
    return QStringLiteral("TLazyIconEngine");
}

QIconEngine* TLazyIconEngine::clone() const {
    return new TLazyIconEngine(*this);
}

const QIcon& TLazyIconEngine::Icon() {
    if (!FMade) {
        FIcon = FMake();
        FMade = true;
    }
    return FIcon;
}

QIcon LazyIcon(std::function<QIcon()> make) {
    return QIcon(new TLazyIconEngine(std::move(make)));
}
