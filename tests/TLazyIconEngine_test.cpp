#include "ui/ImageList.h"
#include "ui/TLazyIconEngine.h"
#include "ui/TVeskStyle.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

// The icon drawn at its own size; a missing file would draw nothing.
QImage Drawn(const QIcon& icon) {
    const QImage image = icon.pixmap(QSize(32, 32)).toImage();
    EXPECT_FALSE(image.isNull());
    return image;
}

} // namespace

TEST(TLazyIconEngine, MakesItsIconOnceAndOnlyWhenItIsDrawn) {
    int made = 0;
    const QIcon direct(QStringLiteral(":/icons/06-calc.png"));
    QIcon icon = LazyIcon([&] {
        ++made;
        return direct;
    });
    const QIcon copy = icon;
    EXPECT_FALSE(icon.isNull());
    EXPECT_EQ(made, 0);
    EXPECT_EQ(Drawn(icon), Drawn(direct));
    EXPECT_EQ(icon.actualSize(QSize(16, 16)), QSize(16, 16));
    EXPECT_EQ(Drawn(copy), Drawn(direct));
    EXPECT_EQ(made, 1);
}

TEST(TLazyIconEngine, ImageListIconsDrawAsTheirFiles) {
    EXPECT_EQ(Drawn(ImageListIcon(iiExit)), Drawn(QIcon(QStringLiteral(":/icons/00-exit.png"))));
    EXPECT_EQ(Drawn(ImageListIcon(iiSpreadsheet)),
              Drawn(QIcon(QStringLiteral(":/icons/16-spreadsheet.png"))));
    EXPECT_EQ(Drawn(WindowIcon()), Drawn(QIcon(QStringLiteral(":/icons/vesk.png"))));
}

TEST(TVeskStyle, ToolbarExtensionIconsDrawAsTheDesktopStyles) {
    const TVeskStyle style;
    for (const QStyle::StandardPixmap icon :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_DialogOkButton}) {
        const QImage expected = Drawn(style.baseStyle()->standardIcon(icon));
        EXPECT_EQ(Drawn(style.standardIcon(icon, nullptr, nullptr)), expected) << icon;
    }
}
