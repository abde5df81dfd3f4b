#include "ui/TFontDialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The style list in its order: bit 0 italic, bit 1 bold.
const char* const StyleNames[] = {"Normal", "Cursiva", "Negrita", "Negrita cursiva"};

constexpr QSize SwatchSize(40, 14);

} // namespace

TFontDialog::TFontDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FontDialog"));
    setWindowTitle(QStringLiteral("Fuente"));
    CreateLayout();
    SetColor(FColor);
    ShowSample();
}

void TFontDialog::CreateLayout() {
    FName = new QFontComboBox(this);
    FName->setObjectName(QStringLiteral("Name"));
    FSize = new QSpinBox(this);
    FSize->setObjectName(QStringLiteral("Size"));
    FSize->setRange(1, 999);
    FSize->setValue(10);
    FStyle = new QListWidget(this);
    FStyle->setObjectName(QStringLiteral("Style"));
    for (const char* name : StyleNames)
        FStyle->addItem(QString::fromUtf8(name));
    FStyle->setCurrentRow(0);
    FStyle->setFixedHeight(FStyle->sizeHintForRow(0) * 4 + 2 * FStyle->frameWidth());

    auto* effects = new QGroupBox(QStringLiteral("Efectos"), this);
    FStrikeOut = new QCheckBox(QStringLiteral("&Tachado"), effects);
    FStrikeOut->setObjectName(QStringLiteral("StrikeOut"));
    FUnderline = new QCheckBox(QStringLiteral("&Subrayado"), effects);
    FUnderline->setObjectName(QStringLiteral("Underline"));
    FColorButton = new QPushButton(effects);
    FColorButton->setObjectName(QStringLiteral("ColorButton"));
    FColorButton->setIconSize(SwatchSize);
    auto* colorLabel = new QLabel(QStringLiteral("&Color:"), effects);
    colorLabel->setBuddy(FColorButton);
    auto* effectsLayout = new QGridLayout(effects);
    effectsLayout->addWidget(FStrikeOut, 0, 0, 1, 2);
    effectsLayout->addWidget(FUnderline, 1, 0, 1, 2);
    effectsLayout->addWidget(colorLabel, 2, 0);
    effectsLayout->addWidget(FColorButton, 2, 1);

    auto* sample = new QGroupBox(QStringLiteral("Muestra"), this);
    FSample = new QLabel(QStringLiteral("AaBbYyZz"), sample);
    FSample->setObjectName(QStringLiteral("Sample"));
    FSample->setAlignment(Qt::AlignCenter);
    FSample->setFixedSize(200, 60);
    (new QVBoxLayout(sample))->addWidget(FSample);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole)
        ->setObjectName(QStringLiteral("OK"));
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Cancel"));
    QPushButton* apply =
        buttons->addButton(QStringLiteral("A&plicar"), QDialogButtonBox::ApplyRole);
    apply->setObjectName(QStringLiteral("Apply"));

    auto* layout = new QGridLayout(this);
    const auto addLabelled = [&](const char* caption, QWidget* field, int column) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(field);
        layout->addWidget(label, 0, column);
        layout->addWidget(field, 1, column, Qt::AlignTop);
    };
    addLabelled("&Fuente:", FName, 0);
    addLabelled("&Estilo:", FStyle, 1);
    addLabelled("Ta&maño:", FSize, 2);
    layout->addWidget(effects, 2, 0);
    layout->addWidget(sample, 2, 1, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 3);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(apply, &QPushButton::clicked, this, &TFontDialog::applied);
    connect(FColorButton, &QPushButton::clicked, this, &TFontDialog::ChooseColor);
    connect(FName, &QFontComboBox::currentFontChanged, this, &TFontDialog::ShowSample);
    connect(FSize, &QSpinBox::valueChanged, this, &TFontDialog::ShowSample);
    connect(FStyle, &QListWidget::currentRowChanged, this, &TFontDialog::ShowSample);
    connect(FUnderline, &QCheckBox::toggled, this, &TFontDialog::ShowSample);
    connect(FStrikeOut, &QCheckBox::toggled, this, &TFontDialog::ShowSample);
}

QFont TFontDialog::Font() const {
    QFont font = FName->currentFont();
    font.setPointSize(FSize->value());
    const int style = FStyle->currentRow();
    font.setItalic((style & 1) != 0);
    font.setBold((style & 2) != 0);
    font.setUnderline(FUnderline->isChecked());
    font.setStrikeOut(FStrikeOut->isChecked());
    return font;
}

void TFontDialog::SetFont(const QFont& font) {
    FName->setCurrentFont(font);
    FSize->setValue(font.pointSize() > 0 ? font.pointSize() : FSize->value());
    FStyle->setCurrentRow((font.italic() ? 1 : 0) | (font.bold() ? 2 : 0));
    FUnderline->setChecked(font.underline());
    FStrikeOut->setChecked(font.strikeOut());
}

void TFontDialog::SetColor(const QColor& color) {
    FColor = color;
    QPixmap swatch(SwatchSize);
    swatch.fill(color);
    FColorButton->setIcon(swatch);
    ShowSample();
}

void TFontDialog::ChooseColor() {
    const QColor color = QColorDialog::getColor(FColor, this, QStringLiteral("Color"));
    if (color.isValid())
        SetColor(color);
}

void TFontDialog::ShowSample() {
    FSample->setFont(Font());
    QPalette palette = FSample->palette();
    palette.setColor(QPalette::WindowText, FColor);
    FSample->setPalette(palette);
}
