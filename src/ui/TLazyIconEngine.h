#pragma once

#include <QIcon>
#include <QIconEngine>

#include <functional>

// An icon that is made when it is first drawn or measured, not when it is handed out: most of
// the window's icons are not on screen at start, and decoding them all slowed the start-up.
class TLazyIconEngine : public QIconEngine {
public:
    explicit TLazyIconEngine(std::function<QIcon()> make);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    // Only icons that exist are made lazily, so answering needs no decoding.
    bool isNull() override;
    QString key() const override;
    QIconEngine* clone() const override;

private:
    const QIcon& Icon();

    std::function<QIcon()> FMake;
    QIcon FIcon;
    bool FMade = false;
};

// An icon of TLazyIconEngine.
QIcon LazyIcon(std::function<QIcon()> make);
