#include "ui/TVeskStyle.h"

#include "ui/TLazyIconEngine.h"

#include <QPointer>

QIcon TVeskStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                               const QWidget* widget) const {
    if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(icon, option, widget);
    // The option and the widget may be gone when the icon is first drawn; these two icons
    // depend on neither but the layout direction, which the application gives.
    const QPointer<QStyle> base(baseStyle());
    return LazyIcon([base, icon] { return base ? base->standardIcon(icon) : QIcon(); });
}
