#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>

class QCheckBox;
class QSpinBox;
class QFontComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// A font dialog with its effects (colour, underline, strike-out) and an Apply button. It keeps
// the font and colour last chosen in it between uses; it starts with the regular style.
class TFontDialog : public QDialog {
    Q_OBJECT

public:
    explicit TFontDialog(QWidget* parent = nullptr);

    // Name, size in whole points, style, underline and strike-out as chosen.
    QFont Font() const;
    void SetFont(const QFont& font);
    QColor Color() const { return FColor; }
    void SetColor(const QColor& color);

signals:
    // The Apply button was pressed; the dialog stays open.
    void applied();

private:
    void CreateLayout();
    void ChooseColor();
    void ShowSample();

    QFontComboBox* FName;
    QSpinBox* FSize;
    QListWidget* FStyle;
    QCheckBox* FUnderline;
    QCheckBox* FStrikeOut;
    QPushButton* FColorButton;
    QLabel* FSample;
    QColor FColor = Qt::black;
};
