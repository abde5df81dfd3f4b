#pragma once

#include <QProxyStyle>

// The desktop's style, but for the icons of the toolbar extension buttons: every toolbar asks
// for one when it is made, and the button shows only when the bar is too short for its buttons,
// which the window's fixed layout never lets happen. Those icons are decoded when first drawn.
class TVeskStyle : public QProxyStyle {
    Q_OBJECT

public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override;
};
