#include "ui/ImageList.h"

#include <QIconEngine>

#include <array>
#include <utility>

namespace {

const std::array<const char*, ImageListCount> IconFiles = {
    "00-exit",  "01-sheet",  "02-open", "03-note",   "04-result",     "05-model",
    "06-calc",  "07-print",  "08-bold", "09-italic", "10-font",       "11-save",
    "12-table", "13-cancel", "14-edit", "15-post",   "16-spreadsheet"};

// An icon that decodes its file when it is first drawn or measured: most of the window's icons
// are not on screen at start, and decoding all of them is a large part of the start-up.
class TFileIconEngine : public QIconEngine {
public:
    explicit TFileIconEngine(QString path) : FPath(std::move(path)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    // Every file of the image list exists, so the icon is never null; answering so decodes nothing.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("TFileIconEngine"); }
    QIconEngine* clone() const override { return new TFileIconEngine(*this); }

private:
    const QIcon& Icon() {
        if (FIcon.isNull())
            FIcon = QIcon(FPath);
        return FIcon;
    }

    QString FPath;
    QIcon FIcon;
};

QIcon ResourceIcon(const char* name) {
    return QIcon(new TFileIconEngine(QStringLiteral(":/icons/%1.png").arg(QLatin1String(name))));
}

} // namespace

QIcon ImageListIcon(int index) {
    return ResourceIcon(IconFiles.at(index));
}

QIcon WindowIcon() {
    return ResourceIcon("vesk");
}
